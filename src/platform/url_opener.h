#pragma once

#include <QUrl>

namespace lumigrave {

// Opens a URL in another application: the desktop's handler for its scheme (a browser
// for https, the software centre for a store link). False, and the URL logged, when none
// takes it.
class UrlOpener {
  public:
    static bool openURL(const QUrl& url);
};

}  // namespace lumigrave
