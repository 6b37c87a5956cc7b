#include "sharing/share_center.h"

#include <QDebug>

namespace lumigrave::sharing {

namespace {
QVariantMap& settings() {
    static QVariantMap values;
    return values;
}
int flushes = 0;
}  // namespace

void configure(const QVariantMap& values) {
    settings() = values;
}

QString configurationValue(const QString& key) {
    return settings().value(key).toString();
}

void flushOfflineQueue() {
    ++flushes;
}

int offlineFlushCount() {
    return flushes;
}

bool facebookHandleOpenURL(const QUrl& url) {
    qInfo().noquote() << "No Facebook client takes the login return" << url.toString();
    return false;
}

}  // namespace lumigrave::sharing
