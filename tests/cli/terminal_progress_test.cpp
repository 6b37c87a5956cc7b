// On a terminal the batch shows one bar redrawn in place; it needs a real terminal, so
// the command runs on a pseudo-terminal here.
#include <gtest/gtest.h>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QString>

#include "support/image_files.h"
#include "support/temp_home.h"

namespace lumigrave {
namespace {

struct TerminalRun {
    int status = -1;
    QString screen;
};

TerminalRun runOnTerminal(const QStringList& arguments) {
    std::vector<QByteArray> storage{QByteArray(LUMIGRAVE_CLI)};
    for (const QString& a : arguments) {
        storage.push_back(a.toUtf8());
    }
    std::vector<char*> argv;
    for (QByteArray& a : storage) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    TerminalRun run;
    if (child < 0) {
        return run;
    }
    QByteArray screen;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) {
            break;  // the child closed the terminal
        }
        screen.append(buffer, n);
    }
    int status = 0;
    waitpid(child, &status, 0);
    close(master);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.screen = QString::fromUtf8(screen);
    return run;
}

TEST(TerminalProgress, ABarWithCountRateAndTimeLeftIsRedrawnInPlace) {
    test::TempHome home;
    QStringList args{"apply", "--jobs", "1"};
    for (int i = 0; i < 3; ++i) {
        const QString path = home.filePath(QStringLiteral("photo%1.jpg").arg(i));
        ASSERT_TRUE(test::writeFile(path, test::encode(test::testPhoto(640, 480), "jpeg")));
        args << path;
    }
    const QString bad = home.filePath("bad.jpg");
    ASSERT_TRUE(test::writeFile(bad, "not a photo"));
    args << bad << "-o" << home.filePath("out");

    const TerminalRun run = runOnTerminal(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.screen.contains("\r\033[K[")) << run.screen.toStdString();
    EXPECT_TRUE(run.screen.contains("] 4/4")) << run.screen.toStdString();
    EXPECT_TRUE(run.screen.contains("photos/s")) << run.screen.toStdString();
    EXPECT_TRUE(run.screen.contains(" left")) << run.screen.toStdString();
    // The failure is said on a line of its own, above the bar.
    EXPECT_TRUE(run.screen.contains(bad + ": The file is not an image"))
        << run.screen.toStdString();
    EXPECT_TRUE(run.screen.contains("3 written, 1 failed"));
    EXPECT_EQ(QDir(home.filePath("out")).entryList(QDir::Files).size(), 3);
}

}  // namespace
}  // namespace lumigrave
