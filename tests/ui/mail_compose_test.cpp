// The mail composer: sending through msmtp to a fake SMTP server, refusals and a missing
// transport, the draft sheet, drafts on disk and the hand-over to the mail application.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <memory>

#include "platform/mail_transport.h"
#include "support/fake_smtp_server.h"
#include "support/mime_parts.h"
#include "support/temp_home.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/mail_compose_view_controller.h"
#include "ui/on_screen.h"
#include "ui/window.h"

namespace lumigrave::ui {
namespace {

using lumigrave::test::ManualScheduler;
using test::eventually;
using test::settle;
using Composer = MailComposeViewController;

QByteArray pngOf(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

QImage testPicture() {
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x * 6, y * 8, 128));
        }
    }
    return image;
}

// A shell script in the home that stands in for a command.
QString writeScript(const QString& path, const QByteArray& body) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + body) < 0) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
    }
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

struct Recorder : Composer::Delegate {
    QList<int> results;
    QStringList errors;
    void mailComposeController(Composer& controller, int result, const QString& error) override {
        results.append(result);
        errors.append(error);
        controller.dismissModalViewControllerAnimated(true);
    }
};

class MailComposeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = std::make_unique<lumigrave::test::TempHome>();
        window_ = std::make_unique<Window>();
        window_->resize(320, 480);
        window_->show();
        settle();
        ASSERT_TRUE(server_.listen());
        QString error;
        ASSERT_TRUE(server_.writeMsmtpConfig(home_->path(), &error)) << error.toStdString();
        const QString msmtp = lumigrave::test::FakeSmtpServer::msmtpProgram();
        ASSERT_FALSE(msmtp.isEmpty()) << "msmtp is missing: scripts/setup.sh installs it";
        MailTransport::setSendmailProgram(msmtp);
        // No desktop mail application unless a test gives one.
        MailTransport::setMailAppProgram(home_->filePath("no-xdg-email"));
    }
    void TearDown() override {
        window_.reset();
        settle();
        MailTransport::setSendmailProgram({});
        MailTransport::setMailAppProgram({});
        EXPECT_TRUE(OnScreen::all<Composer>().isEmpty());
        EXPECT_TRUE(OnScreen::all<ActionSheet>().isEmpty());
    }

    QPointer<Composer> present(bool withDelegate = true) {
        auto* composer = new Composer;
        if (withDelegate) {
            composer->setMailComposeDelegate(&recorder_);
        }
        composer->setToRecipients({QStringLiteral("friend@example.test")});
        composer->setSubject(QStringLiteral("Photo Sharing"));
        composer->setMessageBody(QStringLiteral("\nCreated by Lumigrave."), false);
        composer->addAttachmentData(picture_, QStringLiteral("image/png"),
                                    QStringLiteral("Lumigrave"));
        composer->presentFrom(window_.get(), false);
        settle();
        return composer;
    }

    // Presses a composer's button and lets the loop run until the delegate hears back.
    void pressAndWait(Composer& composer, int button) {
        const qsizetype before = recorder_.results.size();
        ASSERT_TRUE(OnScreen::pressButton(composer, button));
        ASSERT_TRUE(eventually([&] { return recorder_.results.size() > before; }, 20000))
            << "the composer never finished";
        settle();
    }

    // Answers the draft sheet Cancel brings up with the button titled so.
    void answerDraftSheet(Composer& composer, const QString& title) {
        ASSERT_TRUE(OnScreen::pressButton(composer, Composer::kCancelButton));
        settle();
        ActionSheet* sheet = OnScreen::top<ActionSheet>();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(OnScreen::buttonTitles(*sheet),
                  QStringList({"Delete Draft", "Save Draft", "Cancel"}));
        const int index = int(OnScreen::buttonTitles(*sheet).indexOf(title));
        ASSERT_TRUE(OnScreen::pressButton(*sheet, index));
        settle();
    }

    QStringList drafts() const {
        return QDir(home_->filePath("Documents/Lumigrave/Drafts"))
            .entryList({QStringLiteral("*.eml")}, QDir::Files);
    }

    std::unique_ptr<lumigrave::test::TempHome> home_;
    std::unique_ptr<Window> window_;
    lumigrave::test::FakeSmtpServer server_;
    Recorder recorder_;
    QByteArray picture_ = pngOf(testPicture());
};

TEST_F(MailComposeTest, ShowsTheMessageWithItsAttachmentNameAndSize) {
    QPointer<Composer> composer = present();
    ASSERT_TRUE(composer && composer->isPresented());
    QWidget* panel = composer->panel();
    EXPECT_EQ(panel->findChild<QLineEdit*>("to")->text(), "friend@example.test");
    EXPECT_EQ(panel->findChild<QLineEdit*>("subject")->text(), "Photo Sharing");
    EXPECT_EQ(panel->findChild<QPlainTextEdit*>("body")->toPlainText(), "\nCreated by Lumigrave.");
    EXPECT_EQ(panel->findChild<QLabel*>("attachment0")->text(),
              QStringLiteral("Lumigrave (%1)").arg(Composer::byteSizeText(picture_.size())));
    // The whole window is covered, and without xdg-email there is no hand-over.
    EXPECT_EQ(panel->size(), window_->size());
    EXPECT_EQ(OnScreen::buttonTitles(*composer), QStringList({"Cancel", "Send"}));
    // Nothing can be sent to nobody.
    panel->findChild<QLineEdit*>("to")->clear();
    EXPECT_FALSE(OnScreen::pressButton(*composer, Composer::kSendButton));
    EXPECT_TRUE(recorder_.results.isEmpty());
    composer->dismissModalViewControllerAnimated(false);
}

TEST_F(MailComposeTest, SizesReadAsPeopleWriteThem) {
    EXPECT_EQ(Composer::byteSizeText(0), "0 bytes");
    EXPECT_EQ(Composer::byteSizeText(1023), "1023 bytes");
    EXPECT_EQ(Composer::byteSizeText(1024), "1 KB");
    EXPECT_EQ(Composer::byteSizeText(1536), "2 KB");
    EXPECT_EQ(Composer::byteSizeText(1024 * 1024), "1.0 MB");
    EXPECT_EQ(Composer::byteSizeText(1468006), "1.4 MB");
}

TEST_F(MailComposeTest, SendsThroughMsmtpToTheServer) {
    QPointer<Composer> composer = present();
    QWidget* panel = composer->panel();
    panel->findChild<QLineEdit*>("to")->setText("a@example.test, b@example.test");
    // Plain ASCII goes as it stands, so the dots reach SMTP: a lone one must not end the
    // input (-i), and a leading one is doubled on the wire and undone by the server.
    panel->findChild<QPlainTextEdit*>("body")->setPlainText(
        ".a line that starts with a dot\n.\nend");
    pressAndWait(*composer, Composer::kSendButton);

    EXPECT_EQ(recorder_.results, QList<int>({Composer::kResultSent}));
    EXPECT_TRUE(recorder_.errors.first().isNull());
    EXPECT_TRUE(composer.isNull() || !composer->isPresented());
    ASSERT_EQ(server_.messages().size(), 1);
    const auto& received = server_.messages().first();
    EXPECT_EQ(received.recipients, QStringList({"<a@example.test>", "<b@example.test>"}));
    const lumigrave::test::MimePart message = lumigrave::test::parseMime(received.data);
    EXPECT_EQ(lumigrave::test::decodeHeader(message.header("subject")), "Photo Sharing");
    ASSERT_EQ(message.contentType(), "multipart/mixed");
    ASSERT_EQ(message.parts.size(), 2);
    EXPECT_EQ(message.parts[0].contentType(), "text/plain");
    EXPECT_EQ(message.parts[0].header("content-transfer-encoding"), "7bit");
    EXPECT_EQ(message.parts[0].body, ".a line that starts with a dot\n.\nend");
    EXPECT_EQ(message.parts[1].contentType(), "image/png");
    EXPECT_EQ(message.parts[1].parameter("content-disposition", "filename"), "Lumigrave");
    EXPECT_EQ(message.parts[1].body, picture_);
}

TEST_F(MailComposeTest, ARefusalByTheServerFailsWithMsmtpsMessage) {
    server_.refuseRecipientsWith("550 5.1.1 No such user here");
    QPointer<Composer> composer = present();
    pressAndWait(*composer, Composer::kSendButton);
    EXPECT_EQ(recorder_.results, QList<int>({Composer::kResultFailed}));
    EXPECT_TRUE(recorder_.errors.first().contains("No such user here"))
        << recorder_.errors.first().toStdString();
    EXPECT_TRUE(server_.messages().isEmpty());
}

TEST_F(MailComposeTest, WithoutAMailTransportSendingFailsAndSaysSo) {
    MailTransport::setSendmailProgram(home_->filePath("sbin/sendmail"));
    EXPECT_FALSE(Composer::canSendMail());
    QPointer<Composer> composer = present();
    pressAndWait(*composer, Composer::kSendButton);
    EXPECT_EQ(recorder_.results, QList<int>({Composer::kResultFailed}));
    EXPECT_EQ(recorder_.errors, QStringList({MailTransport::noTransportMessage()}));
    EXPECT_TRUE(
        recorder_.errors.first().startsWith("No mail transport is set up on this computer"));
}

TEST_F(MailComposeTest, ASendmailThatFailsSilentlyIsStillAFailure) {
    MailTransport::setSendmailProgram(
        writeScript(home_->filePath("sendmail"), "cat >/dev/null\nexit 75\n"));
    QPointer<Composer> composer = present();
    pressAndWait(*composer, Composer::kSendButton);
    EXPECT_EQ(recorder_.results, QList<int>({Composer::kResultFailed}));
    EXPECT_EQ(recorder_.errors.first(), "The mail transport refused the message (exit code 75).");
}

TEST_F(MailComposeTest, ASendmailThatNeverEndsIsStoppedAndTheSendFails) {
    const QString pidFile = home_->filePath("sendmail.pid");
    MailTransport::setSendmailProgram(
        writeScript(home_->filePath("sendmail"),
                    "cat >/dev/null\necho $$ >\"" + pidFile.toUtf8() + "\"\nexec sleep 600\n"));
    QPointer<Composer> composer = present();
    ASSERT_TRUE(OnScreen::pressButton(*composer, Composer::kSendButton));
    ASSERT_TRUE(eventually([&] { return QFile::exists(pidFile); }, 20000));
    settle();
    ManualScheduler::current()->advance(MailTransport::kSendTimeoutSeconds - 1);
    EXPECT_TRUE(recorder_.results.isEmpty()) << "gave up before its time";

    ManualScheduler::current()->advance(1);
    settle();
    EXPECT_EQ(recorder_.results, QList<int>({Composer::kResultFailed}));
    EXPECT_TRUE(recorder_.errors.first().startsWith(
        "The mail transport did not finish within 120 seconds and was stopped"))
        << recorder_.errors.first().toStdString();
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    const QString proc =
        QStringLiteral("/proc/%1").arg(QString::fromLatin1(pid.readAll().trimmed()));
    // Gone, or a zombie: either way no longer running.
    const auto stopped = [&] {
        QFile cmdline(proc + "/cmdline");
        return !cmdline.open(QIODevice::ReadOnly) || cmdline.readAll().isEmpty();
    };
    EXPECT_TRUE(eventually(stopped, 20000)) << "the command was left running";
}

TEST_F(MailComposeTest, DeleteDraftCancelsAndKeepsNothing) {
    QPointer<Composer> composer = present();
    answerDraftSheet(*composer, "Delete Draft");
    EXPECT_EQ(recorder_.results, QList<int>({Composer::kResultCancelled}));
    EXPECT_TRUE(recorder_.errors.first().isNull());
    EXPECT_TRUE(drafts().isEmpty());
    EXPECT_TRUE(server_.messages().isEmpty());
}

TEST_F(MailComposeTest, TheSheetsCancelGoesBackToTheMessage) {
    QPointer<Composer> composer = present();
    answerDraftSheet(*composer, "Cancel");
    EXPECT_TRUE(recorder_.results.isEmpty());
    ASSERT_TRUE(composer && composer->isPresented());
    composer->dismissModalViewControllerAnimated(false);
}

TEST_F(MailComposeTest, SaveDraftWritesAMessageAMailProgramOpens) {
    QPointer<Composer> composer = present();
    composer->panel()->findChild<QLineEdit*>("subject")->setText("Later");
    answerDraftSheet(*composer, "Save Draft");
    EXPECT_EQ(recorder_.results, QList<int>({Composer::kResultSaved}));
    const QStringList saved = drafts();
    ASSERT_EQ(saved.size(), 1);
    QFile file(home_->filePath("Documents/Lumigrave/Drafts/" + saved.first()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    // A file for other programs: every line ends in CRLF.
    EXPECT_FALSE(QByteArray(text).replace("\r\n", "").contains('\n'));
    const lumigrave::test::MimePart draft = lumigrave::test::parseMime(text);
    EXPECT_EQ(draft.header("to"), "friend@example.test");
    EXPECT_EQ(draft.header("subject"), "Later");
    ASSERT_EQ(draft.parts.size(), 2);
    EXPECT_EQ(draft.parts[1].body, picture_);
}

TEST_F(MailComposeTest, ADraftThatCannotBeWrittenFailsAndLeavesTheMessage) {
    // A file where the drafts' folder should be: the folder cannot be made.
    QDir().mkpath(home_->filePath("Documents/Lumigrave"));
    QFile blocker(home_->filePath("Documents/Lumigrave/Drafts"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QPointer<Composer> composer = present();
    answerDraftSheet(*composer, "Save Draft");
    EXPECT_EQ(recorder_.results, QList<int>({Composer::kResultFailed}));
    EXPECT_TRUE(recorder_.errors.first().startsWith("The draft could not be saved"))
        << recorder_.errors.first().toStdString();
}

TEST_F(MailComposeTest, OpenInMailAppHandsOverTheMessageAndItsAttachment) {
    const QString log = home_->filePath("xdg-email.log");
    MailTransport::setMailAppProgram(
        writeScript(home_->filePath("xdg-email"),
                    "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + log.toUtf8() + "'\n"));
    QPointer<Composer> composer = present();
    EXPECT_EQ(OnScreen::buttonTitles(*composer),
              QStringList({"Cancel", "Send", "Open in Mail App"}));
    pressAndWait(*composer, Composer::kMailAppButton);
    EXPECT_EQ(recorder_.results, QList<int>({Composer::kResultSaved}));
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList arguments = QString::fromUtf8(file.readAll()).split('\n');
    const qsizetype attach = arguments.indexOf("--attach");
    ASSERT_GE(attach, 0);
    EXPECT_EQ(arguments[arguments.indexOf("--subject") + 1], "Photo Sharing");
    EXPECT_TRUE(arguments.contains("friend@example.test"));
    QFile attachment(arguments[attach + 1]);
    EXPECT_EQ(QFileInfo(attachment).fileName(), "Lumigrave");
    ASSERT_TRUE(attachment.open(QIODevice::ReadOnly));
    EXPECT_EQ(attachment.readAll(), picture_);
}

TEST_F(MailComposeTest, AMailAppThatFailsReportsItsMessage) {
    MailTransport::setMailAppProgram(
        writeScript(home_->filePath("xdg-email"),
                    "echo 'xdg-email: no method available for opening' >&2\n"
                    "exit 3\n"));
    QPointer<Composer> composer = present();
    pressAndWait(*composer, Composer::kMailAppButton);
    EXPECT_EQ(recorder_.results, QList<int>({Composer::kResultFailed}));
    EXPECT_EQ(recorder_.errors.first(), "xdg-email: no method available for opening");
}

TEST_F(MailComposeTest, WithoutADelegateTheComposerDismissesItself) {
    QPointer<Composer> composer = present(false);
    ASSERT_TRUE(OnScreen::pressButton(*composer, Composer::kSendButton));
    ASSERT_TRUE(eventually([&] { return composer.isNull(); }, 20000));
    EXPECT_EQ(server_.messages().size(), 1);
}

}  // namespace
}  // namespace lumigrave::ui
