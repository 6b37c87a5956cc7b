#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace lumigrave::sharing {

class ShareItem;

// A failure to show the user: domain "share", code 1 and the sentence itself.
struct ShareError {
    QString domain = QStringLiteral("share");
    int code = 1;
    QString localizedDescription;
};

// The sharing library's shared services: the favourite sharers per kind of item, the
// sharers' stored logins, the offline queue's entry point, the network's state. Main
// thread only. Favourites live in the user-defaults store; logins in the keyring,
// never in the preferences and never in a log.
class ShareCenter {
  public:
    // The favourite sharers for the item's kind: the stored list, or the configured
    // default (stored at once); names no group of the sharers list holds are dropped,
    // and so are the sharers the user excluded, each change stored.
    static QStringList favoriteSharersForItem(const ShareItem& item);
    // Moves sharerId to the front of the item's favourites and keeps at most
    // "maxFavCount" of them; nothing when "autoOrderFavoriteSharers" is off or the
    // sharer is excluded.
    static void pushOnFavorites(const QString& sharerId, const ShareItem& item);
    // The user-defaults key of the item's favourites: the prefix and the share type, or
    // for files the prefix and the MIME type.
    static QString favoritesKeyForItem(const ShareItem& item);
    // Every sharer id named in a group of the configured sharers list resource; nothing,
    // with a log line, when the resource cannot be read.
    static std::optional<QStringList> knownSharers();

    // A sharer's stored login value for a form field's key; nothing when none is stored
    // (errorMessage left empty) or the keyring failed (errorMessage set).
    static std::optional<QString> getAuthValueForKey(const QString& key, const QString& sharerId,
                                                     QString* errorMessage = nullptr);
    static bool setAuthValue(const QString& value, const QString& key, const QString& sharerId,
                             QString* errorMessage = nullptr);
    // True when nothing is stored afterwards.
    static bool removeAuthValueForKey(const QString& key, const QString& sharerId,
                                      QString* errorMessage = nullptr);

    // Queues the item for sharerId to send at a later start; false when the configuration
    // forbids offline sharing or the queue cannot be written (*errorMessage says which).
    static bool addToOfflineQueue(const ShareItem& item, const QString& sharerId,
                                  QString* errorMessage = nullptr);

    // Whether the Internet can be reached.
    static bool connected();
    // The error a report carries for message.
    static ShareError error(const QString& message);
};

}  // namespace lumigrave::sharing
