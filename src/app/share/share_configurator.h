#pragma once

#include <QString>
#include <QVariantMap>

namespace lumigrave {

// The application's settings for the sharing library: its Facebook id (which also names
// the URL scheme a Facebook login returns on) and, with the services, their keys.
class ShareConfigurator {
  public:
    static QString facebookAppId();
    // The application's own URL scheme: its name in lower case.
    static QString applicationScheme();
    QVariantMap settings() const;
};

}  // namespace lumigrave
