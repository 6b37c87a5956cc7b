#pragma once

#include <QString>
#include <functional>

class QIODevice;

namespace lumigrave {

// Fills a file through write, whole or not at all: write gets a temporary file beside
// path, which takes path's place only when write succeeded and every byte reached the
// disk. On failure nothing new is left behind (a file already at path stays as it was)
// and *error is the cause: write's own message, or the file system's error.
bool writeFileAtomically(const QString& path,
                         const std::function<bool(QIODevice& file, QString* error)>& write,
                         QString* error);

}  // namespace lumigrave
