#pragma once

#include <QByteArray>
#include <QSize>

namespace lumigrave {

// Whether a JPEG stream reaches its end-of-image marker after its first scan. The JPEG
// decoder fills a truncated photo with grey and reports success, so completeness is
// checked on the bytes themselves. Data that does not start like a JPEG is not judged
// here (true).
bool jpegIsComplete(const QByteArray& data);

// Whether a BMP file holds as many bytes as its header says: the BMP decoder shows a
// cut-off file with the missing rows blank. Data that is not a BMP is not judged (true).
bool bmpIsComplete(const QByteArray& data);

// The pixel size a JPEG's frame header, a PNG's header or a GIF's logical screen
// declares, read from the bytes without decoding anything; invalid when the data is none
// of these, the header is cut off, or a GIF leaves its size to its frames.
QSize declaredPixelSize(const QByteArray& data);

}  // namespace lumigrave
