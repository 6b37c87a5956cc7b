#pragma once

#include <QString>
#include <QStringList>

namespace lumigrave::test {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// Runs lumigrave-cli as a user does: a separate process, in the current environment
// (a test's temporary home).
CliRun runCli(const QStringList& arguments);

}  // namespace lumigrave::test
