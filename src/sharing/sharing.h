#pragma once
// The sharing library's protocol side: its configuration, share items and their stored
// form, favourites, the sharers' logins, the offline queue, an item kept across a login,
// and the services' requests and answers. It never links widgets (the screens are in
// sharing/ui), runs on the main thread, and nothing here throws.
//
// How failures come back:
// - Settings (ShareConfiguration) always answer: a name that is no setting reads as an
//   invalid QVariant with a log line; a deployment value of the wrong form is ignored
//   with a log line that names its key, never its value.
// - Stored things (ShareItem's stored form, the attachments, the offline queue, the item
//   kept across a login, the logins) return false or nothing and hand back a message;
//   a failure leaves what was stored before as it was. A file that cannot be read is
//   logged and read as nothing; the offline queue sets it aside rather than lose it.
// - Network calls (UrlShortener) answer through a callback, on the main thread; a
//   failure gives the fallback result and a log line with no key, token or password.
// - Logins, tokens, keys and secrets never reach a log, the preferences or a message.

#include "sharing/default_share_configurator.h"
#include "sharing/offline_queue.h"
#include "sharing/share_attachments.h"
#include "sharing/share_center.h"
#include "sharing/share_configuration.h"
#include "sharing/share_item.h"
#include "sharing/stored_share_info.h"
#include "sharing/url_shortener.h"
