#pragma once

#include <QByteArray>

namespace lumigrave {

// Whether a JPEG stream reaches its end-of-image marker after its first scan. The JPEG
// decoder fills a truncated photo with grey and reports success, so completeness is
// checked on the bytes themselves. Data that does not start like a JPEG is not judged
// here (true).
bool jpegIsComplete(const QByteArray& data);

}  // namespace lumigrave
