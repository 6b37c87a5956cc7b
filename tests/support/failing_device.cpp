#include "support/failing_device.h"

#include <algorithm>

namespace lumigrave::test {

FailingDevice::FailingDevice(qint64 limit, QIODevice* passTo) : limit_(limit), passTo_(passTo) {}

qint64 FailingDevice::writeData(const char* data, qint64 size) {
    const qint64 room = std::max<qint64>(0, limit_ - accepted_);
    const qint64 take = std::min(room, size);
    if (take < size) {
        failed_ = true;
        setErrorString(QString::fromLatin1(kError));
    }
    if (take == 0) {
        return size == 0 ? 0 : -1;
    }
    if (passTo_ != nullptr) {
        if (passTo_->write(data, take) != take) {
            failed_ = true;
            setErrorString(passTo_->errorString());
            return -1;
        }
    } else {
        taken_.append(data, take);
    }
    accepted_ += take;
    return take;
}

}  // namespace lumigrave::test
