#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include "platform/mail_message.h"
#include "platform/mail_transport.h"
#include "ui/action_sheet.h"
#include "ui/presentation.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumigrave::ui {

// The in-app mail composer, presented modally over the whole window: To, Subject, the
// body and the attachments with their names and sizes; Send, Cancel (which asks "Delete
// Draft" or "Save Draft") and, where the desktop has xdg-email, "Open in Mail App".
// Send pipes the message to the computer's sendmail without blocking the window. The
// delegate hears the outcome as one of the platform's result codes and dismisses the
// composer; without a delegate it dismisses itself. It owns itself from construction
// until it is dismissed, or released because it could not be shown.
class MailComposeViewController : public Presentation, private ActionSheet::Delegate {
    Q_OBJECT
  public:
    enum Result { kResultCancelled = 0, kResultSaved = 1, kResultSent = 2, kResultFailed = 3 };
    // The buttons' positions, for OnScreen.
    enum Button { kCancelButton = 0, kSendButton = 1, kMailAppButton = 2 };

    // The composer's protocol; the call is optional.
    class Delegate {
      public:
        virtual ~Delegate() = default;
        // error is the failure's description, null when there is none.
        virtual void mailComposeController(MailComposeViewController& controller,
                                           int didFinishWithResult, const QString& error) {
            Q_UNUSED(controller);
            Q_UNUSED(didFinishWithResult);
            Q_UNUSED(error);
        }
    };

    MailComposeViewController();
    ~MailComposeViewController() override;

    // Whether a send can reach a mail transport at all.
    static bool canSendMail();

    // The delegate is not owned; it must outlive the composer or be null.
    void setMailComposeDelegate(Delegate* delegate) { delegate_ = delegate; }
    Delegate* mailComposeDelegate() const { return delegate_; }
    void setToRecipients(const QStringList& recipients);
    void setSubject(const QString& subject);
    void setMessageBody(const QString& body, bool isHTML);
    void addAttachmentData(const QByteArray& data, const QString& mimeType,
                           const QString& fileName);
    // The message as it stands, with what the user has typed.
    MailMessage message() const;

    // Covers the window of view (the key window when null).
    void presentFrom(QWidget* view, bool animated);
    void dismissModalViewControllerAnimated(bool animated);

    int numberOfButtons() const override;
    QString buttonTitleAtIndex(int index) const override;
    // The sheet Cancel shows, while it is up.
    ActionSheet* draftSheet() const { return draftSheet_; }

    // A human size: "512 bytes", "12 KB", "1.4 MB".
    static QString byteSizeText(qint64 bytes);

  protected:
    void escapePressed() override;

  private:
    void cancelPressed();
    void sendPressed();
    void mailAppPressed();
    void saveDraft();
    void didDismissWithButtonIndex(ActionSheet& sheet, int buttonIndex) override;
    void setBusy(const QString& status);
    void finishWithResult(int result, const QString& error);
    QWidget* buildPanel();
    void updateSendEnabled();

    Delegate* delegate_ = nullptr;
    MailMessage message_;
    MailTransport transport_;
    int result_ = kResultCancelled;
    QPointer<ActionSheet> draftSheet_;
    QPointer<QLineEdit> to_;
    QPointer<QLineEdit> subject_;
    QPointer<QPlainTextEdit> body_;
    QPointer<QLabel> status_;
    QPointer<QPushButton> buttons_[3];
};

}  // namespace lumigrave::ui
