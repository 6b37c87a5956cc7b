#include "platform/user_defaults.h"

#include <QDebug>
#include <QDir>

#include "platform/paths.h"

namespace lumigrave {

UserDefaults::UserDefaults()
    : UserDefaults(QDir(Paths::configDirectory()).filePath(QStringLiteral("lumigrave.conf"))) {}

UserDefaults::UserDefaults(const QString& filePath)
    : settings_(std::make_unique<QSettings>(filePath, QSettings::IniFormat)) {}

qint64 UserDefaults::integerForKey(const QString& key) const {
    bool ok = false;
    const qint64 value = settings_->value(key).toLongLong(&ok);
    return ok ? value : 0;
}

void UserDefaults::setInteger(const QString& key, qint64 value) {
    settings_->setValue(key, value);
}

bool UserDefaults::boolForKey(const QString& key) const {
    return settings_->value(key, false).toBool();
}

void UserDefaults::setBool(const QString& key, bool value) {
    settings_->setValue(key, value);
}

QString UserDefaults::stringForKey(const QString& key) const {
    return settings_->value(key).toString();
}

void UserDefaults::setString(const QString& key, const QString& value) {
    settings_->setValue(key, value);
}

QStringList UserDefaults::stringListForKey(const QString& key) const {
    return settings_->value(key).toStringList();
}

void UserDefaults::setStringList(const QString& key, const QStringList& value) {
    settings_->setValue(key, value);
}

bool UserDefaults::hasObjectForKey(const QString& key) const {
    return settings_->contains(key);
}

void UserDefaults::removeObjectForKey(const QString& key) {
    settings_->remove(key);
}

bool UserDefaults::synchronize() {
    // QSettings reports its first error for good. After a failure, a fresh one answers for
    // this attempt alone; it sees every change not yet written, since QSettings objects of
    // one file in one process share them.
    if (settings_->status() != QSettings::NoError) {
        settings_ = std::make_unique<QSettings>(settings_->fileName(), QSettings::IniFormat);
    }
    settings_->sync();
    const QSettings::Status status = settings_->status();
    if (status == QSettings::NoError) {
        return true;
    }
    // QSettings tells only the kind of failure, not the system's reason.
    const char* reason = status == QSettings::FormatError
                             ? "the file is not a valid INI file"
                             : "the file or its folder cannot be written";
    qWarning().noquote() << "The preferences could not be saved to" << filePath() << "-" << reason;
    return false;
}

QString UserDefaults::filePath() const {
    return settings_->fileName();
}

}  // namespace lumigrave
