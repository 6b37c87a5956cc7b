#include "platform/keychain_file_store.h"

#include <unistd.h>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QVariantMap>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/property_list.h"

namespace lumigrave {

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool fail(QString* errorMessage, const QString& message) {
    if (errorMessage) {
        *errorMessage = message;
    }
    return false;
}

// Nothing the file holds goes into a message: its content is secrets.
QString damagedMessage(const QString& path) {
    return QStringLiteral("The login store %1 is damaged and cannot be read.").arg(path);
}

enum class Loaded { Ok, Unreadable, Damaged };

// The services and their accounts, each an account name to its secret.
Loaded load(const QString& path, QVariantMap* services, QString* errorMessage) {
    services->clear();
    QFile file(path);
    if (!file.exists()) {
        return Loaded::Ok;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fail(errorMessage,
             QStringLiteral("Cannot read the login store %1: %2").arg(path, file.errorString()));
        return Loaded::Unreadable;
    }
    // Someone widened the file's permissions: take them back before anything else.
    if ((file.permissions() & ~(kOwnerOnly | QFileDevice::ReadUser | QFileDevice::WriteUser)) !=
        QFileDevice::Permissions()) {
        qWarning().noquote() << "The login store" << path
                             << "was readable by others; it is made readable by its owner only";
        file.setPermissions(kOwnerOnly);
    }
    const QByteArray xml = file.read(PropertyList::kMaxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        fail(errorMessage,
             QStringLiteral("Cannot read the login store %1: %2").arg(path, file.errorString()));
        return Loaded::Unreadable;
    }
    const std::optional<QVariant> root = PropertyList::fromXml(xml, nullptr);
    if (!root || root->metaType().id() != QMetaType::QVariantMap) {
        fail(errorMessage, damagedMessage(path));
        return Loaded::Damaged;
    }
    *services = root->toMap();
    for (const QVariant& accounts : std::as_const(*services)) {
        if (accounts.metaType().id() != QMetaType::QVariantMap) {
            fail(errorMessage, damagedMessage(path));
            return Loaded::Damaged;
        }
        for (const QVariant& secret : accounts.toMap()) {
            if (secret.metaType().id() != QMetaType::QString) {
                fail(errorMessage, damagedMessage(path));
                return Loaded::Damaged;
            }
        }
    }
    return Loaded::Ok;
}

// Loads the store for a change. A damaged file is renamed aside, so that the change starts
// a new store without losing what the old one held.
bool loadForChange(const QString& path, QVariantMap* services, QString* errorMessage) {
    const Loaded loaded = load(path, services, errorMessage);
    if (loaded != Loaded::Damaged) {
        return loaded == Loaded::Ok;
    }
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
    QString aside = QStringLiteral("%1.damaged-%2").arg(path, stamp);
    for (int n = 2; QFileInfo::exists(aside); ++n) {
        aside = QStringLiteral("%1.damaged-%2-%3").arg(path, stamp).arg(n);
    }
    if (!QFile::rename(path, aside)) {
        return fail(
            errorMessage,
            QStringLiteral("The login store %1 is damaged and cannot be set aside.").arg(path));
    }
    qWarning().noquote() << "The login store" << path << "is damaged; it is kept as" << aside
                         << "and a new store is started";
    services->clear();
    return true;
}

// Writes the whole store through a temporary file that is made readable by its owner only
// before any secret reaches it, then renamed over the old file in one step.
bool save(const QString& path, const QVariantMap& services, QString* errorMessage) {
    QString why;
    const QByteArray xml = PropertyList::toXml(services, &why);
    if (xml.isEmpty()) {
        return fail(errorMessage, QStringLiteral("Cannot write the login store: %1").arg(why));
    }
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open() || !file.setPermissions(kOwnerOnly)) {
        return fail(
            errorMessage,
            QStringLiteral("Cannot write the login store %1: %2").arg(path, file.errorString()));
    }
    if (file.write(xml) != xml.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        return fail(
            errorMessage,
            QStringLiteral("Cannot write the login store %1: %2").arg(path, file.errorString()));
    }
    // rename(2) replaces the old file in one step, which QFile::rename does not promise.
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        return fail(errorMessage, QStringLiteral("Cannot write the login store %1: %2")
                                      .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    file.setAutoRemove(false);
    return true;
}

}  // namespace

std::optional<QString> KeychainFileStore::password(const QString& service, const QString& account,
                                                   QString* errorMessage) const {
    QVariantMap services;
    if (load(path_, &services, errorMessage) != Loaded::Ok) {
        return std::nullopt;
    }
    const QVariantMap accounts = services.value(service).toMap();
    if (!accounts.contains(account)) {
        return std::nullopt;
    }
    return accounts.value(account).toString();
}

bool KeychainFileStore::setPassword(const QString& service, const QString& account,
                                    const QString& password, QString* errorMessage) const {
    QVariantMap services;
    if (!loadForChange(path_, &services, errorMessage)) {
        return false;
    }
    QVariantMap accounts = services.value(service).toMap();
    accounts.insert(account, password);
    services.insert(service, accounts);
    return save(path_, services, errorMessage);
}

bool KeychainFileStore::deletePassword(const QString& service, const QString& account,
                                       QString* errorMessage) const {
    QVariantMap services;
    if (!loadForChange(path_, &services, errorMessage)) {
        return false;
    }
    QVariantMap accounts = services.value(service).toMap();
    if (accounts.remove(account) == 0) {
        return true;
    }
    if (accounts.isEmpty()) {
        services.remove(service);
    } else {
        services.insert(service, accounts);
    }
    return save(path_, services, errorMessage);
}

}  // namespace lumigrave
