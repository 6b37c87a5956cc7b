#pragma once
// A service in the smallest form the share workflow allows, and a window to share from:
// the application's navigation controller in a 320 × 480 window that has the focus,
// logins in the private file, the computer online unless a test says otherwise.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <functional>
#include <vector>

#include "platform/keychain.h"
#include "platform/notification_center.h"
#include "platform/reachability.h"
#include "sharing/share_configuration.h"
#include "sharing/ui/share_activity_indicator.h"
#include "sharing/ui/sharer.h"
#include "support/temp_home.h"
#include "support/widget_test_support.h"
#include "ui/alert_view.h"
#include "ui/navigation_controller.h"
#include "ui/on_screen.h"
#include "ui/window.h"

namespace lumigrave::sharing::test {

using ui::test::flushDeletes;
using ui::test::ManualScheduler;
using ui::test::settle;

// What the service side of the test sharer does, set by each test.
struct Service {
    bool needsLogin = false;
    bool offlineOk = true;
    bool needsInternet = true;
    // Called by send(); the sharer reports nothing unless this does.
    std::function<void(Sharer&)> onSend;
    std::vector<ShareItem> sent;
};
inline Service* service = nullptr;

// A service in the smallest form the workflow allows: it shares links and images and
// records what it is asked to send.
class TestSharer : public Sharer {
  public:
    QString sharerId() const override { return QStringLiteral("TestSharer"); }
    QString sharerTitle() const override { return QStringLiteral("Test"); }
    bool requiresAuthentication() const override { return service->needsLogin; }
    bool canShareOffline() const override { return service->offlineOk; }
    bool shareRequiresInternetConnection() const override { return service->needsInternet; }
    bool canShareURL() const override { return true; }
    bool canShareImage() const override { return true; }
    bool send() override {
        service->sent.push_back(item());
        sendDidStart();
        if (service->onSend) {
            service->onSend(*this);
        }
        return true;
    }
};

inline QStringList alertTexts() {
    QStringList texts;
    for (ui::AlertView* alert : ui::OnScreen::all<ui::AlertView>()) {
        texts << alert->title() << alert->message();
    }
    return texts;
}

class SharerTest : public ::testing::Test {
  protected:
    SharerTest() {
        // Logins go to the private file: no test reaches the desktop's keyring.
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        Keychain::resetForTesting();
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
        Reachability::setForcedConnected(true);
        service = &service_;
        window_.resize(320, 480);
        window_.setRootViewController(navigation_);
        window_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
        QApplication::setActiveWindow(&window_);
        settle();
        for (const QString& name :
             {Sharer::kSendDidStartNotification, Sharer::kSendDidFinishNotification,
              Sharer::kSendDidFailWithErrorNotification, Sharer::kSendDidCancelNotification,
              Sharer::kAuthDidFinishNotification}) {
            NotificationCenter::defaultCenter().addObserver(
                this, name, [this](const Notification& note) { notes_ << note.name; });
        }
    }
    ~SharerTest() override {
        NotificationCenter::defaultCenter().removeObserver(this);
        for (ui::AlertView* alert : ui::OnScreen::all<ui::AlertView>()) {
            alert->dismissWithClickedButtonIndex(0, false);
        }
        ShareActivityIndicator::currentIndicator()->hide();
        flushDeletes();
        // The application's screens go, and with them a sharer still presented; then
        // those still waiting for an answer no test gave.
        window_.setRootViewController(nullptr);
        delete navigation_;
        qDeleteAll(Sharer::liveSharers());
        flushDeletes();
        Reachability::setForcedConnected(std::nullopt);
        service = nullptr;
    }

    QPointer<Sharer> share(const ShareItem& item) {
        QPointer<Sharer> sharer = Sharer::shareItem<TestSharer>(item);
        settle();
        return sharer;
    }
    // The sharer's form on the screen, or null.
    ShareFormController* form(const QPointer<Sharer>& sharer) {
        return sharer && sharer->isPresented() ? sharer->currentForm() : nullptr;
    }
    // The sharer is gone once the main loop got to it.
    bool ended(const QPointer<Sharer>& sharer) {
        flushDeletes();
        return sharer.isNull();
    }
    static ShareItem link(const QString& title = QStringLiteral("Lumigrave")) {
        return ShareItem::URL(QUrl("https://lumigrave.app/?a=1"), title, 1);
    }
    static ShareItem picture() {
        QImage pixels(4, 3, QImage::Format_RGB32);
        pixels.fill(Qt::darkCyan);
        return ShareItem::image(Image(pixels), "Created by Lumigrave");
    }

    lumigrave::test::TempHome home_;
    Service service_;
    ui::Window window_;
    ui::NavigationController* navigation_ = new ui::NavigationController(new ui::ViewController);
    QStringList notes_;
};

}  // namespace lumigrave::sharing::test
