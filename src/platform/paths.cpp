#include "platform/paths.h"

#include <QDebug>
#include <QDir>
#include <QStandardPaths>

namespace lumigrave {

namespace {

const QString kAppDirName = QStringLiteral("lumigrave");

QString ensured(const QString& base, const QString& leaf) {
    if (base.isEmpty()) {
        qWarning().noquote() << "No base directory for" << leaf;
        return {};
    }
    const QString path = QDir(base).filePath(leaf);
    if (!QDir().mkpath(path)) {
        qWarning().noquote() << "Cannot create the directory" << path;
        return {};
    }
    return path;
}

}  // namespace

QString Paths::documentsDirectory() {
    return ensured(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                   kAppDirName);
}

QString Paths::appDatabasePath() {
    const QString directory = documentsDirectory();
    return directory.isEmpty() ? QString()
                               : QDir(directory).filePath(QStringLiteral("app_data.sqlite"));
}

QString Paths::cachesDirectory() {
    return ensured(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation),
                   kAppDirName);
}

QString Paths::photoAlbumDirectory() {
    return ensured(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                   QStringLiteral("Lumigrave"));
}

QString Paths::configDirectory() {
    return ensured(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                   kAppDirName);
}

QString Paths::mailDraftsDirectory() {
    return ensured(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                   QStringLiteral("Lumigrave/Drafts"));
}

}  // namespace lumigrave
