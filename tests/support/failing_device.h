#pragma once

#include <QByteArray>
#include <QIODevice>

namespace lumigrave::test {

// A write-only device that takes the first limit bytes and then fails, as a disk that
// fills up does: the write that crosses the limit takes what still fits and returns the
// shorter count, every later one returns −1; both set the error string. What it took is
// kept, or passed on to another device (a file, say) when one is given.
class FailingDevice : public QIODevice {
  public:
    static constexpr const char* kError = "No space left on device";

    explicit FailingDevice(qint64 limit, QIODevice* passTo = nullptr);

    // Opens write-only.
    bool open() { return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

    qint64 accepted() const { return accepted_; }
    const QByteArray& taken() const { return taken_; }
    // Whether a write was refused in part or whole.
    bool failed() const { return failed_; }

    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

  private:
    qint64 limit_;
    QIODevice* passTo_;
    qint64 accepted_ = 0;
    QByteArray taken_;
    bool failed_ = false;
};

}  // namespace lumigrave::test
