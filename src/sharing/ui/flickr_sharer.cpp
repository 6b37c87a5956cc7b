#include "sharing/ui/flickr_sharer.h"

#include <QBuffer>
#include <QDebug>

#include "sharing/flickr/flickr_api_context.h"
#include "sharing/flickr/flickr_api_request.h"
#include "sharing/share_configuration.h"
#include "sharing/ui/share_activity_indicator.h"

namespace lumigrave::sharing {

const QString FlickrSharer::kAuthTokenKey = QStringLiteral("FlickrAuthToken");
const QString FlickrSharer::kGetAuthTokenStep = QStringLiteral("kGetAuthTokenStep");
const QString FlickrSharer::kCheckTokenStep = QStringLiteral("kCheckTokenStep");
const QString FlickrSharer::kUploadImageStep = QStringLiteral("kUploadImageStep");
const QString FlickrSharer::kGetGroupsStep = QStringLiteral("kGetGroupsStep");
const QString FlickrSharer::kPutInGroupsStep = QStringLiteral("kPutInGroupsStep");

namespace {

// The entry at path in nested answer dictionaries, or an invalid value.
QVariant entryAt(const QVariantMap& map, const QStringList& path) {
    QVariant here = map;
    for (const QString& key : path) {
        if (here.typeId() != QMetaType::QVariantMap) {
            return {};
        }
        here = here.toMap().value(key);
    }
    return here;
}

QString textAt(const QVariantMap& map, const QStringList& path) {
    return entryAt(map, path + QStringList{QStringLiteral("_text")}).toString().trimmed();
}

// The service takes a tag of letters and digits; the rest would split or drop it.
QString tagWord(const QString& tag) {
    QString word;
    for (const QChar c : tag) {
        if (c.isLetterOrNumber()) {
            word.append(c);
        }
    }
    return word;
}

}  // namespace

FlickrSharer::FlickrSharer() = default;
FlickrSharer::~FlickrSharer() = default;

FlickrAPIContext& FlickrSharer::context() {
    if (!context_) {
        context_ = std::make_shared<FlickrAPIContext>();
        context_->setAuthToken(authValueForKey(kAuthTokenKey).value_or(QString()));
    }
    return *context_;
}

FlickrAPIRequest& FlickrSharer::request() {
    if (request_ == nullptr) {
        context();
        request_ = new FlickrAPIRequest(context_, this);
        connect(request_, &FlickrAPIRequest::flickrAPIRequestDidComplete, this,
                &FlickrSharer::flickrAPIRequestDidComplete);
        connect(request_, &FlickrAPIRequest::flickrAPIRequestDidFail, this,
                &FlickrSharer::flickrAPIRequestDidFail);
    }
    return *request_;
}

QString FlickrSharer::currentStep() const {
    return request_ != nullptr && request_->isRunning() ? request_->sessionInfo().toString()
                                                        : QString();
}

bool FlickrSharer::call(const QString& step, const QString& method,
                        const QMap<QString, QString>& arguments, bool post) {
    FlickrAPIRequest& api = request();
    api.setSessionInfo(step);
    const bool started = post ? api.callAPIMethodWithPOST(method, arguments)
                              : api.callAPIMethodWithGET(method, arguments);
    if (!started) {
        qWarning().noquote() << "The Flickr call" << method
                             << "could not start:" << api.lastError();
    }
    return started;
}

// The login.

bool FlickrSharer::isAuthorized() {
    return !context().authToken().isEmpty();
}

bool FlickrSharer::loginUnderWay() const {
    return loggingIn_ || Sharer::loginUnderWay();
}

void FlickrSharer::promptAuthorization() {
    if (!ShareCenter::connected()) {
        Sharer::promptAuthorization();
        return;
    }
    if (isQuiet()) {
        // A share sent in the background never opens a page; it is dropped as any queued
        // share whose sharer is logged out.
        end();
        return;
    }
    authorizationFormShow();
}

QString FlickrSharer::authorizeCallbackURL() const {
    return ShareConfiguration::sharedInstance().stringValue(QStringLiteral("flickrCallbackUrl"));
}

void FlickrSharer::authorizationFormShow() {
    loggingIn_ = true;
    auto* page = new OAuthView(context().loginURLFromFrobDictionary({}, QStringLiteral("write")),
                               authorizeCallbackURL(), this);
    page_ = page;
    pushScreen(page);
}

void FlickrSharer::tokenAuthorizeView(OAuthView& view, bool success,
                                      const QMap<QString, QString>& queryParams,
                                      const ShareError* error) {
    Q_UNUSED(view);
    hideModally();
    const QString frob = queryParams.value(QStringLiteral("frob"));
    if (!success || frob.isEmpty()) {
        loginFailed(error != nullptr ? error->localizedDescription : QString());
        return;
    }
    ShareActivityIndicator::currentIndicator()->displayActivity(QStringLiteral("Logging In..."));
    authDidFinish(true);
    if (!call(kGetAuthTokenStep, QStringLiteral("flickr.auth.getToken"),
              {{QStringLiteral("frob"), frob}})) {
        ShareActivityIndicator::currentIndicator()->hide();
        loginFailed(request().lastError());
    }
}

void FlickrSharer::tokenAuthorizeCancelledView(OAuthView& view) {
    Q_UNUSED(view);
    hideModally();
    loggingIn_ = false;
    authDidFinish(false);
    sendDidCancel();
}

void FlickrSharer::loginFailed(const QString& description) {
    hideModally();
    loggingIn_ = false;
    if (!isQuiet()) {
        showAlert(QStringLiteral("Authorize Error"),
                  description.isEmpty() ? QStringLiteral("There was an error while authorizing")
                                        : description);
    }
    authDidFinish(false);
    end();
}

void FlickrSharer::forgetToken() {
    context().setAuthToken(QString());
    removeAuthValueForKey(kAuthTokenKey);
    flickrUserName_.clear();
}

void FlickrSharer::logout() {
    forgetToken();
    const QString host = context().authEndpoint().host();
    if (!host.isEmpty()) {
        OAuthView::deleteCookiesForHost(host);
    }
}

// The form.

QList<FormFieldSettings> FlickrSharer::shareFormFieldsForType(ShareType type) const {
    if (type != ShareTypeImage) {
        return Sharer::shareFormFieldsForType(type);
    }
    using Type = FormFieldSettings::Type;
    // What the person chose before a login the form had to wait for comes back.
    const auto start = [this](const char* key, const QString& otherwise) {
        const QString name = QString::fromLatin1(key);
        return item().custom().contains(name) ? item().customValueForKey(name) : otherwise;
    };
    const QString on = FormFieldSettings::switchValue(true);
    FormFieldSettings groups(QStringLiteral("Post To Groups"), QStringLiteral("postgroup"),
                             Type::Options, start("postgroup", QString()));
    groups.setOptionTitle(QStringLiteral("Flickr Groups"));
    groups.setAllowsMultipleChoices(true);
    groups.setPlaceholder(QStringLiteral("Select Group"));
    groups.setOptionProvider(const_cast<FlickrSharer*>(this));
    return {
        FormFieldSettings(QStringLiteral("Title"), QStringLiteral("title"), Type::Text,
                          item().title()),
        FormFieldSettings(QStringLiteral("Description"), QStringLiteral("description"), Type::Text,
                          start("description", item().text())),
        FormFieldSettings(QStringLiteral("Tag, tag"), QStringLiteral("tags"), Type::TextNoCorrect,
                          start("tags", item().tags().join(QStringLiteral(", ")))),
        FormFieldSettings(QStringLiteral("Is Public"), QStringLiteral("is_public"), Type::Switch,
                          start("is_public", on)),
        FormFieldSettings(QStringLiteral("Is Friend"), QStringLiteral("is_friend"), Type::Switch,
                          start("is_friend", on)),
        FormFieldSettings(QStringLiteral("Is Family"), QStringLiteral("is_family"), Type::Switch,
                          start("is_family", on)),
        groups};
}

void FlickrSharer::fetchOptions(const FormFieldSettings& field,
                                std::shared_ptr<FormOptionRequest> request) {
    Q_UNUSED(field);
    groupsRequest_ = std::move(request);
    if (!call(kGetGroupsStep, QStringLiteral("flickr.groups.pools.getGroups"), {})) {
        std::exchange(groupsRequest_, nullptr)->fail(this->request().lastError());
    }
}

void FlickrSharer::cancelFetch(const FormFieldSettings& field,
                               const std::shared_ptr<FormOptionRequest>& request) {
    Q_UNUSED(field);
    Q_UNUSED(request);
    if (currentStep() == kGetGroupsStep) {
        request_->cancel();
    }
    groupsRequest_.reset();
}

void FlickrSharer::groupsAnswered(const QVariantMap& response) {
    const QVariant list = entryAt(response, {QStringLiteral("groups"), QStringLiteral("group")});
    std::shared_ptr<FormOptionRequest> asked = std::exchange(groupsRequest_, nullptr);
    if (list.typeId() != QMetaType::QVariantList) {
        if (asked) {
            asked->fail(QStringLiteral("Flickr did not list your groups."));
        }
        return;
    }
    fullOptionsData_ = list.toList();
    QStringList names;
    for (const QVariant& group : std::as_const(fullOptionsData_)) {
        names.append(group.toMap().value(QStringLiteral("name")).toString());
    }
    if (asked) {
        asked->answer(names);
    }
}

// Sending.

bool FlickrSharer::send() {
    if (item().customValueForKey(QStringLiteral("is_public")).isEmpty()) {
        return false;
    }
    if (!flickrUserName_.isEmpty()) {
        sendPhoto();
        return true;
    }
    if (!isQuiet()) {
        // A share sent in the background shows nothing.
        ShareActivityIndicator::currentIndicator()->displayActivity(
            QStringLiteral("Logging In..."));
    }
    if (!call(kCheckTokenStep, QStringLiteral("flickr.auth.checkToken"), {})) {
        failSend(FlickrError{QString::fromLatin1(FlickrError::kClientDomain),
                             FlickrError::kUnknownError, request().lastError()});
    }
    return true;
}

QByteArray FlickrSharer::generateImageData() const {
    QBuffer jpeg;
    jpeg.open(QIODevice::WriteOnly);
    QString error;
    if (!item().image().write(jpeg, "jpeg", 90, &error)) {
        qWarning().noquote() << "The photo could not be encoded for Flickr:" << error;
        return {};
    }
    return jpeg.data();
}

void FlickrSharer::sendPhoto() {
    sendDidStart();
    const QByteArray image = generateImageData();
    if (image.isEmpty()) {
        sendDidFailWithError(
            ShareCenter::error(QStringLiteral("The photo could not be prepared for Flickr.")));
        return;
    }
    const QString title = item().title().isEmpty() ? QStringLiteral("photo") : item().title();
    QStringList tags;
    for (const QString& tag : item().tags()) {
        if (const QString word = tagWord(tag); !word.isEmpty()) {
            tags.append(word);
        }
    }
    const QMap<QString, QString> arguments = {
        {QStringLiteral("title"), title},
        {QStringLiteral("description"), item().customValueForKey(QStringLiteral("description"))},
        {QStringLiteral("tags"), tags.join(QLatin1Char(' '))},
        {QStringLiteral("is_public"), item().customValueForKey(QStringLiteral("is_public"))},
        {QStringLiteral("is_friend"), item().customValueForKey(QStringLiteral("is_friend"))},
        {QStringLiteral("is_family"), item().customValueForKey(QStringLiteral("is_family"))}};
    FlickrAPIRequest& api = request();
    api.setSessionInfo(kUploadImageStep);
    if (!api.uploadImageData(image, title, QStringLiteral("image/jpeg"), arguments)) {
        failSend(FlickrError{QString::fromLatin1(FlickrError::kClientDomain),
                             FlickrError::kUnknownError, api.lastError()});
    }
}

void FlickrSharer::postToNextGroup() {
    const QStringList names = item()
                                  .customValueForKey(QStringLiteral("postgroup"))
                                  .split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (fullOptionsData_.isEmpty() || nextGroupIndex_ >= names.size()) {
        sendDidFinish();
        return;
    }
    const QString name = names.at(nextGroupIndex_++);
    QString nsid;
    for (const QVariant& group : std::as_const(fullOptionsData_)) {
        const QVariantMap fields = group.toMap();
        if (fields.value(QStringLiteral("name")).toString() == name) {
            nsid = fields.value(QStringLiteral("nsid")).toString();
            break;
        }
    }
    if (nsid.isEmpty()) {
        qInfo().noquote() << "A chosen Flickr group is no longer among yours; the share ends";
        sendDidFinish();
        return;
    }
    if (!call(kPutInGroupsStep, QStringLiteral("flickr.groups.pools.add"),
              {{QStringLiteral("photo_id"), postedPhotoID_}, {QStringLiteral("group_id"), nsid}},
              true)) {
        failSend(FlickrError{QString::fromLatin1(FlickrError::kClientDomain),
                             FlickrError::kUnknownError, request().lastError()});
    }
}

// The answers.

void FlickrSharer::flickrAPIRequestDidComplete(FlickrAPIRequest* done,
                                               const QVariantMap& response) {
    const QString step = done->sessionInfo().toString();
    if (step == kGetAuthTokenStep) {
        ShareActivityIndicator::currentIndicator()->hide();
        loggingIn_ = false;
        const QString token = textAt(response, {QStringLiteral("auth"), QStringLiteral("token")});
        if (token.isEmpty()) {
            forgetToken();
            loginFailed(QStringLiteral("Flickr gave no login."));
            return;
        }
        context().setAuthToken(token);
        if (!setAuthValue(token, kAuthTokenKey)) {
            forgetToken();
            loginFailed(QStringLiteral("Your Flickr login could not be kept."));
            return;
        }
        flickrUserName_ = entryAt(response, {QStringLiteral("auth"), QStringLiteral("user"),
                                             QStringLiteral("username")})
                              .toString();
        qInfo().noquote() << "Logged in to Flickr";
        tryPendingAction();
    } else if (step == kCheckTokenStep) {
        ShareActivityIndicator::currentIndicator()->hide();
        flickrUserName_ = entryAt(response, {QStringLiteral("auth"), QStringLiteral("user"),
                                             QStringLiteral("username")})
                              .toString();
        sendPhoto();
    } else if (step == kUploadImageStep) {
        postedPhotoID_ = textAt(response, {QStringLiteral("photoid")});
        qInfo().noquote() << "Uploaded the photo to Flickr as" << postedPhotoID_;
        postToNextGroup();
    } else if (step == kGetGroupsStep) {
        groupsAnswered(response);
    } else if (step == kPutInGroupsStep) {
        postToNextGroup();
    }
}

void FlickrSharer::flickrAPIRequestDidFail(FlickrAPIRequest* failed, const FlickrError& error) {
    const QString step = failed->sessionInfo().toString();
    qInfo().noquote() << "A Flickr call failed at" << step << "with" << error.domain << error.code;
    const bool invalidToken = error.isService() && error.code == 98;
    if (step == kCheckTokenStep || step == kGetGroupsStep) {
        ShareActivityIndicator::currentIndicator()->hide();
        if (step == kGetGroupsStep && groupsRequest_) {
            std::exchange(groupsRequest_, nullptr)->fail(error.message);
        }
        if (invalidToken) {
            forgetToken();
            shouldReloginWithPendingAction(step == kCheckTokenStep ? PendingRefreshToken
                                                                   : PendingShare);
            return;
        }
        if (step == kGetGroupsStep) {
            // The form stays: the photo can still go without its groups.
            if (!isQuiet()) {
                showAlert(QStringLiteral("Error"), error.message);
            }
            return;
        }
    }
    if (step == kGetAuthTokenStep) {
        ShareActivityIndicator::currentIndicator()->hide();
        loggingIn_ = false;
    }
    failSend(error);
}

void FlickrSharer::failSend(const FlickrError& error) {
    ShareError shared = ShareCenter::error(error.message);
    shared.domain = error.domain;
    shared.code = int(error.code);
    sendDidFailWithError(shared, false);
}

}  // namespace lumigrave::sharing
