#include "platform/url_opener.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QGuiApplication>

#include "support/log_capture.h"

namespace lumigrave {
namespace {

// Stands in for the desktop's handler of a scheme, through Qt's own hook for that.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(UrlOpener, HandsTheUrlToTheSchemesHandler) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("itms-apps", &catcher, "open");
    test::LogCapture log;
    EXPECT_TRUE(UrlOpener::openURL(QUrl("itms-apps://example.invalid/app/APP_ID?action=review")));
    QDesktopServices::unsetUrlHandler("itms-apps");
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].host(), "example.invalid");
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join('\n').toStdString();
}

TEST(UrlOpener, AUrlNothingOpensIsLoggedWithoutItsQueryOrFragment) {
    // The offscreen platform opens nothing by itself, and no handler is registered for
    // this scheme: no browser or other program can start, whatever the machine has.
    ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
    test::LogCapture log;
    EXPECT_FALSE(UrlOpener::openURL(
        QUrl("lumigrave-test-unhandled://example.invalid/authorize?oauth_token=secret#frag")));
    EXPECT_TRUE(log.lines().contains(
        "No application opened lumigrave-test-unhandled://example.invalid/authorize"))
        << log.lines().join('\n').toStdString();
}

TEST(UrlOpener, SomethingThatIsNoUrlIsRefusedAndLogged) {
    test::LogCapture log;
    EXPECT_FALSE(UrlOpener::openURL(QUrl()));
    EXPECT_FALSE(UrlOpener::openURL(QUrl("no scheme at all")));
    EXPECT_FALSE(UrlOpener::openURL(QUrl("http://exa mple.com")));
    EXPECT_EQ(log.lines().size(), 3) << log.lines().join('\n').toStdString();
    for (const QString& line : log.lines()) {
        EXPECT_TRUE(line.startsWith("Not a URL another application could open"))
            << line.toStdString();
    }
}

}  // namespace
}  // namespace lumigrave

#include "url_opener_test.moc"
