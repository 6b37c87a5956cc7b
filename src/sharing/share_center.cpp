#include "sharing/share_center.h"

#include <QDebug>

namespace lumigrave::sharing {

namespace {
int flushes = 0;
}  // namespace

void flushOfflineQueue() {
    ++flushes;
}

int offlineFlushCount() {
    return flushes;
}

bool facebookHandleOpenURL(const QUrl& url) {
    qInfo().noquote() << "No Facebook client takes the login return on" << url.scheme();
    return false;
}

}  // namespace lumigrave::sharing
