#include "sharing/ui/oauth_view.h"

#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <optional>

#include "sharing/oauth/oauth_callback.h"
#include "ui/bar_button_item.h"
#include "ui/content_area.h"
#include "ui/style.h"

namespace lumigrave::sharing {

// The page decides every navigation through the view; it never opens a window of its own,
// so a service's pop-up (a help page, a second login step) replaces the page in place.
class OAuthView::Page : public QWebEnginePage {
  public:
    Page(OAuthView* view, QWebEngineProfile* profile, QObject* parent)
        : QWebEnginePage(profile, parent), view_(view) {}

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        return view_ == nullptr || view_->acceptNavigation(url);
    }
    QWebEnginePage* createWindow(WebWindowType) override { return this; }

  private:
    QPointer<OAuthView> view_;
};

OAuthView::OAuthView(const QUrl& url, const QString& callbackUrl, OAuthViewDelegate* delegate,
                     QObject* parent)
    : ui::ViewController(parent),
      url_(url),
      callbackUrl_(callbackUrl),
      delegate_(delegate),
      cancelButton_(new ui::BarButtonItem(
          ui::BarButtonItem::SystemItem::Cancel, [this](ui::BarButtonItem*) { cancel(); }, this)) {
    cancelButton_->setObjectName(QStringLiteral("Cancel"));
    navigationItem().setLeftBarButtonItem(cancelButton_);
}

OAuthView::~OAuthView() {
    // The browser widget goes before the page it shows.
    delete webView_.data();
}

QWebEngineView* OAuthView::webView() const {
    return webView_;
}

QLineEdit* OAuthView::addressLine() const {
    return addressLine_;
}

QUrl OAuthView::currentUrl() const {
    return webView_ != nullptr ? webView_->url() : url_;
}

void OAuthView::loadView() {
    auto* container = new QWidget;
    // The address and the page keep clear of the navigation bar, which lies over the top
    // of the view.
    auto* content = new QWidget(container);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    addressLine_ = new QLineEdit(content);
    addressLine_->setObjectName(QStringLiteral("oauthAddress"));
    addressLine_->setReadOnly(true);
    addressLine_->setFocusPolicy(Qt::ClickFocus);
    addressLine_->setStyleSheet(ui::style::textFieldStyleSheet(false));
    layout->addWidget(addressLine_);

    // The profile first: making it prepares the engine's environment before it starts.
    QWebEngineProfile* browserProfile = profile();
    webView_ = new QWebEngineView(content);
    // The view owns the page, not the browser widget: the page may outlive the widget, never
    // the other way round.
    webView_->setPage(new Page(this, browserProfile, this));
    layout->addWidget(webView_, 1);

    connect(webView_, &QWebEngineView::urlChanged, addressLine_,
            [line = addressLine_](const QUrl& url) {
                line->setText(url.toString());
                line->setCursorPosition(0);
            });
    connect(webView_, &QWebEngineView::titleChanged, this,
            [this](const QString& title) { setTitle(title); });
    // A shortcut rather than a key filter: the page would take a plain Escape for itself.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), container);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] { cancel(); });

    setView(container);
    ui::keepInContentArea(*this, content);
    addressLine_->setText(url_.toString());
    webView_->load(url_);
}

bool OAuthView::acceptNavigation(const QUrl& url) {
    const OAuthCallbackMatch match = OAuthCallback::match(url, callbackUrl_);
    switch (match.kind) {
        case OAuthCallbackMatch::Kind::Load:
            return true;
        case OAuthCallbackMatch::Kind::Cancelled:
            cancel();
            return false;
        case OAuthCallbackMatch::Kind::Finished:
            break;
    }
    if (match.params.contains(QStringLiteral("oauth_problem"))) {
        ShareError error;
        error.localizedDescription = QStringLiteral("The service refused the authorization: %1")
                                         .arg(match.params.value(QStringLiteral("oauth_problem")));
        finish(false, {}, &error);
    } else {
        finish(true, match.params, nullptr);
    }
    return false;
}

void OAuthView::cancel() {
    if (reported_) {
        return;
    }
    reported_ = true;
    // Later, from the loop: the delegate may dismiss and delete the view, which must not
    // happen inside the page's own call.
    QTimer::singleShot(0, this, [this] {
        if (delegate_ != nullptr) {
            delegate_->tokenAuthorizeCancelledView(*this);
        }
    });
}

void OAuthView::finish(bool success, const QMap<QString, QString>& params,
                       const ShareError* error) {
    if (reported_) {
        return;
    }
    reported_ = true;
    std::optional<ShareError> failure;
    if (error != nullptr) {
        failure = *error;
    }
    QTimer::singleShot(0, this, [this, success, params, failure] {
        if (delegate_ != nullptr) {
            delegate_->tokenAuthorizeView(*this, success, params, failure ? &*failure : nullptr);
        }
    });
}

}  // namespace lumigrave::sharing
