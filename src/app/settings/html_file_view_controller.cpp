#include "app/settings/html_file_view_controller.h"

#include <QFileInfo>
#include <QTextBrowser>

#include "platform/bundle.h"
#include "platform/url_opener.h"
#include "ui/content_area.h"

namespace lumigrave {

namespace {
// The resources are compiled in; their pages load as qrc: URLs, which also resolve the
// pages' relative links and pictures.
bool isBundledPage(const QUrl& url) {
    return url.scheme() == QLatin1String("qrc") &&
           QFileInfo(QLatin1Char(':') + url.path()).isFile();
}
}  // namespace

HtmlFileViewController::HtmlFileViewController(const QString& fileName, QObject* parent)
    : ui::ViewController(parent), fileName_(fileName) {}

QTextBrowser* HtmlFileViewController::webView() {
    view();
    return webView_;
}

QString HtmlFileViewController::missingPageText(const QString& fileName) {
    return QStringLiteral("The page \u201C%1\u201D is missing.").arg(fileName);
}

void HtmlFileViewController::loadView() {
    auto* root = new QWidget;
    auto* browser = new QTextBrowser(root);
    browser->setObjectName(QStringLiteral("webView"));
    browser->setFrameShape(QFrame::NoFrame);
    // A link the browser cannot load would empty the page: every link comes here.
    browser->setOpenLinks(false);
    browser->setOpenExternalLinks(false);
    connect(browser, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& link) { followLink(link); });
    webView_ = browser;
    const QString path = Bundle::pathForResource(fileName_, QStringLiteral("html"));
    if (path.isEmpty()) {
        qWarning("The page \"%s\" is missing from the resources", qPrintable(fileName_));
        browser->setPlainText(missingPageText(fileName_));
    } else {
        // path is ":/name.html".
        browser->setSource(QUrl(QStringLiteral("qrc") + path));
    }
    setView(root);
    ui::keepInContentArea(*this, browser);
}

void HtmlFileViewController::viewDidUnload() {
    webView_ = nullptr;
}

void HtmlFileViewController::followLink(const QUrl& link) {
    if (webView_ == nullptr) {
        return;
    }
    const QUrl target = webView_->source().resolved(link);
    const QString scheme = target.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto")) {
        UrlOpener::openURL(target);
        return;
    }
    const QUrl current = webView_->source().adjusted(QUrl::RemoveFragment);
    if (target.adjusted(QUrl::RemoveFragment) == current) {
        webView_->scrollToAnchor(target.fragment());
        return;
    }
    if (isBundledPage(target)) {
        webView_->setSource(target);
        return;
    }
    qWarning("A help page's link leads nowhere: %s", qPrintable(target.toString()));
}

}  // namespace lumigrave
