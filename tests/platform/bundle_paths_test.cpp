#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "platform/bundle.h"
#include "platform/paths.h"
#include "support/temp_home.h"

namespace lumigrave {
namespace {

TEST(Bundle, FindsResourcesByNameAndType) {
    EXPECT_FALSE(Bundle::pathForResource("app_data", "sqlite").isEmpty());
    EXPECT_FALSE(Bundle::pathForResource("copyright", "txt").isEmpty());
    EXPECT_TRUE(Bundle::pathForResource("app_data", "db").isEmpty());
    EXPECT_TRUE(Bundle::pathForResource("images", "").isEmpty());  // a directory, not a file
    EXPECT_TRUE(Bundle::pathForResource("", "sqlite").isEmpty());
}

TEST(Bundle, InformationKeys) {
    EXPECT_EQ(Bundle::infoValue("CFBundleDisplayName"), "Lumigrave");
    EXPECT_EQ(Bundle::infoValue("CFBundleName"), "lumigrave");
    EXPECT_TRUE(Bundle::infoValue("CFBundleVersion").contains('.'));
    EXPECT_TRUE(Bundle::infoValue("CFBundleIdentifier").isEmpty());
}

TEST(Bundle, TheDemoPhotoIsALargeEnoughDoubleScaleJpeg) {
    const QString path = Bundle::pathForResource("images/water-lake@2x", "JPG");
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(Bundle::scaleForResourceName("images/water-lake@2x.JPG"), 2);
    EXPECT_EQ(Bundle::scaleForResourceName("images/water-lake.JPG"), 1);
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    const QSize size = reader.size();
    EXPECT_GE(std::max(size.width(), size.height()), 1600);
    EXPECT_LT(QFileInfo(path).size(), 1024 * 1024);
    EXPECT_FALSE(reader.read().isNull());
}

TEST(Paths, AllLiveInTheHomeAndAreCreatedOnDemand) {
    test::TempHome home;
    const QString documents = Paths::documentsDirectory();
    EXPECT_TRUE(documents.startsWith(home.path())) << documents.toStdString();
    EXPECT_TRUE(QFileInfo(documents).isDir());
    EXPECT_EQ(Paths::appDatabasePath(), QDir(documents).filePath("app_data.sqlite"));
    for (const QString& dir :
         {Paths::cachesDirectory(), Paths::photoAlbumDirectory(), Paths::configDirectory()}) {
        EXPECT_TRUE(dir.startsWith(home.path())) << dir.toStdString();
        EXPECT_TRUE(QFileInfo(dir).isDir()) << dir.toStdString();
    }
    EXPECT_TRUE(Paths::photoAlbumDirectory().endsWith("Lumigrave"));
}

TEST(Paths, ADirectoryThatCannotBeMadeGivesAnEmptyPath) {
    test::TempHome home;
    // A plain file where the data directory should be.
    QFile blocker(home.filePath(".local"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_TRUE(Paths::documentsDirectory().isEmpty());
    EXPECT_TRUE(Paths::appDatabasePath().isEmpty());
}

}  // namespace
}  // namespace lumigrave
