#include "sharing/offline_queue.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "platform/paths.h"
#include "sharing/share_center.h"
#include "sharing/share_configuration.h"
#include "sharing/share_item.h"
#include "support/file_size_limit.h"
#include "support/log_capture.h"
#include "support/temp_home.h"
#include "support/unprivileged.h"

namespace lumigrave::sharing {
namespace {

class OfflineQueueTest : public testing::Test {
  protected:
    OfflineQueueTest() { ShareConfiguration::sharedInstanceWithConfigurator(nullptr); }
    ~OfflineQueueTest() override { ShareConfiguration::sharedInstanceWithConfigurator(nullptr); }

    static ShareItem photo(const QString& title) {
        QImage pixels(4, 3, QImage::Format_RGB32);
        pixels.fill(qRgb(10, 120, 230));
        return ShareItem::image(Image(pixels), title);
    }
    static QStringList attachmentFiles() {
        return QDir(ShareAttachments::directory()).entryList(QDir::Files);
    }
    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    test::TempHome home_;
};

TEST_F(OfflineQueueTest, TheQueueLivesInTheSharedCachesFolder) {
    OfflineQueue queue;
    EXPECT_EQ(queue.path(),
              QDir(Paths::cachesDirectory()).filePath("Share/ShareOfflineQueue.plist"));
    EXPECT_FALSE(queue.exists());
    EXPECT_TRUE(queue.entries().empty());
}

TEST_F(OfflineQueueTest, EntriesAreAddedReadAndRemovedOneByOne) {
    OfflineQueue queue;
    QString error;
    ASSERT_TRUE(
        queue.add(ShareItem::URL(QUrl("http://example.org/1"), "one", 1), "FacebookSharer", &error))
        << error.toStdString();
    ASSERT_TRUE(queue.add(photo("two"), "FlickrSharer", &error));
    ASSERT_TRUE(queue.add(ShareItem::text("three"), "TwitterSharer", &error));
    std::vector<OfflineQueueEntry> entries = queue.entries(&error);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].sharerId, "FacebookSharer");
    EXPECT_EQ(entries[1].sharerId, "FlickrSharer");
    EXPECT_EQ(entries[0].item.value("title"), QVariant("one"));
    EXPECT_EQ(entries[0].failedStarts, 0);
    EXPECT_TRUE(entries[0].queuedAt.isValid());
    EXPECT_NE(entries[0].entryId, entries[1].entryId);
    // Reading changes nothing: the same ids come back.
    EXPECT_EQ(queue.entries()[2].entryId, entries[2].entryId);

    ASSERT_EQ(attachmentFiles().size(), 1);
    ASSERT_TRUE(queue.remove(entries[1].entryId, &error));
    EXPECT_TRUE(attachmentFiles().isEmpty());
    const std::vector<OfflineQueueEntry> left = OfflineQueue().entries();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].entryId, entries[0].entryId);
    EXPECT_EQ(left[1].entryId, entries[2].entryId);
    // Removing what is gone already is no error.
    EXPECT_TRUE(queue.remove(entries[1].entryId, &error));
    ASSERT_TRUE(queue.remove(entries[0].entryId, &error));
    ASSERT_TRUE(queue.remove(entries[2].entryId, &error));
    EXPECT_FALSE(queue.exists());
}

TEST_F(OfflineQueueTest, AnEntryIsDroppedWithItsAttachmentAtItsThirdFailedStart) {
    OfflineQueue queue;
    QString error;
    ASSERT_TRUE(queue.add(photo("failing"), "FlickrSharer", &error));
    ASSERT_TRUE(queue.add(photo("other"), "FacebookSharer", &error));
    const QString id = queue.entries()[0].entryId;
    bool dropped = true;
    for (int start = 1; start <= 2; ++start) {
        ASSERT_TRUE(queue.recordFailedStart(id, &dropped, &error));
        EXPECT_FALSE(dropped);
        EXPECT_EQ(queue.entries()[0].failedStarts, start);
        EXPECT_EQ(attachmentFiles().size(), 2);
    }
    test::LogCapture log;
    ASSERT_TRUE(queue.recordFailedStart(id, &dropped, &error));
    EXPECT_TRUE(dropped);
    ASSERT_EQ(queue.entries().size(), 1u);
    EXPECT_EQ(queue.entries()[0].sharerId, "FacebookSharer");
    EXPECT_EQ(attachmentFiles().size(), 1);
    EXPECT_EQ(log.lines().filter("FlickrSharer").size(), 1);
}

TEST_F(OfflineQueueTest, TheStoredItemComesBackWholeAndItsImageStaysForTheNextReading) {
    ShareItem item = photo("Created by Lumigrave");
    item.setTags({"lake", "water"});
    item.setCustomValue("1", "autoShare");
    OfflineQueue queue;
    QString error;
    ASSERT_TRUE(queue.add(item, "FacebookSharer", &error));
    for (int reading = 0; reading < 2; ++reading) {
        const std::vector<OfflineQueueEntry> entries = OfflineQueue().entries();
        ASSERT_EQ(entries.size(), 1u);
        const ShareItem back =
            ShareItem::itemFromDictionary(entries[0].item, ShareAttachments::Use::Keep);
        EXPECT_EQ(back.shareType(), ShareTypeImage);
        EXPECT_EQ(back.title(), "Created by Lumigrave");
        EXPECT_EQ(back.tags(), item.tags());
        EXPECT_TRUE(back.customBoolForSwitchKey("autoShare"));
        EXPECT_FLOAT_EQ(back.mailJPGQuality(), item.mailJPGQuality());
        ASSERT_FALSE(back.image().isNull());
        EXPECT_EQ(back.image().pixels().convertToFormat(QImage::Format_RGB32),
                  item.image().pixels().convertToFormat(QImage::Format_RGB32));
    }
}

TEST_F(OfflineQueueTest, ADamagedFileIsSetAsideAndANewQueueStarted) {
    OfflineQueue queue;
    const QByteArray damaged = "<?xml version=\"1.0\"?><plist><array><dict><key>item";
    writeFile(queue.path(), damaged);
    test::LogCapture log;
    QString error;
    EXPECT_TRUE(queue.entries(&error).empty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(queue.exists());
    const QStringList aside = QDir(QFileInfo(queue.path()).path())
                                  .entryList({"ShareOfflineQueue.damaged-*.plist"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(contents(QFileInfo(queue.path()).dir().filePath(aside[0])), damaged);
    EXPECT_EQ(log.lines().filter(aside[0]).size(), 1);

    // A second damaged file the same second is kept too, beside the first.
    writeFile(queue.path(), "not a property list");
    ASSERT_TRUE(queue.add(ShareItem::text("new"), "TwitterSharer", &error));
    EXPECT_EQ(QDir(QFileInfo(queue.path()).path())
                  .entryList({"ShareOfflineQueue.damaged-*.plist"}, QDir::Files)
                  .size(),
              2);
    ASSERT_EQ(queue.entries().size(), 1u);
}

TEST_F(OfflineQueueTest, EntriesWrittenWithoutIdsGetLastingOnesAndUnsendableOnesGo) {
    OfflineQueue queue;
    writeFile(queue.path(), R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><array>
<dict><key>item</key><dict><key>shareType</key><integer>2</integer><key>text</key><string>a</string></dict><key>sharer</key><string>TwitterSharer</string></dict>
<dict><key>sharer</key><string>NoItemSharer</string></dict>
<string>not an entry</string>
<dict><key>item</key><dict><key>shareType</key><integer>1</integer></dict><key>sharer</key><string>FacebookSharer</string></dict>
</array></plist>)");
    test::LogCapture log;
    const std::vector<OfflineQueueEntry> entries = queue.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].sharerId, "TwitterSharer");
    EXPECT_EQ(entries[1].sharerId, "FacebookSharer");
    EXPECT_FALSE(entries[0].entryId.isEmpty());
    EXPECT_EQ(log.lines().filter("dropped").size(), 2);
    const std::vector<OfflineQueueEntry> again = queue.entries();
    EXPECT_EQ(again[0].entryId, entries[0].entryId);
    EXPECT_EQ(again[1].entryId, entries[1].entryId);
}

TEST_F(OfflineQueueTest, AQueueThatCannotBeWrittenKeepsItsEntriesAndLeavesNoAttachment) {
    OfflineQueue queue;
    QString error;
    ASSERT_TRUE(queue.add(ShareItem::text("first"), "TwitterSharer", &error));
    const QByteArray before = contents(queue.path());
    ShareItem big = photo("big");
    big.setData(QByteArray(2000, 'x'));
    {
        test::FileSizeLimit fullDisk(before.size() + 100);
        EXPECT_FALSE(queue.add(big, "FacebookSharer", &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contents(queue.path()), before);
    EXPECT_TRUE(attachmentFiles().isEmpty());
}

// A queue the user may not rewrite (as root, the test drops to an unprivileged user): the
// entry stays, and so does the image it still needs.
TEST_F(OfflineQueueTest, AnEntryWhoseRemovalCannotBeWrittenKeepsItsAttachment) {
    test::makeWorldReadable(QFile::encodeName(home_.path()).constData(), true);
    const QString folder = home_.filePath("queue");
    ASSERT_TRUE(QDir().mkdir(folder));
    OfflineQueue queue(folder + "/ShareOfflineQueue.plist");
    QString error;
    ASSERT_TRUE(queue.add(photo("kept"), "FacebookSharer", &error)) << error.toStdString();
    ASSERT_TRUE(queue.add(photo("other"), "TwitterSharer", &error));
    const QByteArray before = contents(queue.path());
    test::makeWorldReadable(QFile::encodeName(queue.path()).constData(), false);
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadGroup | QFile::ExeGroup |
                                                  QFile::ReadOther | QFile::ExeOther));
    // The attachments could be deleted: only the queue's own folder is locked.
    ASSERT_TRUE(QFile::setPermissions(ShareAttachments::directory(),
                                      QFile::ReadUser | QFile::WriteUser | QFile::ExeUser |
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
    const std::vector<OfflineQueueEntry> entries = queue.entries();
    ASSERT_EQ(entries.size(), 2u);
    {
        test::AsUnprivilegedUser nobody;
        EXPECT_FALSE(queue.remove(entries[0].entryId, &error));
        bool dropped = false;
        EXPECT_FALSE(queue.recordFailedStart(entries[1].entryId, &dropped, &error));
        EXPECT_FALSE(dropped);
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contents(queue.path()), before);
    EXPECT_EQ(attachmentFiles().size(), 2);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(OfflineQueueTest, TheCenterQueuesOnlyWhenOfflineSharingIsAllowed) {
    QString error;
    EXPECT_TRUE(ShareCenter::addToOfflineQueue(ShareItem::text("a"), "TwitterSharer", &error));
    class NoOffline : public DefaultShareConfigurator {
        bool allowOffline() const override { return false; }
    };
    ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<NoOffline>());
    EXPECT_FALSE(ShareCenter::addToOfflineQueue(ShareItem::text("b"), "TwitterSharer", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(OfflineQueue().entries().size(), 1u);
}

// The queue file must be the platform's own property list form, so it is read back by
// another implementation of it.
TEST_F(OfflineQueueTest, PythonsPlistlibReadsTheQueueFile) {
    ShareItem item = ShareItem::URL(QUrl("http://example.org/été?a=1"), "Titre é", 1);
    item.setTags({"x", "y"});
    item.setCustomValue("1", "autoShare");
    item.setData(QByteArray("\0\1\2", 3));
    OfflineQueue queue;
    QString error;
    ASSERT_TRUE(queue.add(item, "ReadLaterSharer", &error)) << error.toStdString();
    const QString script = R"(
import plistlib, sys
with open(sys.argv[1], 'rb') as f:
    queue = plistlib.load(f)
assert isinstance(queue, list) and len(queue) == 1, queue
entry = queue[0]
assert entry['sharer'] == 'ReadLaterSharer', entry
item = entry['item']
assert item['shareType'] == 1 and isinstance(item['shareType'], int)
assert item['URLContentType'] == 1
assert item['URL'] == 'http://example.org/été?a=1', item['URL']
assert item['title'] == 'Titre é'
assert item['tags'] == ['x', 'y']
assert item['custom'] == {'autoShare': '1'}
assert item['isMailHTML'] is True and item['mailShareWithAppSignature'] is False
assert isinstance(item['mailJPGQuality'], float)
assert item['popOverSourceRect'] == '{{0, 0}, {0, 0}}'
assert open(item['data'], 'rb').read() == b'\x00\x01\x02'
assert entry['failedStarts'] == 0
print('ok')
)";
    QProcess python;
    python.start("python3", {"-c", script, queue.path()});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    EXPECT_EQ(python.readAllStandardOutput().trimmed(), "ok");
}

}  // namespace
}  // namespace lumigrave::sharing
