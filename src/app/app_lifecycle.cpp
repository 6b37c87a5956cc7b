// The application's lifecycle callbacks: the rating countdown, URLs and photos handed
// to the application.
#include "app/app_delegate.h"
#include "app/main/root_view_controller.h"
#include "platform/run_loop.h"
#include "platform/user_defaults.h"
#include "ui/navigation_controller.h"

namespace lumigrave {

void AppDelegate::saveData() {
    UserDefaults defaults;
    qint64 countdown = defaults.integerForKey(kRequestRateCountdownKey);
    if (countdown > 0) {
        defaults.setInteger(kRequestRateCountdownKey, countdown - 1);
        defaults.synchronize();
    }
}

void AppDelegate::didEnterBackground() {
    if (backgroundSupported_) {
        saveData();
    }
}

void AppDelegate::willTerminate() {
    if (!backgroundSupported_) {
        saveData();
    }
}

void AppDelegate::didBecomeActive() {
    if (UserDefaults().integerForKey(kRequestRateCountdownKey) != 1) {
        return;
    }
    RunLoop::performAfter(
        1.0,
        [this] {
            if (RootViewController* root = rootViewController()) {
                root->showRateMe();
            }
        },
        this);
}

bool AppDelegate::openURL(const QUrl& url) {
    // A photo opened with the application (from a file manager, or a second start)
    // comes in as a picked photo would.
    if (url.isLocalFile()) {
        if (RootViewController* root = rootViewController()) {
            root->pickFile(url.toLocalFile());
        }
        return true;
    }
    return handleOpenURL(url);
}

void AppDelegate::filesDropped(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            if (RootViewController* root = rootViewController()) {
                root->pickFile(url.toLocalFile());
            }
            // One photo is worked on at a time: the first dropped.
            return;
        }
    }
}

}  // namespace lumigrave
