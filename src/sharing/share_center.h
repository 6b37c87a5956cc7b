#pragma once

#include <QString>
#include <QUrl>

// The sharing library's entry points that the application calls at launch and when a
// service's login returns. The library itself (services, the share workflow, the
// offline queue) is not built yet: these keep the application's calls in their places
// and do nothing more.
namespace lumigrave::sharing {

// Asks the library to send the shares it queued while offline. Nothing is queued yet.
void flushOfflineQueue();
// How many times the offline queue was asked to flush, so the launch can be checked.
int offlineFlushCount();
// A Facebook login's return URL. No Facebook client exists yet, so it is not taken.
bool facebookHandleOpenURL(const QUrl& url);

}  // namespace lumigrave::sharing
