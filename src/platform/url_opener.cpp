#include "platform/url_opener.h"

#include <QDebug>
#include <QDesktopServices>

namespace lumigrave {

namespace {

// The query and fragment can hold a login's tokens, which never go into a log.
QString forLog(const QUrl& url) {
    return url.toDisplayString(QUrl::RemoveQuery | QUrl::RemoveFragment);
}

}  // namespace

bool UrlOpener::openURL(const QUrl& url) {
    if (!url.isValid() || url.scheme().isEmpty()) {
        qWarning().noquote() << "Not a URL another application could open:" << forLog(url);
        return false;
    }
    if (!QDesktopServices::openUrl(url)) {
        qWarning().noquote() << "No application opened" << forLog(url);
        return false;
    }
    return true;
}

}  // namespace lumigrave
