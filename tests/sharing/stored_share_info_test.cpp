#include "sharing/stored_share_info.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/user_defaults.h"
#include "sharing/share_configuration.h"
#include "support/log_capture.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

class StoredShareInfoTest : public testing::Test {
  protected:
    StoredShareInfoTest() { ShareConfiguration::sharedInstanceWithConfigurator(nullptr); }

    static ShareItem photo(const QString& title) {
        QImage pixels(3, 2, QImage::Format_RGB32);
        pixels.fill(qRgb(200, 100, 50));
        return ShareItem::image(Image(pixels), title);
    }
    static QStringList attachmentFiles() {
        return QDir(ShareAttachments::directory()).entryList(QDir::Files);
    }

    test::TempHome home_;
};

TEST_F(StoredShareInfoTest, AnItemKeptAcrossALoginComesBackOnceWithItsAction) {
    QString error;
    ASSERT_TRUE(StoredShareInfo::saveItemForLater(photo("Created by Lumigrave"), 1, &error))
        << error.toStdString();
    // Kept in the preferences file, which another start reads.
    EXPECT_TRUE(UserDefaults().hasObjectForKey("kShareStoredShareInfo/kShareStoredItem"));
    ASSERT_EQ(attachmentFiles().size(), 1);

    const std::optional<StoredShareInfo::Saved> saved = StoredShareInfo::restoreItem();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->pendingAction, 1);
    EXPECT_EQ(saved->item.shareType(), ShareTypeImage);
    EXPECT_EQ(saved->item.title(), "Created by Lumigrave");
    EXPECT_FALSE(saved->item.image().isNull());
    EXPECT_TRUE(attachmentFiles().isEmpty());
    EXPECT_FALSE(StoredShareInfo::restoreItem());
    EXPECT_FALSE(UserDefaults().hasObjectForKey("kShareStoredShareInfo/kShareStoredItem"));
}

TEST_F(StoredShareInfoTest, SavingAnotherItemReplacesTheFirstAndItsAttachment) {
    QString error;
    ASSERT_TRUE(StoredShareInfo::saveItemForLater(photo("first"), 1, &error));
    ASSERT_TRUE(StoredShareInfo::saveItemForLater(
        ShareItem::URL(QUrl("http://example.org/"), "second", 1), 3, &error));
    EXPECT_TRUE(attachmentFiles().isEmpty());
    const std::optional<StoredShareInfo::Saved> saved = StoredShareInfo::restoreItem();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->item.title(), "second");
    EXPECT_EQ(saved->pendingAction, 3);
}

TEST_F(StoredShareInfoTest, AnUnreadableEntryRestoresNothingAndIsCleared) {
    UserDefaults defaults;
    defaults.setString("kShareStoredShareInfo/kShareStoredItem", "<plist><dict><key>x");
    defaults.setInteger("kShareStoredShareInfo/kShareStoredAction", 1);
    ASSERT_TRUE(defaults.synchronize());
    test::LogCapture log;
    EXPECT_FALSE(StoredShareInfo::restoreItem());
    EXPECT_EQ(log.lines().size(), 1);
    EXPECT_FALSE(UserDefaults().hasObjectForKey("kShareStoredShareInfo/kShareStoredAction"));
    // A new item can be kept after it.
    QString error;
    EXPECT_TRUE(StoredShareInfo::saveItemForLater(ShareItem::text("t"), 2, &error));
    EXPECT_EQ(StoredShareInfo::restoreItem()->pendingAction, 2);
}

}  // namespace
}  // namespace lumigrave::sharing
