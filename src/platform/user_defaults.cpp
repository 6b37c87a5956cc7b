#include "platform/user_defaults.h"

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

void UserDefaults::removeObjectForKey(const QString& key) {
    settings_->remove(key);
}

bool UserDefaults::synchronize() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

QString UserDefaults::filePath() const {
    return settings_->fileName();
}

}  // namespace lumigrave
