#pragma once
// The platform layer: the foundation-library and device services the rest of Lumigrave
// stands on (resources, directories, preferences, fonts, geometry in points). It never
// links widgets. Operations that can fail return false or an empty value and log why;
// nothing here throws.

#include "platform/bundle.h"
#include "platform/font_registry.h"
#include "platform/geometry.h"
#include "platform/image.h"
#include "platform/image_loader.h"
#include "platform/notification_center.h"
#include "platform/paths.h"
#include "platform/run_loop.h"
#include "platform/screen.h"
#include "platform/url_opener.h"
#include "platform/user_defaults.h"
