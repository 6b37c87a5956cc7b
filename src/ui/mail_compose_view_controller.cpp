#include "ui/mail_compose_view_controller.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUuid>
#include <QVBoxLayout>

#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "ui/overlay_panel.h"
#include "ui/style.h"

namespace lumigrave::ui {

namespace {

const char* const kButtonTitles[] = {"Cancel", "Send", "Open in Mail App"};

// Draft names say when they were saved; a name taken already gets " 2", " 3"...
QString freeDraftPath(const QString& directory) {
    const QString stem = QStringLiteral("Draft ") + QDateTime::currentDateTime().toString(
                                                        QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    QString path = QDir(directory).filePath(stem + QStringLiteral(".eml"));
    for (int n = 2; QFile::exists(path); ++n) {
        path = QDir(directory).filePath(QStringLiteral("%1 %2.eml").arg(stem).arg(n));
    }
    return path;
}

}  // namespace

MailComposeViewController::MailComposeViewController() : Presentation(true) {}

MailComposeViewController::~MailComposeViewController() {
    if (draftSheet_) {
        draftSheet_->setDelegate(nullptr);
    }
}

bool MailComposeViewController::canSendMail() {
    return !MailTransport::sendmailProgram().isEmpty();
}

void MailComposeViewController::setToRecipients(const QStringList& recipients) {
    message_.toRecipients = recipients;
    if (to_) {
        to_->setText(recipients.join(QStringLiteral(", ")));
    }
}

void MailComposeViewController::setSubject(const QString& subject) {
    message_.subject = subject;
    if (subject_) {
        subject_->setText(subject);
    }
}

void MailComposeViewController::setMessageBody(const QString& body, bool isHTML) {
    message_.body = body;
    message_.bodyIsHTML = isHTML;
    if (body_) {
        body_->setPlainText(body);
    }
}

void MailComposeViewController::addAttachmentData(const QByteArray& data, const QString& mimeType,
                                                  const QString& fileName) {
    message_.attachments.append({data, mimeType, fileName});
}

MailMessage MailComposeViewController::message() const {
    MailMessage message = message_;
    if (to_) {
        message.toRecipients.clear();
        for (const QString& address : to_->text().split(u',', Qt::SkipEmptyParts)) {
            if (!address.trimmed().isEmpty()) {
                message.toRecipients.append(address.trimmed());
            }
        }
    }
    if (subject_) {
        message.subject = subject_->text();
    }
    if (body_) {
        message.body = body_->toPlainText();
    }
    return message;
}

QString MailComposeViewController::byteSizeText(qint64 bytes) {
    if (bytes < 1024) {
        return QStringLiteral("%1 bytes").arg(bytes);
    }
    if (bytes < 1024 * 1024) {
        return QStringLiteral("%1 KB").arg((bytes + 512) / 1024);
    }
    return QStringLiteral("%1 MB").arg(QLocale::c().toString(bytes / (1024.0 * 1024.0), 'f', 1));
}

int MailComposeViewController::numberOfButtons() const {
    return MailTransport::mailAppProgram().isEmpty() ? 2 : 3;
}

QString MailComposeViewController::buttonTitleAtIndex(int index) const {
    return index >= 0 && index < numberOfButtons() ? QString::fromLatin1(kButtonTitles[index])
                                                   : QString();
}

QWidget* MailComposeViewController::buildPanel() {
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("mailComposePanel"));
    panel->setStyleSheet(style::mailComposePanelStyleSheet());
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 8);

    auto* bar = new QFrame(panel);
    bar->setObjectName(QStringLiteral("mailComposeBar"));
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(6, 4, 6, 4);
    auto* title = new QLabel(
        message_.subject.isEmpty() ? QStringLiteral("New Message") : message_.subject, bar);
    title->setObjectName(QStringLiteral("mailComposeTitle"));
    title->setAlignment(Qt::AlignCenter);
    const int count = numberOfButtons();
    for (int index = 0; index < count; ++index) {
        auto* button = new QPushButton(QString::fromLatin1(kButtonTitles[index]));
        button->setObjectName(buttonObjectName(index));
        button->setStyleSheet(style::panelButtonStyleSheet(
            index == kCancelButton ? ButtonRole::Cancel : ButtonRole::Normal));
        buttons_[index] = button;
    }
    connect(buttons_[kCancelButton].data(), &QPushButton::clicked, this,
            [this] { cancelPressed(); });
    connect(buttons_[kSendButton].data(), &QPushButton::clicked, this, [this] { sendPressed(); });
    barLayout->addWidget(buttons_[kCancelButton]);
    barLayout->addWidget(title, 1);
    barLayout->addWidget(buttons_[kSendButton]);
    layout->addWidget(bar);

    auto* form = new QFormLayout;
    form->setContentsMargins(8, 4, 8, 0);
    to_ = new QLineEdit(message_.toRecipients.join(QStringLiteral(", ")), panel);
    to_->setObjectName(QStringLiteral("to"));
    subject_ = new QLineEdit(message_.subject, panel);
    subject_->setObjectName(QStringLiteral("subject"));
    form->addRow(QStringLiteral("To:"), to_);
    form->addRow(QStringLiteral("Subject:"), subject_);
    layout->addLayout(form);
    connect(to_.data(), &QLineEdit::textChanged, this, [this] { updateSendEnabled(); });
    connect(subject_.data(), &QLineEdit::textChanged, title, [title](const QString& text) {
        title->setText(text.isEmpty() ? QStringLiteral("New Message") : text);
    });

    body_ = new QPlainTextEdit(panel);
    body_->setObjectName(QStringLiteral("body"));
    body_->setPlainText(message_.body);
    layout->addWidget(body_, 1);

    for (int i = 0; i < message_.attachments.size(); ++i) {
        const MailAttachment& attachment = message_.attachments[i];
        auto* label = new QLabel(QStringLiteral("%1 (%2)").arg(
                                     attachment.fileName, byteSizeText(attachment.data.size())),
                                 panel);
        label->setObjectName(QStringLiteral("attachment%1").arg(i));
        label->setContentsMargins(8, 0, 8, 0);
        layout->addWidget(label);
    }
    status_ = new QLabel(panel);
    status_->setObjectName(QStringLiteral("status"));
    status_->setContentsMargins(8, 0, 8, 0);
    status_->hide();
    layout->addWidget(status_);
    if (count > kMailAppButton) {
        connect(buttons_[kMailAppButton].data(), &QPushButton::clicked, this,
                [this] { mailAppPressed(); });
        buttons_[kMailAppButton]->setParent(panel);
        layout->addWidget(buttons_[kMailAppButton], 0, Qt::AlignHCenter);
    }
    updateSendEnabled();
    return panel;
}

void MailComposeViewController::presentFrom(QWidget* view, bool animated) {
    if (isPresented()) {
        return;
    }
    if (!presentPanel(hostWindowFor(view), buildPanel(), Placement::Fill, 0, Modality::Modal,
                      animated, {}, QStringLiteral("The mail composer"))) {
        releaseUnshown();
        return;
    }
    (message_.toRecipients.isEmpty() ? static_cast<QWidget*>(to_) : body_.data())->setFocus();
}

void MailComposeViewController::dismissModalViewControllerAnimated(bool) {
    dismissPresentation(result_);
}

void MailComposeViewController::updateSendEnabled() {
    if (buttons_[kSendButton] && to_) {
        buttons_[kSendButton]->setEnabled(!to_->text().trimmed().isEmpty() && !transport_.isBusy());
    }
}

void MailComposeViewController::setBusy(const QString& status) {
    for (const QPointer<QPushButton>& button : buttons_) {
        if (button) {
            button->setEnabled(status.isEmpty());
        }
    }
    if (status_) {
        status_->setText(status);
        status_->setVisible(!status.isEmpty());
    }
    if (status.isEmpty()) {
        updateSendEnabled();
    }
}

void MailComposeViewController::escapePressed() {
    if (!transport_.isBusy()) {
        cancelPressed();
    }
}

void MailComposeViewController::cancelPressed() {
    if (draftSheet_) {
        return;
    }
    auto* sheet = new ActionSheet(QString(), this, QStringLiteral("Cancel"),
                                  QStringLiteral("Delete Draft"), {QStringLiteral("Save Draft")});
    draftSheet_ = sheet;
    sheet->showInView(panel());
}

void MailComposeViewController::didDismissWithButtonIndex(ActionSheet& sheet, int buttonIndex) {
    if (buttonIndex == sheet.cancelButtonIndex() || buttonIndex < 0) {
        return;
    }
    if (buttonIndex == sheet.destructiveButtonIndex()) {
        finishWithResult(kResultCancelled, QString());
    } else {
        saveDraft();
    }
}

void MailComposeViewController::saveDraft() {
    const QString directory = Paths::mailDraftsDirectory();
    if (directory.isEmpty()) {
        finishWithResult(kResultFailed,
                         QStringLiteral("The draft could not be saved: the folder for drafts "
                                        "cannot be created."));
        return;
    }
    const MailMessage draft = message();
    const QByteArray text =
        composeMimeMessage(draft, QDateTime::currentDateTime(), boundaryFor(draft), "\r\n");
    QString error;
    const bool saved = writeFileAtomically(
        freeDraftPath(directory),
        [&text](QIODevice& file, QString* writeError) {
            if (file.write(text) != text.size()) {
                *writeError = file.errorString();
                return false;
            }
            return true;
        },
        &error);
    if (!saved) {
        finishWithResult(kResultFailed,
                         QStringLiteral("The draft could not be saved: %1").arg(error));
        return;
    }
    finishWithResult(kResultSaved, QString());
}

void MailComposeViewController::sendPressed() {
    const MailMessage outgoing = message();
    if (outgoing.toRecipients.isEmpty()) {
        return;
    }
    setBusy(QStringLiteral("Sending..."));
    const QByteArray text =
        composeMimeMessage(outgoing, QDateTime::currentDateTime(), boundaryFor(outgoing), "\n");
    transport_.send(text, [this](bool sent, const QString& error) {
        setBusy(QString());
        if (sent) {
            finishWithResult(kResultSent, QString());
        } else {
            finishWithResult(kResultFailed, error);
        }
    });
}

void MailComposeViewController::mailAppPressed() {
    const QString caches = Paths::cachesDirectory();
    if (caches.isEmpty()) {
        finishWithResult(kResultFailed,
                         QStringLiteral("The attachments could not be written for the mail "
                                        "application."));
        return;
    }
    // The mail application reads the files after we hand over: each message its own folder.
    const QString folder = QDir(caches).filePath(
        QStringLiteral("Outgoing/") + QUuid::createUuid().toString(QUuid::WithoutBraces));
    setBusy(QStringLiteral("Opening the mail application..."));
    transport_.openInMailApp(message(), folder, [this](bool opened, const QString& error) {
        setBusy(QString());
        if (opened) {
            finishWithResult(kResultSaved, QString());
        } else {
            finishWithResult(kResultFailed, error);
        }
    });
}

void MailComposeViewController::finishWithResult(int result, const QString& error) {
    result_ = result;
    if (result == kResultFailed && !error.isNull()) {
        qWarning("The mail composer failed: %s", qPrintable(error));
    }
    if (delegate_ != nullptr) {
        delegate_->mailComposeController(*this, result, error);
    } else {
        dismissModalViewControllerAnimated(true);
    }
}

}  // namespace lumigrave::ui
