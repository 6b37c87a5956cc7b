#include "platform/pasteboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace lumigrave {
namespace {

// The offscreen platform's clipboard lives in this process, so what a test puts there
// is what it reads back; each test starts from an empty one.
class PasteboardTest : public testing::Test {
  protected:
    void SetUp() override { QGuiApplication::clipboard()->clear(); }
    void TearDown() override { QGuiApplication::clipboard()->clear(); }

    static QImage smallImage() {
        QImage image(3, 2, QImage::Format_ARGB32);
        image.fill(qRgba(10, 20, 30, 255));
        image.setPixel(1, 1, qRgba(200, 100, 50, 128));
        return image;
    }
};

TEST_F(PasteboardTest, PuttingTheSignAndRestoringLeavesEveryFormatAndByteAsItWas) {
    auto* data = new QMimeData;
    data->setText(QStringLiteral("user's text ünïcode"));
    data->setHtml(QStringLiteral("<b>user's</b> text"));
    data->setImageData(smallImage());
    const QByteArray custom("\x00\x01\xff binary", 10);
    data->setData("application/x-lumigrave-test", custom);
    QGuiApplication::clipboard()->setMimeData(data);

    const QStringList formatsBefore = QGuiApplication::clipboard()->mimeData()->formats();
    Pasteboard& board = Pasteboard::general();
    const Pasteboard::Items saved = board.items();
    EXPECT_EQ(saved.text, QStringLiteral("user's text ünïcode"));

    board.setString(QStringLiteral("\u00a9"));
    EXPECT_EQ(board.string(), QStringLiteral("\u00a9"));
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasHtml());
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());

    board.setItems(saved);
    const QMimeData* after = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->formats(), formatsBefore);
    EXPECT_EQ(after->text(), QStringLiteral("user's text ünïcode"));
    EXPECT_EQ(after->html(), QStringLiteral("<b>user's</b> text"));
    EXPECT_EQ(after->data("application/x-lumigrave-test"), custom);
    ASSERT_TRUE(after->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(after->imageData()), smallImage());
    EXPECT_EQ(board.string(), QStringLiteral("user's text ünïcode"));
    // Saving again gives the very same items: nothing was lost or added on the way.
    const Pasteboard::Items again = board.items();
    EXPECT_EQ(again.formats, saved.formats);
    EXPECT_EQ(again.image, saved.image);
}

TEST_F(PasteboardTest, AnEmptyPasteboardStaysEmpty) {
    Pasteboard& board = Pasteboard::general();
    const Pasteboard::Items saved = board.items();
    EXPECT_TRUE(saved.isEmpty());
    EXPECT_TRUE(saved.text.isEmpty());

    board.setString(QStringLiteral("\u00a9"));
    EXPECT_FALSE(board.items().isEmpty());
    board.setItems(saved);

    EXPECT_TRUE(board.items().isEmpty());
    EXPECT_TRUE(board.string().isEmpty());
    const QMimeData* after = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(!after || after->formats().isEmpty());
}

TEST_F(PasteboardTest, AStringReplacesEverythingElse) {
    auto* data = new QMimeData;
    data->setData("application/x-lumigrave-test", "bytes");
    QGuiApplication::clipboard()->setMimeData(data);
    Pasteboard::general().setString(QStringLiteral("plain"));
    const Pasteboard::Items items = Pasteboard::general().items();
    EXPECT_EQ(items.text, QStringLiteral("plain"));
    for (const auto& format : items.formats) {
        EXPECT_NE(format.first, QStringLiteral("application/x-lumigrave-test"));
    }
}

}  // namespace
}  // namespace lumigrave
