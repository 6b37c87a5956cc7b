#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include "platform/image.h"
#include "support/failing_device.h"
#include "support/file_size_limit.h"
#include "support/image_files.h"

namespace lumigrave {
namespace {

class AtomicFile : public testing::Test {
  protected:
    QString target() const { return dir_.filePath(QStringLiteral("photo.jpg")); }
    QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir_;
};

TEST_F(AtomicFile, AWriteThatSucceedsReplacesTheFile) {
    ASSERT_TRUE(test::writeFile(target(), "old"));
    QString error;
    ASSERT_TRUE(writeFileAtomically(
        target(), [](QIODevice& file, QString*) { return file.write("new", 3) == 3; }, &error));
    EXPECT_EQ(test::readFile(target()), QByteArray("new"));
    EXPECT_EQ(files(), QStringList{"photo.jpg"});
}

// The writer fails part-way, with real bytes already in the temporary file: nothing is
// left of them, the old file stays, and the writer's own message comes back.
TEST_F(AtomicFile, AWriteThatFailsPartWayLeavesNothingNew) {
    for (const bool existing : {false, true}) {
        if (existing) {
            ASSERT_TRUE(test::writeFile(target(), "old"));
        }
        QString error;
        EXPECT_FALSE(writeFileAtomically(
            target(),
            [](QIODevice& file, QString* why) {
                test::FailingDevice disk(5000, &file);
                disk.open();
                const QByteArray chunk(3000, 'x');
                if (disk.write(chunk) != chunk.size() || disk.write(chunk) != chunk.size()) {
                    *why = QStringLiteral("stopped after %1 bytes").arg(disk.accepted());
                    return false;
                }
                return true;
            },
            &error));
        EXPECT_EQ(error, QStringLiteral("stopped after 5000 bytes"));
        EXPECT_EQ(files(), existing ? QStringList{"photo.jpg"} : QStringList{});
        if (existing) {
            EXPECT_EQ(test::readFile(target()), QByteArray("old"));
        }
    }
}

// A file that takes only part of a write (the disk fills up) makes the write fail with
// the file system's words, though Qt's file would report the part as success.
TEST_F(AtomicFile, ADiskThatFillsUpAtTheEndLeavesNothing) {
    QString error;
    bool written;
    {
        test::FileSizeLimit fullDisk(10);
        written = writeFileAtomically(
            target(),
            [](QIODevice& file, QString* why) {
                *why = file.errorString();
                return file.write("0123456789ABC") == 13 || (*why = file.errorString(), false);
            },
            &error);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(error, QStringLiteral("File too large"));
    EXPECT_TRUE(files().isEmpty()) << files().join(", ").toStdString();
}

TEST_F(AtomicFile, AFolderThatIsNotThereIsAFailure) {
    QString error;
    bool called = false;
    EXPECT_FALSE(writeFileAtomically(
        dir_.filePath(QStringLiteral("missing/photo.jpg")),
        [&](QIODevice&, QString*) { return called = true; }, &error));
    EXPECT_FALSE(called);
    EXPECT_FALSE(error.isEmpty());
}

// The image writer through a device that stops taking bytes, at once, part-way or one
// byte short of the end: a failure with the device's error, not the encoder's "Unknown
// error", and never a cut-off file called complete.
TEST(ImageWriter, ADeviceThatStopsTakingBytesIsReportedWithItsError) {
    const Image photo(test::testPhoto(400, 300));
    for (const char* format : {"png", "jpeg"}) {
        QBuffer whole;
        whole.open(QIODevice::WriteOnly);
        ASSERT_TRUE(photo.write(whole, format, 90, nullptr));
        for (const qint64 limit : {qint64(0), qint64(100), whole.size() / 2, whole.size() - 1}) {
            test::FailingDevice device(limit);
            device.open();
            QString error;
            EXPECT_FALSE(photo.write(device, format, 90, &error)) << format << " " << limit;
            EXPECT_EQ(error, QString::fromLatin1(test::FailingDevice::kError))
                << format << " " << limit;
        }
    }
}

TEST(ImageWriter, SavingOnAFullDiskLeavesNoFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.png"));
    const Image photo(test::testPhoto(400, 300));
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    ASSERT_TRUE(photo.write(whole, "png", -1, nullptr));
    QString error;
    bool saved;
    {
        test::FileSizeLimit fullDisk(rlim_t(whole.size() - 10));
        saved = photo.save(path, "png", -1, &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, QStringLiteral("File too large"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

}  // namespace
}  // namespace lumigrave
