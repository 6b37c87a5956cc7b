#pragma once

#include <QIODevice>

namespace lumigrave {

// A write-only device in front of another that takes every write whole or fails it.
//
// A device may take only part of a write: a file that reaches the disk's or the
// process's size limit does, and Qt's file classes then report success for the part
// and drop the error. Encoders that only look for −1 (Qt's JPEG writer among them) would
// carry on and call a cut-off file complete. Here the rest is offered again, which makes
// the device say why it stops, and the write fails (−1) with the device's error string.
class WholeWriteDevice : public QIODevice {
  public:
    explicit WholeWriteDevice(QIODevice& target);

    // Opens write-only and unbuffered: every write reaches the target at once.
    bool open();
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

  private:
    QIODevice& target_;
};

}  // namespace lumigrave
