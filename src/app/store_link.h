#pragma once

#include <QObject>
#include <QUrl>

namespace lumigrave {

// The application's identifier in the software store: the AppStream id.
inline const QString kStoreAppId = QStringLiteral("app.lumigrave.Lumigrave");

// The store's user-review page for the application: the template with the scheme
// itms-apps, every "APP_ID" replaced by the store id.
QUrl storeReviewUrl();

// A Linux desktop has no handler for itms-apps links: the application hands them to
// the software centre's own page for it (an appstream: link), where it can be rated.
class StoreLinkHandler : public QObject {
    Q_OBJECT
  public:
    // Registers itself for itms-apps links while it lives.
    explicit StoreLinkHandler(QObject* parent = nullptr);
    ~StoreLinkHandler() override;
    static QUrl softwareCentreUrl(const QUrl& storeUrl);

  public slots:
    void openStoreLink(const QUrl& url);
};

}  // namespace lumigrave
