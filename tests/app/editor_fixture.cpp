#include "editor_fixture.h"

#include <QFile>
#include <QFileInfo>

#include "support/widget_test_support.h"
#include "ui/alert_view.h"
#include "ui/navigation_bar.h"
#include "ui/on_screen.h"

namespace lumigrave::test {

namespace {
constexpr int kSlideMs = 1500;
}

void EditorTest::waitForTop(const std::function<bool()>& condition) {
    EXPECT_TRUE(ui::test::eventually(condition, kSlideMs));
    settle();
}

void EditorTest::clickDone() {
    click(navigation().navigationBar()->rightWidget());
    waitForTop([&] { return backOnMainScreen(); });
}

void EditorTest::clickCancel() {
    click(navigation().navigationBar()->leftWidget());
    waitForTop([&] { return backOnMainScreen(); });
}

QByteArray EditorTest::databaseBytes() {
    QFile file(app().appDatabasePath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

EmbosserList EditorTest::storedPresets() {
    EmbosserList list;
    EXPECT_TRUE(loadEmbossers(app().appDatabasePath(), 0, list, nullptr));
    return list;
}

QStringList EditorTest::alertTexts() {
    QStringList texts;
    for (ui::AlertView* alert : ui::OnScreen::all<ui::AlertView>()) {
        texts << alert->title() << alert->message();
    }
    return texts;
}

ReadOnlyDatabase::ReadOnlyDatabase(const QString& home, const QString& path) : path_(path) {
    const QString top = QFileInfo(home).absoluteFilePath();
    for (QString dir = QFileInfo(path).absolutePath(); dir.startsWith(top);
         dir = QFileInfo(dir).absolutePath()) {
        makeWorldReadable(dir.toUtf8().constData(), true);
        if (dir == top) {
            break;
        }
    }
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    nobody_.emplace();
}

ReadOnlyDatabase::~ReadOnlyDatabase() {
    nobody_.reset();
    QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace lumigrave::test
