#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>
#include <mutex>

namespace lumigrave::cli {

// Reports a batch as it goes: on a terminal one bar, redrawn in place, with the count,
// the rate and the time left; otherwise a plain line per photo. Safe to call from the
// worker threads.
class Progress {
  public:
    Progress(QTextStream& err, int total, bool terminal);

    void finished(const QString& input, bool written, const QString& message);
    // The closing line: how many were written and how many failed.
    void summary();

    int written() const { return written_; }
    int failed() const { return failed_; }

  private:
    void drawBar();

    QTextStream& err_;
    const int total_;
    const bool terminal_;
    int written_ = 0;
    int failed_ = 0;
    QElapsedTimer clock_;
    std::mutex mutex_;
};

}  // namespace lumigrave::cli
