#include "model/database_seed.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include "platform/atomic_file.h"

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
    QString error;
    const bool copied = writeFileAtomically(
        databasePath,
        [&](QIODevice& target, QString* why) {
            while (!seed.atEnd()) {
                const QByteArray chunk = seed.read(1 << 16);
                if (chunk.isEmpty()) {
                    *why = seed.errorString();
                    return false;
                }
                if (target.write(chunk) != chunk.size()) {
                    *why = target.errorString();
                    return false;
                }
            }
            return true;
        },
        &error);
    if (!copied) {
        qWarning().noquote() << "Cannot copy the seed database to" << databasePath << ":" << error;
        return false;
    }
    QFile::setPermissions(databasePath, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}

}  // namespace lumigrave
