#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <map>

namespace lumigrave::test {

// Points HOME and the XDG directories at a fresh temporary directory for the lifetime of
// the object, so a test never reads or writes the user's database, settings or pictures.
// The previous values come back when it goes.
class TempHome {
  public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return dir_.path(); }
    // A path inside the home (nothing is created).
    QString filePath(const QString& relative) const { return dir_.filePath(relative); }

  private:
    QTemporaryDir dir_;
    std::map<QByteArray, std::pair<bool, QByteArray>> saved_;
};

}  // namespace lumigrave::test
