#pragma once

#include <QUrl>

#include "sharing/ui/sharer.h"

namespace lumigrave::sharing {

struct FacebookGraphAnswer;

// Shares images (a photo with the edited title) and links (a post on the user's feed) to
// Facebook. Its login happens in the user's browser: the item waits in the user-defaults
// store (saveItemForLater) while the service's dialog is open, and the share goes on
// when the desktop hands the login's redirect back (handleOpenURL). The token and its
// expiry live in the keyring under this sharer's id.
class FacebookSharer : public Sharer {
    Q_OBJECT
  public:
    static const QString kAccessTokenKey;
    // The token's expiry as an ISO 8601 UTC date; absent for a token that does not expire.
    static const QString kExpirationDateKey;

    QString sharerId() const override { return QStringLiteral("FacebookSharer"); }
    QString sharerTitle() const override { return QStringLiteral("Facebook"); }
    bool canShareURL() const override { return true; }
    bool canShareImage() const override { return true; }

    // A stored token that has not expired.
    bool isAuthorized() override;
    // Online: keeps the item for after the login and opens the login dialog in the
    // browser; the share ends here and resumes in handleOpenURL. Offline: the "Offline"
    // alert.
    void promptAuthorization() override;
    bool send() override;

    // A login's redirect on the "fb<appId>" scheme: keeps the token and resumes the share
    // that waited for it. A refused login ends that share quietly. False for a URL that
    // holds no answer to a login.
    static bool handleOpenURL(const QUrl& url);

  protected:
    // Images get one "Title" field; links the default.
    QList<FormFieldSettings> shareFormFieldsForType(ShareType type) const override;

  private:
    void answered(const FacebookGraphAnswer& answer);
    void forgetToken();
};

}  // namespace lumigrave::sharing
