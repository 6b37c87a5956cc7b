#pragma once

#include <QMap>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>

#include "sharing/share_center.h"
#include "ui/view_controller.h"

class QLineEdit;
class QWebEngineProfile;
class QWebEngineView;

namespace lumigrave::ui {
class BarButtonItem;
}

namespace lumigrave::sharing {

class OAuthView;

// Where the authorization page reports. Not owned; it must outlive the view or the view
// must be told (setDelegate(nullptr)).
class OAuthViewDelegate {
  public:
    virtual ~OAuthViewDelegate() = default;
    // The service called back: success with the callback's parameters, or a failure
    // with error (never both).
    virtual void tokenAuthorizeView(OAuthView& view, bool success,
                                    const QMap<QString, QString>& queryParams,
                                    const ShareError* error) = 0;
    // The person closed the page, or the service called back without a query.
    virtual void tokenAuthorizeCancelledView(OAuthView& view) = 0;
};

// A service's authorization page: the service's own web page in an embedded browser,
// with its address shown read-only above it so the person sees which host asks for their
// password, and Cancel in the navigation bar. Pop-ups open in the same view. Every
// navigation is checked for the callback address (OAuthCallback::match): that address is
// never loaded; the view reports to its delegate instead, once.
//
// The browser's cookies persist in the application's data directory, so a person who
// stays logged in at the service need not type their password again.
class OAuthView : public ui::ViewController {
    Q_OBJECT
  public:
    OAuthView(const QUrl& url, const QString& callbackUrl, OAuthViewDelegate* delegate,
              QObject* parent = nullptr);
    ~OAuthView() override;

    void setDelegate(OAuthViewDelegate* delegate) { delegate_ = delegate; }
    const QUrl& initialUrl() const { return url_; }
    // The address the page shows now.
    QUrl currentUrl() const;
    // The browser, once the view is loaded (tests drive it).
    QWebEngineView* webView() const;
    // The read-only address line.
    QLineEdit* addressLine() const;
    // The left bar button: closes the page as cancelled.
    ui::BarButtonItem* cancelButton() const { return cancelButton_; }

    // The one browser profile of the authorization pages, its storage in the data
    // directory; made on first use.
    static QWebEngineProfile* profile();
    // Deletes every cookie the profile holds for host and its subdomains, and the parent
    // domains' cookies that would be sent to host. done, when given, is called on the
    // main loop once they are gone.
    static void deleteCookiesForHost(const QString& host, std::function<void()> done = {});
    // Whether a cookie of cookieDomain is host's: set by host itself or one of its
    // subdomains, or set for a parent domain (".example.com") and so sent to host too.
    static bool cookieBelongsToHost(const QString& cookieDomain, const QString& host);

  protected:
    void loadView() override;

  private:
    class Page;
    // The page's navigation check: whether to load url.
    bool acceptNavigation(const QUrl& url);
    void cancel();
    void finish(bool success, const QMap<QString, QString>& params, const ShareError* error);

    QUrl url_;
    QString callbackUrl_;
    OAuthViewDelegate* delegate_;
    QPointer<QWebEngineView> webView_;
    QPointer<QLineEdit> addressLine_;
    ui::BarButtonItem* cancelButton_;
    bool reported_ = false;
};

}  // namespace lumigrave::sharing
