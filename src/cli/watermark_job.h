#pragma once

#include <QString>

#include "model/embosser.h"

namespace lumigrave::cli {

// How one photo is watermarked: the preset, the output's longer side (0 keeps the
// photo's size), a quarter turn (0, 2 left, 3 right) and the encoding.
struct JobSettings {
    const Embosser* embosser = nullptr;
    qint64 outputLength = 0;
    int rotate = 0;
    QString format;
    int quality = 90;
    bool overwrite = false;
    // The source's metadata is kept in the result; its GPS position only when this says so.
    bool keepGps = false;
};

struct JobResult {
    bool written = false;
    QString message;  // why not, for the user
};

// Loads the photo, refuses it when too small, scales it through the same output-size
// list as the application, turns it, watermarks it and writes it atomically to output.
// An existing output is left alone unless overwrite is set.
JobResult watermarkPhoto(const QString& input, const QString& output, const JobSettings& settings);

}  // namespace lumigrave::cli
