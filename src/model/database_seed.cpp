#include "model/database_seed.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace lumigrave {

bool seedDatabaseFile(const QString& seedPath, const QString& databasePath) {
    if (QFileInfo::exists(databasePath)) {
        return true;
    }
    QFile seed(seedPath);
    if (seedPath.isEmpty() || !seed.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "No seed database to copy from" << seedPath;
        return false;
    }
    QSaveFile target(databasePath);
    if (!target.open(QIODevice::WriteOnly)) {
        qWarning().noquote() << "Cannot create" << databasePath << ":" << target.errorString();
        return false;
    }
    while (!seed.atEnd()) {
        const QByteArray chunk = seed.read(1 << 16);
        if (chunk.isEmpty() || target.write(chunk) != chunk.size()) {
            qWarning().noquote() << "Cannot copy the seed database to" << databasePath;
            target.cancelWriting();
            return false;
        }
    }
    if (!target.commit()) {
        qWarning().noquote() << "Cannot write" << databasePath << ":" << target.errorString();
        return false;
    }
    QFile::setPermissions(databasePath, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}

}  // namespace lumigrave
