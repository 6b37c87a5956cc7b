#pragma once

#include <QStringList>
#include <QtMessageHandler>

namespace lumigrave::test {

// Collects the log lines written while it lives instead of printing them.
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const QStringList& lines() const { return lines_; }
    bool contains(const QString& line) const { return lines_.contains(line); }

  private:
    static void handler(QtMsgType, const QMessageLogContext&, const QString& message);
    QStringList lines_;
    QtMessageHandler previous_;
};

}  // namespace lumigrave::test
