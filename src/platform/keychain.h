#pragma once

#include <QString>
#include <optional>

namespace lumigrave {

// Stored logins, each a secret under a service and an account name. They live in the
// desktop's Secret Service (the keyring) when one answers; where none does (no session
// bus, no keyring daemon, no answer in time) they live in a file in the application's data
// directory that only the user can read. Which of the two holds them is decided once per
// process, at the first call, and logged. No secret is ever written to a log.
//
// Call from the main thread. The calls wait for the keyring's answer in a local event loop
// (user input excluded), so timers and other deferred work may run inside them.
class Keychain {
  public:
    enum class Store { SecretService, File };

    // The secret, or nothing: *errorMessage is left empty when none is stored and is set
    // when the store could not be read.
    static std::optional<QString> password(const QString& service, const QString& account,
                                           QString* errorMessage);
    static bool setPassword(const QString& service, const QString& account, const QString& password,
                            QString* errorMessage);
    // True when nothing is stored under the names afterwards, whether or not it was before.
    static bool deletePassword(const QString& service, const QString& account,
                               QString* errorMessage);

    // The store in use, decided on first use.
    static Store store();
    // The file that holds the logins where no Secret Service answers.
    static QString fileStorePath();
    // Forgets the decision, so that the next call decides again in the current environment.
    static void resetForTesting();
    // How long a call waits for the keyring's answer (10 seconds unless set).
    static void setAnswerTimeoutForTesting(int milliseconds);
};

}  // namespace lumigrave
