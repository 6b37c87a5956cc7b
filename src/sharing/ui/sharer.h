#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <memory>

#include "sharing/form_field_settings.h"
#include "sharing/share_center.h"
#include "sharing/share_item.h"
#include "sharing/ui/share_delegate.h"
#include "sharing/ui/share_form_controller.h"
#include "ui/navigation_controller.h"

namespace lumigrave::sharing {

// One share to one service, from the item it is given to the report of how it went. A
// service's sharer derives from this and supplies what it can share, its forms, and
// send(); the workflow around them is here: the login when one is needed, the editing
// form, auto share, the offline queue, the reports and their notifications.
//
// Lifetime: a sharer owns itself. It is made by shareItem() and ends itself (deleted
// later on the main loop) once its share is over: sent, failed without a new login,
// cancelled, queued, or refused for being offline. While its screens show, it is
// presented modally over the application's navigation controller, or over the topmost
// screen presented on that; dismissing it does not end it while a send is under way.
//
// Main thread only.
class Sharer : public ui::NavigationController, protected ShareFormDelegate {
    Q_OBJECT
  public:
    // What to do once a login succeeds.
    enum PendingAction {
        PendingNone = 0,
        PendingShare = 1,
        PendingSend = 2,
        PendingRefreshToken = 3,
    };

    // The notifications each report posts first, with the sharer as the sender.
    static const QString kSendDidStartNotification;
    static const QString kSendDidFinishNotification;
    static const QString kSendDidFailWithErrorNotification;
    static const QString kSendDidCancelNotification;
    // With the user information "success" (a boolean).
    static const QString kAuthDidFinishNotification;

    Sharer();
    ~Sharer() override;

    // Starts a share: records sharer among the favourites for the item's kind, gives it
    // the item and runs share(). Returns the sharer (it owns itself), for the caller to
    // look at, never to delete.
    static Sharer* shareItem(Sharer* sharer, const ShareItem& item);
    template <class T>
    static T* shareItem(const ShareItem& item) {
        return static_cast<T*>(shareItem(new T, item));
    }

    // The service's capabilities (class-level on the platform).
    // The class name: the id under which logins, favourites and flags are kept.
    virtual QString sharerId() const = 0;
    // The service's name, as sentences show it ("Facebook").
    virtual QString sharerTitle() const = 0;
    virtual bool requiresAuthentication() const { return true; }
    virtual bool shareRequiresInternetConnection() const { return true; }
    virtual bool canShareOffline() const { return true; }
    virtual bool canAutoShare() const { return true; }
    virtual bool requiresShortenedURL() const { return false; }
    virtual bool canShareURL() const { return false; }
    virtual bool canShareText() const { return false; }
    virtual bool canShareImage() const { return false; }
    virtual bool canShareFileOfMimeType(const QString& mimeType, qint64 size) const;
    virtual bool canGetUserInfo() const { return false; }
    // By the item's kind: URL, text, image, file (by MIME type and size), user details.
    bool canShareItem(const ShareItem& item) const;

    const ShareItem& item() const { return item_; }
    ShareItem& item() { return item_; }
    void setItem(const ShareItem& item) { item_ = item; }

    // The default is a SharerDelegate the sharer owns; another is not owned.
    ShareDelegate* shareDelegate() const { return delegate_; }
    void setShareDelegate(ShareDelegate* delegate);
    // A quiet sharer shows no alert and no indicator (the offline queue's sharers).
    bool isQuiet() const { return quiet_; }
    void setQuiet(bool quiet) { quiet_ = quiet; }
    int pendingAction() const { return pendingAction_; }
    void setPendingAction(int action) { pendingAction_ = action; }

    // The workflow.
    void share();
    bool authorize();
    virtual bool isAuthorized();
    virtual void promptAuthorization();
    // Shows the editing form, or sends at once when the item needs none. Services with
    // a form of another kind override it.
    virtual void show();
    bool tryToSend();
    // Starts sending the item; whether it did. Services override it.
    virtual bool send();
    void tryPendingAction();
    // Whether the item holds what its kind needs: a URL, a text, an image or data.
    // Services add their own conditions.
    virtual bool validateItem() const;

    // The auto share flag, kept in the user-defaults store per sharer.
    bool shouldAutoShare() const;
    void setShouldAutoShare(bool on);

    // The reports, each posting its notification and then telling the delegate.
    void sendDidStart();
    void sendDidFinish();
    void sendDidFailWithError(const ShareError& error);
    void sendDidFailWithError(const ShareError& error, bool shouldRelogin);
    void sendDidCancel();
    void authDidFinish(bool success);
    // A login is needed again: keeps pendingAction for after it and fails with a request
    // to log in.
    void shouldReloginWithPendingAction(int action);
    void sendShowSimpleErrorAlert();
    void authShowBadCredentialsAlert();
    void authShowOtherAuthorizationErrorAlert();

    // Keeps the item and pendingAction (StoredShareInfo) while the login goes on in
    // another application; restoreItem() takes them back (and clears them) and says
    // whether there were any.
    bool saveItemForLater(int pendingAction);
    bool restoreItem();

    // The login values of this sharer, in the keyring.
    std::optional<QString> authValueForKey(const QString& key) const;
    bool setAuthValue(const QString& value, const QString& key);
    void removeAuthValueForKey(const QString& key);

    // The form showing now, or null.
    ShareFormController* currentForm() const;
    // Every sharer alive, oldest first: those still waiting for a service's answer too.
    static QList<Sharer*> liveSharers();
    // Whether the sharer's screens are on the screen.
    bool isPresented() const { return presented_; }

  protected:
    // The fields of the login form; the default asks for "Username" and "Password".
    virtual QList<FormFieldSettings> authorizationFormFields() const;
    // The login form's values, given: the default keeps them in the keyring and goes on
    // with the pending action. A service that checks them first overrides it.
    virtual void authorizationFormSave(ShareFormController& form);
    // The editing form's fields for a kind of item; the default gives URL items one
    // "Title" field.
    virtual QList<FormFieldSettings> shareFormFieldsForType(ShareType type) const;
    // The editing form's values, taken into the item; then tryToSend().
    virtual void shareFormSaveValues(ShareFormController& form);

    // Shows the form (over whatever this sharer shows already).
    void pushForm(ShareFormController* form);
    // Shows screen as the sharer's only screen, presenting the sharer when it is not yet.
    void pushScreen(ui::ViewController* screen);
    // An alert with a "Close" button.
    bool showAlert(const QString& title, const QString& message);
    // Whether a login is under way that a failure asking for a new login must not end:
    // by default, the login form showing.
    virtual bool loginUnderWay() const;
    // Presents the sharer modally when it is not yet.
    void presentModally();
    // Takes the sharer's screens away; the sharer itself stays.
    void hideModally();
    // The share is over: the screens go and the sharer ends itself on the main loop.
    void end();

    // ShareFormDelegate: the login and editing forms report here.
    void shareFormValidate(ShareFormController& form) override;
    void shareFormSave(ShareFormController& form) override;
    void shareFormCancel(ShareFormController& form) override;

    void didDismissFromPresentation() override;

  private:
    bool isLoginForm(const ShareFormController& form) const;
    // The URL shortened, then the form (for services that ask for short links).
    void shortenThenShow();

    ShareItem item_;
    std::unique_ptr<ShareDelegate> ownDelegate_;
    ShareDelegate* delegate_;
    bool quiet_ = false;
    int pendingAction_ = PendingNone;
    bool presented_ = false;
    bool ending_ = false;
    QPointer<ShareFormController> loginForm_;
    QPointer<ShareFormController> editForm_;
    // Whether the editing form offered the auto share switch.
    bool offeredAutoShare_ = false;
};

}  // namespace lumigrave::sharing
