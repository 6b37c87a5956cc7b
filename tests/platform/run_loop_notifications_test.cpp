#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <memory>

#include "platform/bundle.h"
#include "platform/run_loop.h"

namespace lumigrave {
namespace {

// Runs the event loop until done says so, or a generous time has passed.
void spinUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

TEST(RunLoop, DeferredCallsRunLaterInTheOrderTheyAreDue) {
    std::vector<int> order;
    RunLoop::performAfter(0.1, [&] { order.push_back(3); });
    RunLoop::performAfter(0, [&] { order.push_back(1); });
    RunLoop::performAfter(0, [&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());  // nothing runs within the call
    spinUntil([&] { return order.size() == 3; });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(RunLoop, ACallWhoseContextIsGoneIsDropped) {
    bool ran = false;
    auto context = std::make_unique<QObject>();
    RunLoop::performAfter(
        0, [&] { ran = true; }, context.get());
    context.reset();
    bool later = false;
    RunLoop::performAfter(0.02, [&] { later = true; });
    spinUntil([&] { return later; });
    EXPECT_FALSE(ran);
}

TEST(Bundle, InformationKeys) {
    EXPECT_EQ(Bundle::infoValue("CFBundleDisplayName"), "Lumigrave");
    EXPECT_EQ(Bundle::infoValue("CFBundleName"), "lumigrave");
    EXPECT_TRUE(Bundle::infoValue("CFBundleVersion").contains('.'));
    EXPECT_TRUE(Bundle::infoValue("CFBundleIdentifier").isEmpty());
}

}  // namespace
}  // namespace lumigrave

#include <QDesktopServices>

#include "platform/url_opener.h"

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
    EXPECT_TRUE(UrlOpener::openURL(QUrl("itms-apps://example.invalid/app/APP_ID?action=review")));
    EXPECT_FALSE(UrlOpener::openURL(QUrl()));
    EXPECT_FALSE(UrlOpener::openURL(QUrl("no scheme at all")));
    QDesktopServices::unsetUrlHandler("itms-apps");
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].host(), "example.invalid");
}

}  // namespace
}  // namespace lumigrave

#include "run_loop_notifications_test.moc"
