#include "sharing/share_item.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "sharing/share_configuration.h"
#include "support/file_size_limit.h"
#include "support/log_capture.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

class ShareItemTest : public testing::Test {
  protected:
    ShareItemTest() { ShareConfiguration::sharedInstanceWithConfigurator(nullptr); }
    ~ShareItemTest() override { ShareConfiguration::sharedInstanceWithConfigurator(nullptr); }

    static Image testImage() {
        QImage pixels(7, 5, QImage::Format_ARGB32);
        for (int y = 0; y < pixels.height(); ++y) {
            for (int x = 0; x < pixels.width(); ++x) {
                pixels.setPixel(x, y, qRgba(x * 30, y * 40, 200, 255));
            }
        }
        return Image(pixels);
    }
    static QStringList attachmentFiles() {
        return QDir(ShareAttachments::directory()).entryList(QDir::Files | QDir::Hidden);
    }

    test::TempHome home_;
};

TEST_F(ShareItemTest, TheApplicationsTwoItemsCarryTheirTypeAndValues) {
    const ShareItem image = ShareItem::image(testImage(), "Created by Lumigrave");
    EXPECT_EQ(image.shareType(), ShareTypeImage);
    EXPECT_EQ(image.title(), "Created by Lumigrave");
    EXPECT_FALSE(image.image().isNull());
    const ShareItem link = ShareItem::URL(QUrl("http://mm-apps.test/Lumigrave/"), "Try it", 1);
    EXPECT_EQ(link.shareType(), ShareTypeURL);
    EXPECT_EQ(link.URLContentType(), 1);
    EXPECT_EQ(link.URL(), QUrl("http://mm-apps.test/Lumigrave/"));
    EXPECT_EQ(ShareItem::shareTypeName(ShareTypeFile), "ShareTypeFile");
    EXPECT_EQ(ShareItem::shareTypeName(42), "ShareTypeUndefined");
    EXPECT_TRUE(link.description().startsWith("ShareTypeURL \"Try it\""));
}

TEST_F(ShareItemTest, ASwitchIsOnOnlyWhenItsValueIsOne) {
    ShareItem item;
    item.setCustomValue("1", "on");
    item.setCustomValue("0", "off");
    item.setCustomValue("true", "word");
    EXPECT_TRUE(item.customBoolForSwitchKey("on"));
    EXPECT_FALSE(item.customBoolForSwitchKey("off"));
    EXPECT_FALSE(item.customBoolForSwitchKey("word"));
    EXPECT_FALSE(item.customBoolForSwitchKey("missing"));
}

class ItemDefaults : public DefaultShareConfigurator {
  public:
    double mailJPGQuality() const override { return 0.5; }
    QStringList mailToRecipients() const override { return {"a@example.org"}; }
    bool sharedWithSignature() const override { return true; }
    QString popOverSourceRect() const override { return "{{1, 2}, {30.5, 40}}"; }
};

TEST_F(ShareItemTest, ANewItemTakesItsExtensionFieldsFromTheConfiguration) {
    ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<ItemDefaults>());
    const ShareItem item;
    EXPECT_FLOAT_EQ(item.mailJPGQuality(), 0.5f);
    EXPECT_EQ(item.mailToRecipients(), QStringList{"a@example.org"});
    EXPECT_TRUE(item.mailShareWithAppSignature());
    EXPECT_TRUE(item.isMailHTML());
    EXPECT_EQ(item.popOverSourceRect(), QRectF(1, 2, 30.5, 40));
}

TEST_F(ShareItemTest, TheStoredFormHasTheAlwaysKeysAndLeavesAbsentValuesOut) {
    const ShareItem item =
        ShareItem::URL(QUrl("http://example.org/a%20b/%C3%A9t%C3%A9?q=%26"), QString(), 1);
    QString error;
    const std::optional<QVariantMap> stored = item.dictionaryRepresentation(&error);
    ASSERT_TRUE(stored) << error.toStdString();
    EXPECT_EQ(stored->value("URL"), QVariant("http://example.org/a b/été?q=&"));
    EXPECT_EQ(QSet<QString>(stored->keyBegin(), stored->keyEnd()),
              QSet<QString>({"shareType", "URLContentType", "URL", "printOutputType", "isMailHTML",
                             "mailShareWithAppSignature", "mailJPGQuality", "popOverSourceRect"}));
    EXPECT_EQ(stored->value("shareType"), QVariant(1));
    EXPECT_EQ(stored->value("mailJPGQuality").typeId(), QMetaType::Double);
    EXPECT_EQ(stored->value("isMailHTML").typeId(), QMetaType::Bool);
    EXPECT_EQ(stored->value("popOverSourceRect"), QVariant("{{0, 0}, {0, 0}}"));
    EXPECT_TRUE(attachmentFiles().isEmpty());
}

TEST_F(ShareItemTest, EveryFieldComesBackFromTheStoredForm) {
    ShareItem item = ShareItem::URL(QUrl("https://example.org/page?x=1"), "A title", 1);
    item.setText("Some text");
    item.setTags({"one", "two words"});
    item.setData("raw \0 bytes");
    item.setMimeType("application/octet-stream");
    item.setFilename("notes.bin");
    item.setCustomValue("1", "autoShare");
    item.setCustomValue("hello", "status");
    item.setPrintOutputType(2);
    item.setMailToRecipients({"x@example.org", "y@example.org"});
    item.setIsMailHTML(false);
    item.setMailJPGQuality(0.75f);
    item.setMailShareWithAppSignature(true);
    item.setFacebookURLShareDescription("desc");
    item.setFacebookURLSharePictureURI("http://example.org/p.png");
    item.setTextMessageToRecipients({"555"});
    item.setPopOverSourceRect(QRectF(10, 20, 30.25, 40));
    QString error;
    const std::optional<QVariantMap> stored = item.dictionaryRepresentation(&error);
    ASSERT_TRUE(stored) << error.toStdString();

    const ShareItem back = ShareItem::itemFromDictionary(*stored, ShareAttachments::Use::Keep);
    EXPECT_EQ(back.shareType(), ShareTypeURL);
    EXPECT_EQ(back.URL(), item.URL());
    EXPECT_EQ(back.URLContentType(), 1);
    EXPECT_EQ(back.title(), "A title");
    EXPECT_EQ(back.text(), "Some text");
    EXPECT_EQ(back.tags(), item.tags());
    EXPECT_EQ(back.data(), item.data());
    EXPECT_EQ(back.mimeType(), "application/octet-stream");
    EXPECT_EQ(back.filename(), "notes.bin");
    EXPECT_EQ(back.custom(), item.custom());
    EXPECT_EQ(back.printOutputType(), 2);
    EXPECT_EQ(back.mailToRecipients(), item.mailToRecipients());
    EXPECT_FALSE(back.isMailHTML());
    EXPECT_FLOAT_EQ(back.mailJPGQuality(), 0.75f);
    EXPECT_TRUE(back.mailShareWithAppSignature());
    EXPECT_EQ(back.facebookURLShareDescription(), "desc");
    EXPECT_EQ(back.facebookURLSharePictureURI(), "http://example.org/p.png");
    EXPECT_EQ(back.textMessageToRecipients(), QStringList{"555"});
    EXPECT_EQ(back.popOverSourceRect(), QRectF(10, 20, 30.25, 40));
}

TEST_F(ShareItemTest, TheImageIsAnAttachmentThatAQueueReadingKeepsAndARestoreConsumes) {
    const Image image = testImage();
    QString error;
    const std::optional<QVariantMap> stored =
        ShareItem::image(image, "photo").dictionaryRepresentation(&error);
    ASSERT_TRUE(stored) << error.toStdString();
    const QString reference = stored->value("image").toString();
    EXPECT_TRUE(QFileInfo(reference).isAbsolute());
    EXPECT_EQ(QFileInfo(reference).dir(), QDir(ShareAttachments::directory()));
    EXPECT_TRUE(QRegularExpression("^[0-9]+\\.[0-9]{6}-[0-9]+$")
                    .match(QFileInfo(reference).fileName())
                    .hasMatch())
        << reference.toStdString();

    // Read from the queue twice: a failed send leaves the entry and its image in place.
    for (int reading = 0; reading < 2; ++reading) {
        const ShareItem queued =
            ShareItem::itemFromDictionary(*stored, ShareAttachments::Use::Keep);
        ASSERT_FALSE(queued.image().isNull());
        EXPECT_EQ(queued.image().pixels().convertToFormat(QImage::Format_ARGB32),
                  image.pixels().convertToFormat(QImage::Format_ARGB32));
        EXPECT_TRUE(QFile::exists(reference));
    }
    const ShareItem restored =
        ShareItem::itemFromDictionary(*stored, ShareAttachments::Use::Consume);
    EXPECT_FALSE(restored.image().isNull());
    EXPECT_FALSE(QFile::exists(reference));

    // The file is gone: the stored form now restores no image, and says why.
    test::LogCapture log;
    const ShareItem again = ShareItem::itemFromDictionary(*stored, ShareAttachments::Use::Keep);
    EXPECT_TRUE(again.image().isNull());
    EXPECT_EQ(again.title(), "photo");
    EXPECT_EQ(log.lines().filter(reference).size(), 1);
}

TEST_F(ShareItemTest, DeletingAnItemsAttachmentsRemovesOnlyItsOwnFiles) {
    ShareItem item = ShareItem::image(testImage(), "photo");
    item.setData("payload");
    QString error;
    const std::optional<QVariantMap> first = item.dictionaryRepresentation(&error);
    const std::optional<QVariantMap> second = item.dictionaryRepresentation(&error);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(attachmentFiles().size(), 4);
    ShareItem::deleteAttachments(*first);
    EXPECT_EQ(attachmentFiles().size(), 2);
    EXPECT_FALSE(QFile::exists(first->value("data").toString()));
    EXPECT_TRUE(QFile::exists(second->value("data").toString()));
}

TEST_F(ShareItemTest, AReferenceOutsideTheAttachmentFolderIsNeitherReadNorDeleted) {
    const QString outside = home_.filePath("precious.txt");
    {
        QFile file(outside);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    const QString climbing = ShareAttachments::directory() + "/../../precious.txt";
    test::LogCapture log;
    for (const QString& reference : {outside, climbing, QString("precious.txt")}) {
        const QVariantMap stored{{"shareType", 4}, {"data", reference}};
        const ShareItem item =
            ShareItem::itemFromDictionary(stored, ShareAttachments::Use::Consume);
        EXPECT_TRUE(item.data().isEmpty()) << reference.toStdString();
        ShareItem::deleteAttachments(stored);
        EXPECT_TRUE(QFile::exists(outside)) << reference.toStdString();
    }
    // A link placed in the folder does not lead out of it either.
    const QString link = ShareAttachments::directory() + "/link";
    ASSERT_TRUE(QFile::link(outside, link));
    const ShareItem linked = ShareItem::itemFromDictionary({{"shareType", 4}, {"data", link}},
                                                           ShareAttachments::Use::Consume);
    EXPECT_TRUE(linked.data().isEmpty());
    EXPECT_TRUE(QFile::exists(outside));
}

TEST_F(ShareItemTest, ValuesOfTheWrongKindAreLeftAtTheirDefaults) {
    const QVariantMap stored{
        {"shareType", "3"},
        {"URLContentType", QVariantList{1}},
        {"title", 7},
        {"tags", "not a list"},
        {"custom", "not a dict"},
        {"isMailHTML", "no"},
        {"mailJPGQuality", "low"},
        {"popOverSourceRect", "{{1, 2}, {3}}"},
        {"image", 12},
        {"URL", QVariantMap{}},
    };
    const ShareItem item = ShareItem::itemFromDictionary(stored, ShareAttachments::Use::Keep);
    EXPECT_EQ(item.shareType(), ShareTypeUndefined);
    EXPECT_EQ(item.URLContentType(), 0);
    EXPECT_TRUE(item.title().isEmpty());
    EXPECT_TRUE(item.tags().isEmpty());
    EXPECT_TRUE(item.custom().isEmpty());
    EXPECT_TRUE(item.isMailHTML());
    EXPECT_FLOAT_EQ(item.mailJPGQuality(), 1);
    EXPECT_EQ(item.popOverSourceRect(), QRectF());
    EXPECT_TRUE(item.image().isNull());
    EXPECT_TRUE(item.URL().isEmpty());
    const ShareItem unknownType =
        ShareItem::itemFromDictionary({{"shareType", 99}}, ShareAttachments::Use::Keep);
    EXPECT_EQ(unknownType.shareType(), ShareTypeUndefined);
}

TEST_F(ShareItemTest, AnAttachmentThatCannotBeWrittenFailsTheStoreAndLeavesNoFile) {
    ShareItem item = ShareItem::image(testImage(), "photo");
    item.setData(QByteArray(64 * 1024, 'x'));
    ShareAttachments::directory();
    QString error;
    {
        test::FileSizeLimit fullDisk(1024);
        EXPECT_FALSE(item.dictionaryRepresentation(&error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(attachmentFiles().isEmpty()) << attachmentFiles().join(", ").toStdString();
}

struct RectRow {
    const char* text;
    QRectF rect;
};

TEST(ShareItemRectTest, RectanglesReadTheirStringForm) {
    const RectRow rows[] = {
        {"{{0, 0}, {0, 0}}", QRectF()},
        {"{{1, 2}, {3, 4}}", QRectF(1, 2, 3, 4)},
        {"{{-1.5,2},{3e2, 0.25}}", QRectF(-1.5, 2, 300, 0.25)},
        {" { { 1 , 2 } , { 3 , 4 } } ", QRectF(1, 2, 3, 4)},
        {"{{1, 2}, {3}}", QRectF()},
        {"{1, 2, 3, 4}", QRectF()},
        {"{{a, 2}, {3, 4}}", QRectF()},
        {"", QRectF()},
    };
    for (const RectRow& row : rows) {
        EXPECT_EQ(ShareItem::rectFromString(row.text), row.rect) << row.text;
    }
    EXPECT_EQ(ShareItem::stringFromRect(QRectF(1, 2, 30.5, 40)), "{{1, 2}, {30.5, 40}}");
    EXPECT_EQ(ShareItem::rectFromString(ShareItem::stringFromRect(QRectF(-3, 0.125, 7, 1e-3))),
              QRectF(-3, 0.125, 7, 1e-3));
}

}  // namespace
}  // namespace lumigrave::sharing
