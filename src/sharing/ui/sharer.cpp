#include "sharing/ui/sharer.h"

#include <QDebug>

#include "platform/notification_center.h"
#include "platform/user_defaults.h"
#include "sharing/share_configuration.h"
#include "sharing/stored_share_info.h"
#include "sharing/ui/sharer_delegate.h"
#include "sharing/url_shortener.h"
#include "ui/alert_view.h"
#include "ui/window.h"

namespace lumigrave::sharing {

const QString Sharer::kSendDidStartNotification = QStringLiteral("ShareSendDidStartNotification");
const QString Sharer::kSendDidFinishNotification = QStringLiteral("ShareSendDidFinish");
const QString Sharer::kSendDidFailWithErrorNotification =
    QStringLiteral("ShareSendDidFailWithError");
const QString Sharer::kSendDidCancelNotification = QStringLiteral("ShareSendDidCancel");
const QString Sharer::kAuthDidFinishNotification = QStringLiteral("ShareAuthDidFinish");

namespace {

const QString kAutoShareKey = QStringLiteral("autoShare");

ShareConfiguration& configuration() {
    return ShareConfiguration::sharedInstance();
}

QList<Sharer*>& live() {
    static QList<Sharer*> sharers;
    return sharers;
}

}  // namespace

Sharer::Sharer()
    : ui::NavigationController(nullptr),
      ownDelegate_(std::make_unique<SharerDelegate>()),
      delegate_(ownDelegate_.get()) {
    live().append(this);
}

Sharer::~Sharer() {
    live().removeOne(this);
}

QList<Sharer*> Sharer::liveSharers() {
    return live();
}

Sharer* Sharer::shareItem(Sharer* sharer, const ShareItem& item) {
    ShareCenter::pushOnFavorites(sharer->sharerId(), item);
    sharer->setItem(item);
    sharer->share();
    return sharer;
}

bool Sharer::canShareFileOfMimeType(const QString& mimeType, qint64 size) const {
    Q_UNUSED(mimeType);
    Q_UNUSED(size);
    return false;
}

bool Sharer::canShareItem(const ShareItem& item) const {
    switch (item.shareType()) {
        case ShareTypeURL:
            return canShareURL();
        case ShareTypeText:
            return canShareText();
        case ShareTypeImage:
            return canShareImage();
        case ShareTypeFile:
            return canShareFileOfMimeType(item.mimeType(), item.data().size());
        case ShareTypeUserInfo:
            return canGetUserInfo();
        default:
            return false;
    }
}

void Sharer::setShareDelegate(ShareDelegate* delegate) {
    delegate_ = delegate;
    if (delegate != ownDelegate_.get()) {
        ownDelegate_.reset();
    }
}

// The workflow.

void Sharer::share() {
    if (!authorize()) {
        pendingAction_ = PendingShare;
        return;
    }
    if (configuration().boolValue(QStringLiteral("allowAutoShare")) && shouldAutoShare() &&
        tryToSend()) {
        return;
    }
    if (!item_.URL().isEmpty() && requiresShortenedURL()) {
        shortenThenShow();
    } else {
        show();
    }
}

void Sharer::shortenThenShow() {
    UrlShortener::shorten(
        item_.URL(),
        [this](const QUrl& url) {
            item_.setURL(url);
            show();
        },
        this);
}

bool Sharer::authorize() {
    if (isAuthorized()) {
        return true;
    }
    promptAuthorization();
    return false;
}

bool Sharer::isAuthorized() {
    if (!requiresAuthentication()) {
        return true;
    }
    for (const FormFieldSettings& field : authorizationFormFields()) {
        const std::optional<QString> value = authValueForKey(field.key());
        if (value && !value->isEmpty()) {
            return true;
        }
    }
    return false;
}

QList<FormFieldSettings> Sharer::authorizationFormFields() const {
    return {FormFieldSettings(QStringLiteral("Username"), QStringLiteral("username"),
                              FormFieldSettings::Type::TextNoCorrect),
            FormFieldSettings(QStringLiteral("Password"), QStringLiteral("password"),
                              FormFieldSettings::Type::Password)};
}

void Sharer::promptAuthorization() {
    if (!shareRequiresInternetConnection() || ShareCenter::connected()) {
        auto* form =
            new ShareFormController(QStringLiteral("Login"), QStringLiteral("Login"), this);
        form->addSection(authorizationFormFields());
        loginForm_ = form;
        pushForm(form);
        return;
    }
    if (!quiet_) {
        showAlert(QStringLiteral("Offline"),
                  QStringLiteral("You must be online to login to %1").arg(sharerTitle()));
    }
    end();
}

QList<FormFieldSettings> Sharer::shareFormFieldsForType(ShareType type) const {
    if (type != ShareTypeURL) {
        return {};
    }
    return {FormFieldSettings(QStringLiteral("Title"), QStringLiteral("title"),
                              FormFieldSettings::Type::Text, item_.title())};
}

void Sharer::show() {
    const QList<FormFieldSettings> fields = shareFormFieldsForType(item_.shareType());
    if (fields.isEmpty()) {
        if (!tryToSend()) {
            end();
        }
        return;
    }
    auto* form = new ShareFormController(sharerTitle(),
                                         QStringLiteral("Send to %1").arg(sharerTitle()), this);
    form->addSection(fields, QString(), item_.URL().isEmpty() ? QString() : item_.URL().toString());
    offeredAutoShare_ =
        configuration().boolValue(QStringLiteral("allowAutoShare")) && canAutoShare();
    if (offeredAutoShare_) {
        form->addSection({FormFieldSettings(QStringLiteral("Auto Share"), kAutoShareKey,
                                            FormFieldSettings::Type::Switch,
                                            FormFieldSettings::switchValue(shouldAutoShare()))},
                         QString(),
                         QStringLiteral("Enable auto share to skip this step in the future."));
    }
    editForm_ = form;
    pushForm(form);
}

bool Sharer::tryToSend() {
    if (!shareRequiresInternetConnection() || ShareCenter::connected()) {
        return send();
    }
    if (configuration().boolValue(QStringLiteral("allowOffline")) && canShareOffline()) {
        QString error;
        if (!ShareCenter::addToOfflineQueue(item_, sharerId(), &error)) {
            if (error.isEmpty()) {
                return false;
            }
            // Kept nowhere: say so rather than let the share vanish.
            sendDidFailWithError(ShareCenter::error(
                QStringLiteral("The share could not be kept to send later: %1").arg(error)));
            return true;
        }
        end();
        return true;
    }
    if (quiet_) {
        return false;
    }
    showAlert(QStringLiteral("Offline"),
              QStringLiteral("You must be online in order to share with %1").arg(sharerTitle()));
    end();
    return true;
}

bool Sharer::send() {
    return false;
}

void Sharer::tryPendingAction() {
    const int action = pendingAction_;
    pendingAction_ = PendingNone;
    switch (action) {
        case PendingShare:
            share();
            break;
        case PendingSend:
        case PendingRefreshToken:
            if (!tryToSend()) {
                end();
            }
            break;
        default:
            break;
    }
}

bool Sharer::validateItem() const {
    switch (item_.shareType()) {
        case ShareTypeURL:
            return item_.URL().isValid() && !item_.URL().isEmpty();
        case ShareTypeText:
            return !item_.text().isEmpty();
        case ShareTypeImage:
            return !item_.image().isNull();
        case ShareTypeFile:
            return !item_.data().isEmpty();
        case ShareTypeUserInfo:
            return canGetUserInfo();
        default:
            return false;
    }
}

bool Sharer::shouldAutoShare() const {
    return UserDefaults().boolForKey(QStringLiteral("%1_shouldAutoShare").arg(sharerId()));
}

void Sharer::setShouldAutoShare(bool on) {
    UserDefaults defaults;
    defaults.setBool(QStringLiteral("%1_shouldAutoShare").arg(sharerId()), on);
    defaults.synchronize();
}

// The forms.

void Sharer::shareFormValidate(ShareFormController& form) {
    form.saveForm();
}

void Sharer::shareFormSave(ShareFormController& form) {
    if (isLoginForm(form)) {
        authorizationFormSave(form);
    } else {
        shareFormSaveValues(form);
    }
}

void Sharer::authorizationFormSave(ShareFormController& form) {
    const QMap<QString, QString> values = form.formValues();
    for (auto it = values.begin(); it != values.end(); ++it) {
        setAuthValue(it.value(), it.key());
    }
    hideModally();
    authDidFinish(true);
    tryPendingAction();
}

void Sharer::shareFormSaveValues(ShareFormController& form) {
    const QMap<QString, QString> values = form.formValues();
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QString& key = it.key();
        if (key == QLatin1String("title")) {
            item_.setTitle(it.value());
        } else if (key == QLatin1String("text")) {
            item_.setText(it.value());
        } else if (key == QLatin1String("tags")) {
            QStringList tags;
            for (const QString& tag : it.value().split(u',')) {
                if (!tag.trimmed().isEmpty()) {
                    tags.append(tag.trimmed());
                }
            }
            item_.setTags(tags);
        } else if (key == kAutoShareKey && offeredAutoShare_) {
            setShouldAutoShare(it.value() == QLatin1String("1"));
        } else {
            item_.setCustomValue(it.value(), key);
        }
    }
    hideModally();
    if (!tryToSend()) {
        end();
    }
}

void Sharer::shareFormCancel(ShareFormController& form) {
    if (isLoginForm(form)) {
        authDidFinish(false);
    }
    sendDidCancel();
}

bool Sharer::isLoginForm(const ShareFormController& form) const {
    return loginForm_ != nullptr && loginForm_.data() == &form;
}

ShareFormController* Sharer::currentForm() const {
    return dynamic_cast<ShareFormController*>(topViewController());
}

// Presentation.

void Sharer::pushForm(ShareFormController* form) {
    form->setBarTint(configuration().barTintForView(sharerId()));
    pushScreen(form);
}

void Sharer::pushScreen(ui::ViewController* screen) {
    setViewControllers({screen}, false);
    presentModally();
}

bool Sharer::loginUnderWay() const {
    return presented_ && loginForm_ != nullptr && currentForm() == loginForm_;
}

void Sharer::presentModally() {
    if (presented_) {
        return;
    }
    ui::Window* window = ui::Window::keyWindow();
    ui::ViewController* host = window != nullptr ? window->rootViewController() : nullptr;
    if (host == nullptr) {
        qWarning().noquote() << "No window to show the" << sharerTitle() << "share in";
        return;
    }
    while (host->modalViewController() != nullptr) {
        host = host->modalViewController();
    }
    presented_ = true;
    host->presentModalViewController(this, true);
}

void Sharer::hideModally() {
    if (presented_ && presentingViewController() != nullptr) {
        presentingViewController()->dismissModalViewControllerAnimated(true);
    }
    presented_ = false;
}

void Sharer::didDismissFromPresentation() {
    // The sharer ends itself when its share is over, not when its screens go.
    presented_ = false;
}

void Sharer::end() {
    if (ending_) {
        return;
    }
    ending_ = true;
    hideModally();
    deleteLater();
}

bool Sharer::showAlert(const QString& title, const QString& message) {
    auto* alert = new ui::AlertView(title, message, nullptr, QStringLiteral("Close"), {});
    alert->show();
    return true;
}

// Reports.

void Sharer::sendDidStart() {
    NotificationCenter::defaultCenter().postNotification(kSendDidStartNotification, this);
    if (delegate_ != nullptr) {
        delegate_->sharerStartedSending(*this);
    }
}

void Sharer::sendDidFinish() {
    NotificationCenter::defaultCenter().postNotification(kSendDidFinishNotification, this);
    if (delegate_ != nullptr) {
        delegate_->sharerFinishedSending(*this);
    }
    end();
}

void Sharer::sendDidFailWithError(const ShareError& error) {
    sendDidFailWithError(error, false);
}

void Sharer::sendDidFailWithError(const ShareError& error, bool shouldRelogin) {
    NotificationCenter::defaultCenter().postNotification(kSendDidFailWithErrorNotification, this);
    if (delegate_ != nullptr) {
        delegate_->sharerFailedWithError(*this, error, shouldRelogin);
    }
    // A delegate that asked for the login again keeps the sharer going; otherwise the
    // share is over.
    if (!shouldRelogin || !loginUnderWay()) {
        end();
    }
}

void Sharer::sendDidCancel() {
    NotificationCenter::defaultCenter().postNotification(kSendDidCancelNotification, this);
    if (delegate_ != nullptr) {
        delegate_->sharerCancelledSending(*this);
    }
    end();
}

void Sharer::authDidFinish(bool success) {
    NotificationCenter::defaultCenter().postNotification(kAuthDidFinishNotification, this,
                                                         {{QStringLiteral("success"), success}});
    if (delegate_ != nullptr) {
        delegate_->sharerAuthDidFinish(*this, success);
    }
}

void Sharer::shouldReloginWithPendingAction(int action) {
    if (action == PendingShare && editForm_ != nullptr && editForm_->openOptionPage() != nullptr) {
        // What was chosen so far goes into the item, so the share after the login has it.
        editForm_->closeOptionPage();
        const QMap<QString, QString> values = editForm_->formValues();
        for (auto it = values.begin(); it != values.end(); ++it) {
            if (it.key() == QLatin1String("title")) {
                item_.setTitle(it.value());
            } else if (it.key() != kAutoShareKey) {
                item_.setCustomValue(it.value(), it.key());
            }
        }
    }
    pendingAction_ = action;
    sendDidFailWithError(
        ShareCenter::error(QStringLiteral("Could not authenticate you. Please relogin.")), true);
}

void Sharer::sendShowSimpleErrorAlert() {
    sendDidFailWithError(
        ShareCenter::error(QStringLiteral("There was a problem saving to %1").arg(sharerTitle())));
}

void Sharer::authShowBadCredentialsAlert() {
    if (delegate_ != nullptr) {
        delegate_->sharerShowBadCredentialsAlert(*this);
    }
}

void Sharer::authShowOtherAuthorizationErrorAlert() {
    if (delegate_ != nullptr) {
        delegate_->sharerShowOtherAuthorizationErrorAlert(*this);
    }
}

// Keeping an item across a login elsewhere.

bool Sharer::saveItemForLater(int action) {
    QString error;
    if (!StoredShareInfo::saveItemForLater(item_, action, &error)) {
        qWarning().noquote() << "The share could not be kept across the login:" << error;
        return false;
    }
    return true;
}

bool Sharer::restoreItem() {
    std::optional<StoredShareInfo::Saved> saved = StoredShareInfo::restoreItem();
    if (!saved) {
        return false;
    }
    item_ = saved->item;
    pendingAction_ = saved->pendingAction;
    return true;
}

// Logins.

std::optional<QString> Sharer::authValueForKey(const QString& key) const {
    QString error;
    std::optional<QString> value = ShareCenter::getAuthValueForKey(key, sharerId(), &error);
    if (!error.isEmpty()) {
        qWarning().noquote() << "The keyring did not give" << sharerTitle()
                             << "its login:" << error;
    }
    return value;
}

bool Sharer::setAuthValue(const QString& value, const QString& key) {
    QString error;
    if (!ShareCenter::setAuthValue(value, key, sharerId(), &error)) {
        qWarning().noquote() << "The keyring did not keep" << sharerTitle() << "'s login:" << error;
        return false;
    }
    return true;
}

void Sharer::removeAuthValueForKey(const QString& key) {
    QString error;
    if (!ShareCenter::removeAuthValueForKey(key, sharerId(), &error)) {
        qWarning().noquote() << "The keyring did not forget" << sharerTitle()
                             << "'s login:" << error;
    }
}

}  // namespace lumigrave::sharing
