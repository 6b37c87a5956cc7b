#include "platform/photo_album.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "platform/run_loop.h"

namespace lumigrave {

namespace {

PhotoAlbum::Clock& installedClock() {
    static PhotoAlbum::Clock instance;
    return instance;
}

QDateTime now() {
    return installedClock() ? installedClock()() : QDateTime::currentDateTime();
}

}  // namespace

void PhotoAlbum::setClock(Clock instance) {
    installedClock() = std::move(instance);
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

bool PhotoAlbum::writeImage(const Image& image, const PhotoMetadata& metadata, QString* path,
                            QString* error) {
    const QString album = directory(error);
    if (album.isEmpty()) {
        return false;
    }
    const QString target = freePath(album, now());
    if (!saveWithMetadata(image, target, "jpeg", kJpegQuality, metadata, false, error)) {
        return false;
    }
    if (path) {
        *path = target;
    }
    return true;
}

void PhotoAlbum::writeImageToSavedPhotosAlbum(const Image& image, const PhotoMetadata& metadata,
                                              const QObject* target, Completion completion) {
    QString error;
    std::optional<QString> outcome;
    if (!writeImage(image, metadata, nullptr, &error)) {
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
