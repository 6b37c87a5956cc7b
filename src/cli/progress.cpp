#include "cli/progress.h"

namespace lumigrave::cli {

namespace {

constexpr int kBarWidth = 30;

QString duration(double seconds) {
    const qint64 s = qint64(seconds + 0.5);
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

Progress::Progress(QTextStream& err, int total, bool terminal)
    : err_(err), total_(total), terminal_(terminal) {
    clock_.start();
    if (terminal_) {
        drawBar();
    }
}

void Progress::finished(const QString& input, bool written, const QString& message) {
    std::lock_guard lock(mutex_);
    (written ? written_ : failed_) += 1;
    const int done = written_ + failed_;
    if (terminal_) {
        if (!written) {
            err_ << "\r\033[K" << input << ": " << message << "\n";
        }
        drawBar();
    } else {
        err_ << "[" << done << "/" << total_ << "] " << input << ": "
             << (written ? QStringLiteral("written") : message) << "\n";
    }
    err_.flush();
}

void Progress::drawBar() {
    const int done = written_ + failed_;
    const double seconds = clock_.elapsed() / 1000.0;
    const int filled = total_ > 0 ? kBarWidth * done / total_ : kBarWidth;
    QString line =
        QStringLiteral("\r\033[K[%1%2] %3/%4")
            .arg(QString(filled, QLatin1Char('#')), QString(kBarWidth - filled, QLatin1Char('-')))
            .arg(done)
            .arg(total_);
    if (done > 0 && seconds > 0) {
        const double rate = done / seconds;
        line += QStringLiteral("  %1 photos/s  %2 left")
                    .arg(rate, 0, 'f', 2)
                    .arg(duration((total_ - done) / rate));
    }
    err_ << line;
    err_.flush();
}

void Progress::summary() {
    std::lock_guard lock(mutex_);
    if (terminal_) {
        err_ << "\n";
    }
    const double seconds = clock_.elapsed() / 1000.0;
    err_ << written_ << " written, " << failed_ << " failed, in "
         << (seconds < 60 ? QStringLiteral("%1 s").arg(seconds, 0, 'f', 1) : duration(seconds))
         << "\n";
    err_.flush();
}

}  // namespace lumigrave::cli
