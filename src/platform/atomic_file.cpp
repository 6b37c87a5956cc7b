#include "platform/atomic_file.h"

#include <QSaveFile>

#include "platform/whole_writes.h"

namespace lumigrave {

bool writeFileAtomically(const QString& path,
                         const std::function<bool(QIODevice& file, QString* error)>& write,
                         QString* error) {
    auto fail = [&](const QString& message) {
        if (error) {
            *error = message;
        }
        return false;
    };
    // Unbuffered, so that every byte has reached the file by the time write returns: a
    // buffered QSaveFile that can flush only part of its buffer at commit reports
    // success and renames a cut-off file into place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fail(file.errorString());
    }
    WholeWriteDevice whole(file);
    whole.open();
    QString message;
    if (!write(whole, &message)) {
        file.cancelWriting();  // the temporary file goes with the object
        return fail(message);
    }
    if (!file.commit()) {
        return fail(file.errorString());
    }
    return true;
}

}  // namespace lumigrave
