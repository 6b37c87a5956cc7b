#pragma once

#include <QPointer>

#include "sharing/ui/large_text_form_controller.h"
#include "sharing/ui/oauth_sharer.h"

namespace lumigrave::sharing {

// Posts a status to Twitter: a link (shortened first), a text, or a photo, which goes to
// the image host by OAuth Echo and whose link then ends the status. The status is edited
// in a 140-character form and kept in the item's custom value "status".
class TwitterSharer : public OAuthSharer, protected LargeTextFormDelegate {
    Q_OBJECT
  public:
    static const QString kStatusKey;
    // A user-defaults entry about the logged-in account, gone with the login.
    static const QString kUserInfoKey;

    TwitterSharer();

    QString sharerId() const override { return QStringLiteral("TwitterSharer"); }
    QString sharerTitle() const override { return QStringLiteral("Twitter"); }
    bool canShareURL() const override { return true; }
    bool canShareText() const override { return true; }
    bool canShareImage() const override { return true; }
    bool requiresShortenedURL() const override { return true; }
    bool canAutoShare() const override { return false; }

    // The status the form starts from, into the item.
    void prepareItem();
    void show() override;
    void showTwitterForm();
    // The common conditions, and a status of 1 to 140 characters.
    bool validateItem() const override;
    bool send() override;
    void sendStatus();
    void sendImage();
    // A failed answer: a new login and a resend when the service no longer takes the
    // login, otherwise an error in the service's words.
    void handleUnsuccessfulTicket(const QByteArray& body);
    void logout() override;

    // The form showing now, or null.
    LargeTextFormController* form() const { return form_; }

  protected:
    void largeTextFormSend(LargeTextFormController& form) override;
    void largeTextFormCancel(LargeTextFormController& form) override;

  private:
    void imageAnswered(const OAuthAnswer& answer);
    void failWithNetworkError(const OAuthAnswer& answer);

    QPointer<LargeTextFormController> form_;
};

}  // namespace lumigrave::sharing
