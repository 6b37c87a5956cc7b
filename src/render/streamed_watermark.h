#pragma once

#include <QByteArray>
#include <QString>

#include "model/embosser.h"

class QIODevice;

namespace lumigrave {

// Watermarks a colour JPEG into a JPEG a band of rows at a time: decoding on this thread,
// blending and encoding on another, so the photo is never whole in memory and the two
// halves of the work share the cores, as a pipe from a decoder to an encoder does. The
// picture is the one EmbossComposer makes for the photo at its own size, upright, at
// scale 1.
//
// Declined: the JPEG is not a colour (YCbCr) one; nothing was written and the caller
// takes the general path. Failed: *error says why; what was written is not a photo.
enum class StreamResult { Done, Declined, Failed };

StreamResult embossJpegStream(const Embosser& embosser, const QByteArray& jpeg, QIODevice& out,
                              int quality, QString* error);

}  // namespace lumigrave
