#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace lumigrave::sharing {

// The files that carry a stored share item's data and image: written whole into
// "ShareAttachmentSaveDir" in the caches directory, and referred to by their absolute
// path. Only files inside that directory are ever read back or deleted, whatever a
// stored item names.
class ShareAttachments {
  public:
    // What reading an attachment does to its file: an item restored once (across a login)
    // consumes it; an item read from the offline queue keeps it, since its entry may stay
    // queued after a failed send.
    enum class Use { Consume, Keep };

    // The directory, created when missing; empty when it cannot be.
    static QString directory();
    // Writes data under a new "%f-%i" name (seconds since 1970, a random number) and
    // returns its absolute path; nothing, with *errorMessage, when it cannot be written.
    static std::optional<QString> save(const QByteArray& data, QString* errorMessage);
    // The data of the attachment reference names; nothing, with a log line, when it names no
    // readable file in the directory.
    static std::optional<QByteArray> restore(const QString& reference, Use use);
    // Deletes the attachment; true when it is gone (or never was). A reference outside the
    // directory is left alone and answers false.
    static bool remove(const QString& reference);

  private:
    // The reference's canonical path when it names a file inside the directory.
    static std::optional<QString> containedPath(const QString& reference);
};

}  // namespace lumigrave::sharing
