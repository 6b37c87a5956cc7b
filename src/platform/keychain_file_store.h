#pragma once

#include <QString>
#include <optional>

namespace lumigrave {

// The logins kept in a property list file (a dict of services, each a dict of accounts
// and their secrets) that only its owner may read or write. Each change rewrites the whole
// file atomically. A file that cannot be understood is never overwritten: a change sets it
// aside under a new name, with a log line, and starts a new store, so nothing in it is lost.
class KeychainFileStore {
  public:
    explicit KeychainFileStore(QString path) : path_(std::move(path)) {}

    std::optional<QString> password(const QString& service, const QString& account,
                                    QString* errorMessage) const;
    bool setPassword(const QString& service, const QString& account, const QString& password,
                     QString* errorMessage) const;
    bool deletePassword(const QString& service, const QString& account,
                        QString* errorMessage) const;

  private:
    QString path_;
};

}  // namespace lumigrave
