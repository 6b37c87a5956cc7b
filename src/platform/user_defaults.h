#pragma once

#include <QSettings>
#include <QStringList>
#include <memory>

namespace lumigrave {

// The small preferences store. A key never set reads as 0, false or an empty string.
// Values written are kept in memory until synchronize() writes them to the INI file in
// the configuration directory.
class UserDefaults {
  public:
    UserDefaults();
    // A store kept in the given INI file instead of the configuration directory.
    explicit UserDefaults(const QString& filePath);

    qint64 integerForKey(const QString& key) const;
    void setInteger(const QString& key, qint64 value);
    bool boolForKey(const QString& key) const;
    void setBool(const QString& key, bool value);
    QString stringForKey(const QString& key) const;
    void setString(const QString& key, const QString& value);
    // A list of strings: empty when none is stored; a single string reads as a list of it.
    QStringList stringListForKey(const QString& key) const;
    // Stored so that the INI file still reads as text ("a, b"); an empty list stays
    // distinct from none.
    void setStringList(const QString& key, const QStringList& value);
    // Whether anything is stored under key, an empty list included.
    bool hasObjectForKey(const QString& key) const;
    void removeObjectForKey(const QString& key);

    // Writes pending changes; false, with the file and the reason logged, when the file
    // cannot be written. The changes are kept in memory either way.
    bool synchronize();
    QString filePath() const;

  private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace lumigrave
