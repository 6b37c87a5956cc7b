#pragma once
// The authorization page in a real browser, shown as a sharer shows it (the root of a
// navigation controller in a window that has the focus), over a fake service on
// 127.0.0.1 whose pages the test writes. The callback points at the same service, so a
// callback that were loaded would show among its requests.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWebEngineView>
#include <functional>
#include <memory>

#include "sharing/ui/oauth_view.h"
#include "support/fake_http_server.h"
#include "support/temp_home.h"
#include "support/web_engine_test_setup.h"
#include "support/web_view_driver.h"
#include "support/widget_test_support.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/window.h"

namespace lumigrave::sharing::test {

using lumigrave::test::FakeHttpServer;
using ui::test::eventually;
using ui::test::flushDeletes;
using ui::test::settle;

struct AuthorizeReports : OAuthViewDelegate {
    int finished = 0;
    int cancelled = 0;
    bool success = false;
    QMap<QString, QString> params;
    QString error;
    // Runs inside each report, as a sharer dismissing the page would.
    std::function<void(OAuthView&)> onReport;

    int reports() const { return finished + cancelled; }
    void tokenAuthorizeView(OAuthView& view, bool ok, const QMap<QString, QString>& query,
                            const ShareError* failure) override {
        ++finished;
        success = ok;
        params = query;
        error = failure != nullptr ? failure->localizedDescription : QString();
        if (onReport) {
            onReport(view);
        }
    }
    void tokenAuthorizeCancelledView(OAuthView& view) override {
        ++cancelled;
        if (onReport) {
            onReport(view);
        }
    }
};

class OAuthViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QString why;
        ASSERT_TRUE(lumigrave::test::prepareWebEngineForTests(&why)) << why.toStdString();
        ASSERT_TRUE(server_.listen());
        window_.resize(480, 640);
    }
    void TearDown() override {
        window_.setRootViewController(nullptr);
        delete navigation_;
        delete view_;
        flushDeletes();
    }

    // A page of the fake service under a title.
    void page(const QString& path, const QString& body, const QString& title = "Authorize") {
        server_.setResponse(path, FakeHttpServer::text(200,
                                                       QStringLiteral("<!DOCTYPE html><html><head>"
                                                                      "<title>%1</title></head>"
                                                                      "<body>%2</body></html>")
                                                           .arg(title, body)
                                                           .toUtf8(),
                                                       "text/html; charset=utf-8"));
    }
    // A page with the "allow" link to href, as a service's authorization page has.
    void allowPage(const QString& path, const QString& href) {
        page(path, QStringLiteral("<a id=\"allow\" href=\"%1\" style=\"display:block;"
                                  "width:200px;height:60px\">Allow</a>")
                       .arg(href.toHtmlEscaped()));
    }

    // Shows the page of path with callback as the callback address, and waits until it
    // holds the element readyId.
    void open(const QString& path, const QString& callback,
              const QString& readyId = QStringLiteral("allow")) {
        view_ = new OAuthView(QUrl(server_.url(path)), callback, &reports_);
        navigation_ = new ui::NavigationController(view_);
        window_.setRootViewController(navigation_);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        QApplication::setActiveWindow(&window_);
        settle();
        ASSERT_NE(view_->webView(), nullptr);
        driver_ = std::make_unique<lumigrave::test::WebViewDriver>(view_->webView());
        ASSERT_TRUE(driver_->waitForElement(readyId)) << "the page did not load";
    }
    bool waitForReport() {
        return eventually([this] { return reports_.reports() > 0; }, 20000);
    }
    // Clicks the element by script and waits for the report; the page's navigation has
    // ended by then, so a callback that was loaded would be among the server's requests.
    void clickAndWaitForReport(const QString& id) {
        const qsizetype loads = driver_->loadsFinished().size();
        ASSERT_TRUE(driver_->clickByScript(id));
        ASSERT_TRUE(waitForReport());
        ASSERT_TRUE(driver_->waitForLoads(int(loads) + 1));
        EXPECT_FALSE(driver_->loadsFinished().last()) << "the callback was loaded";
    }
    QString barTitle() const { return navigation_->navigationBar()->title(); }

    lumigrave::test::TempHome home_;
    FakeHttpServer server_;
    ui::Window window_;
    QPointer<ui::NavigationController> navigation_;
    QPointer<OAuthView> view_;
    AuthorizeReports reports_;
    std::unique_ptr<lumigrave::test::WebViewDriver> driver_;
};

}  // namespace lumigrave::sharing::test
