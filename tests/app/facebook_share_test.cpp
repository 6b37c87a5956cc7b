// "Share to" Facebook from the main screen as a new user does it: the browser opens the
// login, the desktop hands the redirect to the application, the photo goes up with the
// title the user edits. The service is faked on 127.0.0.1 through a deployment file.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QUrlQuery>

#include "app/main/mm_segmented_switcher.h"
#include "app_fixture.h"
#include "platform/keychain.h"
#include "platform/reachability.h"
#include "sharing/share_center.h"
#include "sharing/share_configuration.h"
#include "sharing/ui/facebook_sharer.h"
#include "support/fake_http_server.h"
#include "support/log_capture.h"
#include "support/opened_urls.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/on_screen.h"

namespace lumigrave::test {
namespace {

const QString kToken = QStringLiteral("EAAGm0PX4ZCpsBAsecretToken");

struct Browser : lumigrave::test::OpenedUrls {
    Browser() : OpenedUrls({QStringLiteral("http"), QStringLiteral("https")}) {}
};

class FacebookShareTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        // Logins go to the private file, never to the desktop's keyring.
        savedBus_ = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        Keychain::resetForTesting();
        Reachability::setForcedConnected(true);
        ASSERT_TRUE(server_.listen());
        savedConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", home_->filePath("etc-xdg").toUtf8());
        ASSERT_TRUE(QDir().mkpath(home_->filePath(".config/lumigrave")));
        QFile file(home_->filePath(".config/lumigrave/sharing.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[sharing]\nfacebookGraphURL=" + server_.url("/graph").toUtf8() +
                   "\nfacebookDialogURL=" + server_.url("/dialog/oauth").toUtf8() + "\n");
    }
    void TearDown() override {
        for (ui::AlertView* alert : ui::OnScreen::all<ui::AlertView>()) {
            alert->dismissWithClickedButtonIndex(0, false);
        }
        AppTest::TearDown();
        sharing::ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
        Reachability::setForcedConnected(std::nullopt);
        qputenv("XDG_CONFIG_DIRS", savedConfigDirs_);
        if (!savedBus_.isEmpty()) {
            qputenv("DBUS_SESSION_BUS_ADDRESS", savedBus_);
        }
    }

    void chooseFacebook() {
        clickToolbarItem("Output");
        auto* sheet = ui::OnScreen::top<ui::ActionSheet>();
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(ui::OnScreen::pressButton(*sheet, 0));
        settle();
        sheet = ui::OnScreen::top<ui::ActionSheet>();
        ASSERT_NE(sheet, nullptr);
        ASSERT_EQ(sheet->title(), "Share to");
        ASSERT_TRUE(ui::OnScreen::pressButton(*sheet, 0));
        settle();
    }
    static QString appId() {
        return sharing::ShareConfiguration::sharedInstance().stringValue("facebookAppId");
    }
    sharing::FacebookSharer* sharer() {
        return dynamic_cast<sharing::FacebookSharer*>(
            app().navigationController()->modalViewController());
    }

    FakeHttpServer server_;
    Browser browser_;
    QByteArray savedConfigDirs_;
    QByteArray savedBus_;
};

TEST_F(FacebookShareTest, AFirstShareLogsInThroughTheBrowserAndPostsTheEditedPhoto) {
    LogCapture log;
    launch();
    click(root().operatingModeSeg());  // photo mode, where the output button is
    const QImage expected =
        root().finalImage().uprightPixels().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(expected.isNull());
    chooseFacebook();
    EXPECT_EQ(overlayMessage(), "") << "the overlay goes before the sharer runs";

    ASSERT_EQ(browser_.opened.size(), 1);
    const QUrl dialog = browser_.opened[0];
    EXPECT_EQ(dialog.adjusted(QUrl::RemoveQuery), QUrl(server_.url("/dialog/oauth")));
    const QUrlQuery query(dialog);
    EXPECT_EQ(query.queryItemValue("client_id"), appId());
    EXPECT_EQ(query.queryItemValue("response_type"), "token");
    const QString redirectUri = query.queryItemValue("redirect_uri", QUrl::FullyDecoded);
    EXPECT_EQ(redirectUri, "fb" + appId() + "://authorize");

    // The service answers on our scheme; the desktop hands that to the application.
    server_.setResponse("/graph/me/photos", FakeHttpServer::text(200, R"({"id":"501"})"));
    EXPECT_TRUE(
        app().handleOpenURL(QUrl(redirectUri + "/#access_token=" + kToken + "&expires_in=3600")));
    settle();
    ASSERT_NE(sharer(), nullptr);
    QPointer<sharing::Sharer> resumed(sharer());
    sharing::ShareFormController* form = resumed->currentForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->valueForKey("title"), "Created by Lumigrave");
    form->setValueForKey("title", "My lake");
    form->validateForm();
    settle();
    ASSERT_TRUE(server_.waitForRequests(1));
    for (int i = 0; i < 200 && !resumed.isNull(); ++i) {
        QTest::qWait(10);
        ui::test::flushDeletes();
    }
    EXPECT_TRUE(resumed.isNull());

    ASSERT_EQ(server_.requestsTo("/graph/me/photos").size(), 1);
    const FakeHttpServer::Request request = server_.requestsTo("/graph/me/photos")[0];
    QMap<QString, QByteArray> parts;
    for (const FakeHttpServer::FormPart& part :
         FakeHttpServer::parseMultipart(request.header("Content-Type"), request.body)) {
        parts.insert(part.name, part.data);
    }
    EXPECT_EQ(QString::fromUtf8(parts["message"]), "My lake");
    EXPECT_EQ(QString::fromUtf8(parts["access_token"]), kToken);
    QImage posted;
    ASSERT_TRUE(posted.loadFromData(parts["source"], "PNG"));
    EXPECT_EQ(posted.convertToFormat(QImage::Format_ARGB32), expected)
        << "the photo posted is the one on screen, pixel for pixel";
    EXPECT_TRUE(ui::OnScreen::all<ui::AlertView>().isEmpty());

    // Nothing of the login reached the log, the preferences or the settings.
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("secretToken")) << line.toStdString();
    }
    QDirIterator files(home_->filePath(".config"), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains("secretToken")) << file.fileName().toStdString();
    }
}

TEST_F(FacebookShareTest, TheRoutingTakesOnlyLoginsOnTheFacebookScheme) {
    launch();
    EXPECT_FALSE(app().handleOpenURL(QUrl("fb" + appId() + "://authorize")));
    EXPECT_TRUE(app().handleOpenURL(QUrl("other://authorize#access_token=" + kToken)));
    EXPECT_FALSE(sharing::ShareCenter::getAuthValueForKey("accessToken", "FacebookSharer"));
    EXPECT_TRUE(app().handleOpenURL(QUrl("fb" + appId() + "://authorize#access_token=" + kToken)));
    settle();
    EXPECT_EQ(sharing::ShareCenter::getAuthValueForKey("accessToken", "FacebookSharer")
                  .value_or(QString()),
              kToken);
}

}  // namespace
}  // namespace lumigrave::test
