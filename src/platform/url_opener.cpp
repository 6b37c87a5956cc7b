#include "platform/url_opener.h"

#include <QDesktopServices>

namespace lumigrave {

bool UrlOpener::openURL(const QUrl& url) {
    return url.isValid() && !url.scheme().isEmpty() && QDesktopServices::openUrl(url);
}

}  // namespace lumigrave
