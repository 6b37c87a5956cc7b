#pragma once
// The platform layer: the foundation-library and device services the rest of Lumigrave
// stands on (resources, directories, preferences, fonts, images, geometry in points, the
// pasteboard, property lists, the keychain, reachability). It never links widgets, and
// nothing here throws.
//
// How failures come back:
// - Image loading (ImageLoader) logs nothing: it returns a Result holding either the
//   image or an Error code (CannotOpen, NotAnImage, TooLarge, Damaged) with a message
//   for the user that names what is wrong; ok() tells which. inspectData gives a Header
//   of the same form without decoding.
// - Image and file writing (Image::write and save, writeFileAtomically, the JPEG row
//   coder) return false and hand back the cause through a QString*; nothing is logged
//   and a failed save leaves no file behind.
// - The photo album (PhotoAlbum) answers through its completion, a run-loop turn later:
//   no error, or the system's own description of it; a failed write leaves no file.
// - Property lists (PropertyList) and stored logins (Keychain) return false or nothing and
//   hand back a message; nothing is logged but which login store is in use, and no secret
//   ever reaches a log or a message.
// - Reachability answers at once; it logs only a backend it could not load or an unknown
//   LUMIGRAVE_FORCE_NETWORK value.
// - The services for which there is nothing to tell the user (directories, the bundled
//   font) return false or an empty value and log why.

#include "platform/bundle.h"
#include "platform/font_registry.h"
#include "platform/geometry.h"
#include "platform/image.h"
#include "platform/image_loader.h"
#include "platform/keychain.h"
#include "platform/notification_center.h"
#include "platform/pasteboard.h"
#include "platform/paths.h"
#include "platform/photo_album.h"
#include "platform/photo_metadata.h"
#include "platform/property_list.h"
#include "platform/reachability.h"
#include "platform/run_loop.h"
#include "platform/screen.h"
#include "platform/url_opener.h"
#include "platform/user_defaults.h"
