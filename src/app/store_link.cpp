#include "app/store_link.h"

#include <QDesktopServices>
#include <QUrlQuery>

namespace lumigrave {

namespace {
const QString kReviewTemplate = QStringLiteral(
    "itms-apps://apps.lumigrave.app/WebObjects/MZStore.woa/wa/viewContentsUserReviews"
    "?id=APP_ID&onlyLatestVersion=true&pageNumber=0&sortOrdering=1&type=Purple+Software");
}  // namespace

QUrl storeReviewUrl() {
    QString url = kReviewTemplate;
    url.replace(QStringLiteral("APP_ID"), kStoreAppId);
    return QUrl(url);
}

StoreLinkHandler::StoreLinkHandler(QObject* parent) : QObject(parent) {
    QDesktopServices::setUrlHandler(QStringLiteral("itms-apps"), this, "openStoreLink");
}

StoreLinkHandler::~StoreLinkHandler() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("itms-apps"));
}

QUrl StoreLinkHandler::softwareCentreUrl(const QUrl& storeUrl) {
    QString id = QUrlQuery(storeUrl).queryItemValue(QStringLiteral("id"));
    return QUrl(QStringLiteral("appstream:") + (id.isEmpty() ? kStoreAppId : id));
}

void StoreLinkHandler::openStoreLink(const QUrl& url) {
    if (!QDesktopServices::openUrl(softwareCentreUrl(url))) {
        qWarning("No software centre takes %s", qPrintable(url.toString()));
    }
}

}  // namespace lumigrave
