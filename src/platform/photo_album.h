#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "platform/image.h"
#include "platform/photo_metadata.h"

namespace lumigrave {

// The photo album: Pictures/Lumigrave (the XDG pictures directory), where saved photos
// go as JPEG files named after the moment they were saved.
class PhotoAlbum {
  public:
    // How a write ended: no error, or the description the system gave for it ("No space
    // left on device", "Permission denied").
    using Completion = std::function<void(const Image& image, const std::optional<QString>& error)>;
    // What says the time a photo is saved at; tests fix it.
    using Clock = std::function<QDateTime()>;

    inline static constexpr int kJpegQuality = 95;

    // Writes image into the album, with the source photo's metadata (never its GPS
    // position), and calls completion on a later turn of the run loop, never from within
    // this call, as a save that runs in the background would. When target is given and
    // destroyed first, completion is dropped (the file stays).
    static void writeImageToSavedPhotosAlbum(const Image& image, const PhotoMetadata& metadata,
                                             const QObject* target, Completion completion);

    // The same work done at once: the album directory made when missing, the photo
    // written whole under a free name. On failure no file is left and *error is the
    // system's description; on success *path is the new file.
    static bool writeImage(const Image& image, const PhotoMetadata& metadata, QString* path,
                           QString* error);

    // "Lumigrave YYYY-MM-DD HH.MM.SS.jpg" for the first, " 2", " 3"... before the
    // extension for the later ones of the same second.
    static QString fileName(const QDateTime& when, int number);
    // The first of those names that no file in directory takes.
    static QString freePath(const QString& directory, const QDateTime& when);
    // Pictures/Lumigrave, made when missing; empty with *error saying why otherwise.
    static QString directory(QString* error);

    // Installs the clock; null restores the computer's local time.
    static void setClock(Clock clock);
};

}  // namespace lumigrave
