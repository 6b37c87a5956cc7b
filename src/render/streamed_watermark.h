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
// scale 1, and it carries the photo's ICC colour profile.
//
// Unlike the rest of the renderer this path logs nothing: it hands its failure back.
//   Done: the whole JPEG was written.
//   Declined: the JPEG is not a colour (YCbCr) one; nothing was written, *error is left
//   alone, and the caller takes the general path.
//   Failed: *error is a full sentence for the user that names the cause: "The image file
//   is damaged: <the decoder's words>.", "The image file is incomplete…", "The photo
//   cannot be written: <the device's error>.", "The photo cannot be encoded: …" or
//   "There is not enough memory to watermark the photo."
enum class StreamResult { Done, Declined, Failed };

// To a device; after a failure what was written to it is no photo.
StreamResult embossJpegStream(const Embosser& embosser, const QByteArray& jpeg, QIODevice& out,
                              int quality, QString* error);

// To a file, atomically: the file at path appears only when the whole JPEG was written;
// after Declined or Failed nothing new is left at path (a file already there stays).
// Failed carries the stream's sentences above, or "<path> cannot be written: <the file
// system's error>" when the file itself could not be made or completed.
StreamResult embossJpegFile(const Embosser& embosser, const QByteArray& jpeg, const QString& path,
                            int quality, QString* error);

}  // namespace lumigrave
