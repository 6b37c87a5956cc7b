#pragma once

#include <QPointer>
#include <QVariantList>
#include <memory>

#include "sharing/flickr/flickr_answer.h"
#include "sharing/ui/oauth_view.h"
#include "sharing/ui/sharer.h"

namespace lumigrave::sharing {

class FlickrAPIContext;
class FlickrAPIRequest;

// Uploads the photo to Flickr with its title, description, tags and visibility, then adds
// it to the groups the person chose. The login is the service's token authorization: the
// person allows the application on the service's page inside the application, the page's
// call back hands over a "frob", and the frob is exchanged for a token kept in the
// keyring. One request runs at a time; the step it belongs to travels with it.
class FlickrSharer : public Sharer, protected OAuthViewDelegate, protected FormOptionProvider {
    Q_OBJECT
  public:
    static const QString kAuthTokenKey;
    // The steps, as the requests' session information.
    static const QString kGetAuthTokenStep;
    static const QString kCheckTokenStep;
    static const QString kUploadImageStep;
    static const QString kGetGroupsStep;
    static const QString kPutInGroupsStep;

    FlickrSharer();
    ~FlickrSharer() override;

    QString sharerId() const override { return QStringLiteral("FlickrSharer"); }
    QString sharerTitle() const override { return QStringLiteral("Flickr"); }
    bool canShareImage() const override { return true; }

    // A token in the context (restored from the keyring when the context is first needed).
    bool isAuthorized() override;
    // Offline: the "Offline" alert; quiet: the share ends; otherwise the login page.
    void promptAuthorization() override;
    void authorizationFormShow();
    QString authorizeCallbackURL() const;

    bool send() override;
    void sendPhoto();
    // The photo as JPEG at quality 90; empty when it cannot be encoded.
    QByteArray generateImageData() const;
    void postToNextGroup();
    void logout();

    // The request delegate operations.
    void flickrAPIRequestDidComplete(FlickrAPIRequest* request, const QVariantMap& response);
    void flickrAPIRequestDidFail(FlickrAPIRequest* request, const FlickrError& error);

    const QString& flickrUserName() const { return flickrUserName_; }
    const QString& postedPhotoID() const { return postedPhotoID_; }
    // The running request's step; empty when none runs.
    QString currentStep() const;
    OAuthView* authorizationPage() const { return page_; }

  protected:
    QList<FormFieldSettings> shareFormFieldsForType(ShareType type) const override;
    bool loginUnderWay() const override;

    // OAuthViewDelegate.
    void tokenAuthorizeView(OAuthView& view, bool success,
                            const QMap<QString, QString>& queryParams,
                            const ShareError* error) override;
    void tokenAuthorizeCancelledView(OAuthView& view) override;

    // FormOptionProvider: the person's groups for "Post To Groups".
    void fetchOptions(const FormFieldSettings& field,
                      std::shared_ptr<FormOptionRequest> request) override;
    void cancelFetch(const FormFieldSettings& field,
                     const std::shared_ptr<FormOptionRequest>& request) override;

  private:
    FlickrAPIContext& context();
    FlickrAPIRequest& request();
    // Starts a call of step; false (with the failure reported) when it could not start.
    bool call(const QString& step, const QString& method, const QMap<QString, QString>& arguments,
              bool post = false);
    void forgetToken();
    void loginFailed(const QString& description);
    void failSend(const FlickrError& error);
    void groupsAnswered(const QVariantMap& response);

    std::shared_ptr<FlickrAPIContext> context_;
    QPointer<FlickrAPIRequest> request_;
    QPointer<OAuthView> page_;
    QString flickrUserName_;
    QString postedPhotoID_;
    // The person's groups as the service listed them (dictionaries with "name", "nsid").
    QVariantList fullOptionsData_;
    int nextGroupIndex_ = 0;
    std::shared_ptr<FormOptionRequest> groupsRequest_;
    bool loggingIn_ = false;
};

}  // namespace lumigrave::sharing
