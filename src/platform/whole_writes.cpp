#include "platform/whole_writes.h"

namespace lumigrave {

WholeWriteDevice::WholeWriteDevice(QIODevice& target) : target_(target) {}

bool WholeWriteDevice::open() {
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 WholeWriteDevice::writeData(const char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const qint64 written = target_.write(data + done, size - done);
        if (written <= 0) {
            setErrorString(target_.errorString());
            return -1;
        }
        done += written;
    }
    return done;
}

}  // namespace lumigrave
