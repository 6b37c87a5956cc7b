#include "sharing/share_attachments.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>

#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace lumigrave::sharing {

QString ShareAttachments::directory() {
    const QString caches = Paths::cachesDirectory();
    if (caches.isEmpty()) {
        return {};
    }
    const QString path = QDir(caches).filePath(QStringLiteral("ShareAttachmentSaveDir"));
    if (!QDir().mkpath(path)) {
        qWarning().noquote() << "Cannot create the directory" << path;
        return {};
    }
    return path;
}

std::optional<QString> ShareAttachments::save(const QByteArray& data, QString* errorMessage) {
    const QString folder = directory();
    if (folder.isEmpty()) {
        *errorMessage = QStringLiteral("There is no folder for the share's attachments");
        return std::nullopt;
    }
    QString path;
    do {
        const double seconds = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        const int random = int(QRandomGenerator::global()->bounded(0x7fffffff));
        path = QDir(folder).filePath(QString::asprintf("%f-%i", seconds, random));
    } while (QFileInfo::exists(path));
    const bool written = writeFileAtomically(
        path,
        [&data](QIODevice& file, QString* error) {
            if (file.write(data) != data.size()) {
                *error = file.errorString();
                return false;
            }
            return true;
        },
        errorMessage);
    if (!written) {
        return std::nullopt;
    }
    return QFileInfo(path).absoluteFilePath();
}

std::optional<QString> ShareAttachments::containedPath(const QString& reference) {
    const QString folder = directory();
    if (folder.isEmpty() || reference.isEmpty()) {
        return std::nullopt;
    }
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(reference);
    if (!file.isAbsolute()) {
        return std::nullopt;
    }
    // The file's own directory, resolved, must be the attachments' directory: a
    // reference cannot climb out with ".." or a link.
    const QString canonicalParent = QFileInfo(file.absolutePath()).canonicalFilePath();
    if (canonicalParent.isEmpty() || canonicalParent != canonicalFolder ||
        file.fileName().isEmpty() || file.fileName() == QLatin1String("..") ||
        file.fileName() == QLatin1String(".")) {
        return std::nullopt;
    }
    return QDir(canonicalFolder).filePath(file.fileName());
}

std::optional<QByteArray> ShareAttachments::restore(const QString& reference, Use use) {
    const std::optional<QString> path = containedPath(reference);
    if (!path) {
        qWarning().noquote() << "A share attachment outside" << directory()
                             << "is not read:" << reference;
        return std::nullopt;
    }
    QFile file(*path);
    if (QFileInfo(*path).isSymLink() || !file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "The share attachment" << *path
                             << "cannot be read; the item has no attachment there";
        return std::nullopt;
    }
    QByteArray data = file.readAll();
    file.close();
    if (use == Use::Consume && !QFile::remove(*path)) {
        qWarning().noquote() << "The share attachment" << *path << "could not be deleted";
    }
    return data;
}

bool ShareAttachments::remove(const QString& reference) {
    const std::optional<QString> path = containedPath(reference);
    if (!path) {
        qWarning().noquote() << "A share attachment outside" << directory()
                             << "is not deleted:" << reference;
        return false;
    }
    if (!QFileInfo::exists(*path) && !QFileInfo(*path).isSymLink()) {
        return true;
    }
    if (!QFile::remove(*path)) {
        qWarning().noquote() << "The share attachment" << *path << "could not be deleted";
        return false;
    }
    return true;
}

}  // namespace lumigrave::sharing
