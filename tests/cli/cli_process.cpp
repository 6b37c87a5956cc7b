#include "cli/cli_process.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace lumigrave::test {

CliRun runCli(const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    process.start(QStringLiteral(LUMIGRAVE_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    return CliRun{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                  QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace lumigrave::test
