// The authorization page: the callback caught before it loads, whichever way the page goes
// there, and reported once; the address line; Cancel and Escape; pop-ups kept in the view.
#include <QLineEdit>
#include <QNetworkCookie>
#include <QWebEngineProfile>

#include "oauth_view_fixture.h"
#include "support/opened_urls.h"
#include "ui/bar_button_item.h"

namespace lumigrave::sharing::test {
namespace {

TEST_F(OAuthViewTest, AllowLinkReportsTheDecodedParametersWithoutLoadingTheCallback) {
    allowPage("/authorize",
              server_.url("/callback?oauth_token=tok%2Fen&oauth_verifier=a+b&broken&x=1=2"));
    open("/authorize", server_.url("/callback"));

    // Whoever is asked for a password sees which host asks, and cannot change it.
    EXPECT_EQ(view_->addressLine()->text(), server_.url("/authorize"));
    EXPECT_TRUE(view_->addressLine()->isReadOnly());
    EXPECT_TRUE(eventually([this] { return barTitle() == "Authorize"; }));

    clickAndWaitForReport("allow");
    EXPECT_EQ(reports_.finished, 1);
    EXPECT_TRUE(reports_.success);
    EXPECT_TRUE(reports_.error.isEmpty());
    const QMap<QString, QString> expected{{"oauth_token", "tok/en"}, {"oauth_verifier", "a b"}};
    EXPECT_EQ(reports_.params, expected);
    EXPECT_TRUE(server_.requestsTo("/callback").isEmpty());
    EXPECT_EQ(view_->addressLine()->text(), server_.url("/authorize"));
}

TEST_F(OAuthViewTest, MouseClickOnAllowReportsAndOnlyOnceWhenThePageGoesThereTwice) {
    allowPage("/authorize", server_.url("/callback?oauth_token=t&oauth_verifier=v"));
    open("/authorize", server_.url("/callback"));

    ASSERT_TRUE(driver_->clickWithMouse("allow"));
    ASSERT_TRUE(waitForReport());
    // The page stays, so a second click (or a script's second try) asks again.
    ASSERT_TRUE(driver_->clickByScript("allow"));
    ASSERT_TRUE(driver_->clickWithMouse("allow"));
    const qsizetype loads = driver_->loadsFinished().size();
    driver_->runJavaScript("location.href = document.getElementById('allow').href; 1");
    ASSERT_TRUE(driver_->waitForLoads(int(loads) + 1));
    settle();
    EXPECT_EQ(reports_.finished, 1);
    EXPECT_EQ(reports_.cancelled, 0);
    EXPECT_EQ(reports_.params.value("oauth_verifier"), "v");
    EXPECT_TRUE(server_.requestsTo("/callback").isEmpty());
}

TEST_F(OAuthViewTest, CallbackWithoutQueryCancels) {
    allowPage("/authorize", server_.url("/callback"));
    open("/authorize", server_.url("/callback"));
    clickAndWaitForReport("allow");
    EXPECT_EQ(reports_.cancelled, 1);
    EXPECT_EQ(reports_.finished, 0);
    EXPECT_TRUE(server_.requestsTo("/callback").isEmpty());
}

TEST_F(OAuthViewTest, RefusalByTheServiceIsAFailureThatSaysSo) {
    allowPage("/authorize", server_.url("/callback?oauth_problem=user_refused&oauth_token=t"));
    open("/authorize", server_.url("/callback"));
    clickAndWaitForReport("allow");
    EXPECT_EQ(reports_.finished, 1);
    EXPECT_FALSE(reports_.success);
    EXPECT_TRUE(reports_.params.isEmpty());
    EXPECT_EQ(reports_.error, "The service refused the authorization: user_refused");
}

TEST_F(OAuthViewTest, CallbackGivenInAnotherCaseStillMatches) {
    allowPage("/authorize", server_.url("/callback?oauth_token=t&oauth_verifier=v"));
    open("/authorize", server_.url("/CallBack").toUpper());
    clickAndWaitForReport("allow");
    EXPECT_EQ(reports_.finished, 1);
    EXPECT_TRUE(reports_.success);
    EXPECT_TRUE(server_.requestsTo("/callback").isEmpty());
}

TEST_F(OAuthViewTest, CallbackOfTheApplicationsOwnSchemeIsCaughtAndNeverHandedOut) {
    // Were it let through, the engine would hand it to the desktop (another application).
    lumigrave::test::OpenedUrls opened({"lumigrave-test"});
    allowPage("/authorize", "lumigrave-test://oauth/cb?oauth_token=t&oauth_verifier=v");
    open("/authorize", "lumigrave-test://oauth/cb");
    ASSERT_TRUE(driver_->clickWithMouse("allow"));
    ASSERT_TRUE(waitForReport());
    EXPECT_EQ(reports_.finished, 1);
    EXPECT_EQ(reports_.params.value("oauth_token"), "t");
    settle();
    EXPECT_TRUE(opened.opened.isEmpty());
}

TEST_F(OAuthViewTest, PopUpOpensInTheSameView) {
    page("/authorize",
         QStringLiteral("<a id=\"more\" href=\"#\" style=\"display:block;width:200px;"
                        "height:60px\" onclick=\"window.open('%1'); return false;\">Log in</a>")
             .arg(server_.url("/popup")));
    allowPage("/popup", server_.url("/callback?oauth_token=t&oauth_verifier=v"));
    open("/authorize", server_.url("/callback"), "more");

    ASSERT_TRUE(driver_->clickWithMouse("more"));
    ASSERT_TRUE(
        eventually([this] { return view_->currentUrl() == QUrl(server_.url("/popup")); }, 20000));
    EXPECT_TRUE(
        eventually([this] { return view_->addressLine()->text() == server_.url("/popup"); }));
    ASSERT_TRUE(driver_->waitForElement("allow"));
    clickAndWaitForReport("allow");
    EXPECT_EQ(reports_.finished, 1);
    EXPECT_TRUE(reports_.success);
}

TEST_F(OAuthViewTest, CancelButtonAndEscapeCancel) {
    allowPage("/authorize", server_.url("/callback?oauth_token=t"));
    open("/authorize", server_.url("/callback"));
    EXPECT_EQ(view_->navigationItem().leftBarButtonItem(), view_->cancelButton());
    QWidget* cancel = navigation_->navigationBar()->leftWidget();
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_TRUE(waitForReport());
    EXPECT_EQ(reports_.cancelled, 1);
    // Whatever follows, the page has reported.
    QTest::keyClick(view_->webView()->focusProxy(), Qt::Key_Escape);
    ASSERT_TRUE(driver_->clickByScript("allow"));
    settle();
    EXPECT_EQ(reports_.reports(), 1);

    // A fresh page: Escape while the page has the keyboard.
    window_.setRootViewController(nullptr);
    delete navigation_;
    reports_ = AuthorizeReports();
    open("/authorize", server_.url("/callback"));
    view_->webView()->focusProxy()->setFocus();
    QTest::keyClick(view_->webView()->focusProxy(), Qt::Key_Escape);
    ASSERT_TRUE(waitForReport());
    EXPECT_EQ(reports_.cancelled, 1);
    EXPECT_EQ(reports_.finished, 0);
}

TEST_F(OAuthViewTest, DelegateMayDeleteTheViewInsideTheReport) {
    allowPage("/authorize", server_.url("/callback?oauth_token=t&oauth_verifier=v"));
    open("/authorize", server_.url("/callback"));
    // As a sharer does: the page goes with the navigation controller that owns it.
    reports_.onReport = [this](OAuthView&) {
        window_.setRootViewController(nullptr);
        delete navigation_;
    };
    // The script's answer may never come: the page goes with the view.
    driver_->clickByScript("allow");
    ASSERT_TRUE(waitForReport());
    settle();
    EXPECT_EQ(view_, nullptr);
    EXPECT_EQ(reports_.finished, 1);
}

}  // namespace
}  // namespace lumigrave::sharing::test
