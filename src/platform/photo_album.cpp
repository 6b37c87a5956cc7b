#include "platform/photo_album.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/run_loop.h"

namespace lumigrave {

namespace {

PhotoAlbum::Clock& clock() {
    static PhotoAlbum::Clock instance;
    return instance;
}

QDateTime now() {
    return clock() ? clock()() : QDateTime::currentDateTime();
}

}  // namespace

void PhotoAlbum::setClock(Clock instance) {
    clock() = std::move(instance);
}

QString PhotoAlbum::fileName(const QDateTime& when, int number) {
    QString name =
        QStringLiteral("Lumigrave ") + when.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    if (number > 1) {
        name += QLatin1Char(' ') + QString::number(number);
    }
    return name + QStringLiteral(".jpg");
}

QString PhotoAlbum::freePath(const QString& directory, const QDateTime& when) {
    const QDir dir(directory);
    for (int number = 1;; ++number) {
        const QString path = dir.filePath(fileName(when, number));
        // A dangling link takes the name too: writing through it would land elsewhere.
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink()) {
            return path;
        }
    }
}

QString PhotoAlbum::directory(QString* error) {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty()) {
        if (error) {
            *error = QStringLiteral("There is no Pictures folder.");
        }
        return {};
    }
    const QString album = QDir(pictures).filePath(QStringLiteral("Lumigrave"));
    // std::filesystem rather than QDir::mkpath: the user is told the system's reason.
    std::error_code code;
    std::filesystem::create_directories(album.toStdString(), code);
    if (code) {
        if (error) {
            *error = QString::fromStdString(code.message());
        }
        return {};
    }
    return album;
}

bool PhotoAlbum::writeImage(const Image& image, QString* path, QString* error) {
    const QString album = directory(error);
    if (album.isEmpty()) {
        return false;
    }
    // Encoded in memory first, so the file is written in one piece and a failed encoding
    // never touches the album.
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        if (!image.write(buffer, "jpeg", kJpegQuality, error)) {
            return false;
        }
    }
    const QString target = freePath(album, now());
    const bool written = writeFileAtomically(
        target,
        [&jpeg](QIODevice& file, QString* why) {
            if (file.write(jpeg) != jpeg.size()) {
                *why = file.errorString();
                return false;
            }
            return true;
        },
        error);
    if (written && path) {
        *path = target;
    }
    return written;
}

void PhotoAlbum::writeImageToSavedPhotosAlbum(const Image& image, const QObject* target,
                                              Completion completion) {
    QString error;
    std::optional<QString> outcome;
    if (!writeImage(image, nullptr, &error)) {
        outcome = error;
    }
    RunLoop::performAfter(
        0,
        [image, outcome, completion = std::move(completion)] {
            if (completion) {
                completion(image, outcome);
            }
        },
        target);
}

}  // namespace lumigrave
