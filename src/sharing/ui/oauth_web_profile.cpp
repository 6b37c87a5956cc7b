// The authorization pages' browser profile and the clearing of a service's cookies.
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QNetworkCookie>
#include <QPointer>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

#include "platform/paths.h"
#include "sharing/ui/oauth_view.h"

namespace lumigrave::sharing {

namespace {

// The engine reads its environment once, when it starts: what it needs must be set before.
void prepareEngineEnvironment() {
    // Chromium's sandbox refuses to run as root.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}

// The cookie store tells of cookies only as they come and go, and loadAllCookies() reports
// only those it loads from disk, once: the profile's record of what it holds is kept from
// the moment it is made.
class CookieRecord : public QObject {
  public:
    explicit CookieRecord(QWebEngineCookieStore* store) : QObject(store) {
        connect(store, &QWebEngineCookieStore::cookieAdded, this,
                [this](const QNetworkCookie& cookie) {
                    removeOne(cookie);
                    cookies_.append(cookie);
                });
        connect(store, &QWebEngineCookieStore::cookieRemoved, this,
                [this](const QNetworkCookie& cookie) { removeOne(cookie); });
        store->loadAllCookies();
    }
    const QList<QNetworkCookie>& cookies() const { return cookies_; }

  private:
    void removeOne(const QNetworkCookie& cookie) {
        cookies_.removeIf(
            [&](const QNetworkCookie& held) { return held.hasSameIdentifier(cookie); });
    }
    QList<QNetworkCookie> cookies_;
};

// There is no signal for "all loaded" either. A marker cookie set now comes back after
// every cookie the store was asked for before (it keeps its order), and its removal,
// asked for after the others', likewise says they are gone.
class CookieSweep : public QObject {
  public:
    CookieSweep(QWebEngineCookieStore* store, CookieRecord* record, const QString& host,
                std::function<void()> done)
        : QObject(store), store_(store), record_(record), host_(host), done_(std::move(done)) {
        static int sweeps = 0;
        marker_.setName(QStringLiteral("lumigrave-cookie-sweep-%1").arg(++sweeps).toUtf8());
        marker_.setValue("1");
        marker_.setPath(QStringLiteral("/"));
        connect(store, &QWebEngineCookieStore::cookieAdded, this, &CookieSweep::added);
        connect(store, &QWebEngineCookieStore::cookieRemoved, this, &CookieSweep::removed);
        store->setCookie(marker_, markerOrigin());
    }

  private:
    static inline const QString kMarkerHost = QStringLiteral("cookie-sweep.lumigrave.invalid");
    static QUrl markerOrigin() { return QUrl(QStringLiteral("http://") + kMarkerHost + "/"); }

    bool isMarker(const QNetworkCookie& cookie) const {
        return cookie.name() == marker_.name() && cookie.domain().endsWith(kMarkerHost);
    }

    void added(const QNetworkCookie& cookie) {
        if (deleting_ || !isMarker(cookie)) {
            return;
        }
        deleting_ = true;
        const QList<QNetworkCookie> held =
            record_ != nullptr ? record_->cookies() : QList<QNetworkCookie>();
        for (const QNetworkCookie& cookie : held) {
            if (OAuthView::cookieBelongsToHost(cookie.domain(), host_)) {
                store_->deleteCookie(cookie, originOf(cookie));
            }
        }
        store_->deleteCookie(marker_, markerOrigin());
    }

    void removed(const QNetworkCookie& cookie) {
        if (deleting_ && isMarker(cookie)) {
            disconnect(store_, nullptr, this, nullptr);
            if (done_) {
                done_();
            }
            deleteLater();
        }
    }

    static QUrl originOf(const QNetworkCookie& cookie) {
        QString domain = cookie.domain();
        if (domain.startsWith(QLatin1Char('.'))) {
            domain.remove(0, 1);
        }
        QUrl origin;
        origin.setScheme(cookie.isSecure() ? QStringLiteral("https") : QStringLiteral("http"));
        origin.setHost(domain);
        origin.setPath(cookie.path().isEmpty() ? QStringLiteral("/") : cookie.path());
        return origin;
    }

    QWebEngineCookieStore* store_;
    QPointer<CookieRecord> record_;
    QString host_;
    std::function<void()> done_;
    QNetworkCookie marker_;
    bool deleting_ = false;
};

QPointer<QWebEngineProfile> current;
QString currentStorage;
QPointer<CookieRecord> record;

}  // namespace

QWebEngineProfile* OAuthView::profile() {
    // One profile per data directory: the application has one; a test process that
    // changes its home between tests gets the new home's.
    const QString data = Paths::documentsDirectory();
    const QString storage =
        data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("WebEngine"));
    if (current != nullptr && storage == currentStorage) {
        return current;
    }
    prepareEngineEnvironment();
    // A named profile, not an off-the-record one: a person who stays logged in at the
    // service is not asked for their password again.
    current = new QWebEngineProfile(QStringLiteral("oauth"), QCoreApplication::instance());
    currentStorage = storage;
    if (!storage.isEmpty()) {
        current->setPersistentStoragePath(storage);
    }
    current->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    // Login pages are not worth keeping on disk.
    current->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    record = new CookieRecord(current->cookieStore());
    return current;
}

void OAuthView::deleteCookiesForHost(const QString& host, std::function<void()> done) {
    QWebEngineCookieStore* store = profile()->cookieStore();
    new CookieSweep(store, record, host, std::move(done));
}

bool OAuthView::cookieBelongsToHost(const QString& cookieDomain, const QString& host) {
    if (host.isEmpty() || cookieDomain.isEmpty()) {
        return false;
    }
    const QString wanted = host.toLower();
    QString domain = cookieDomain.toLower();
    const bool parentDomainCookie = domain.startsWith(QLatin1Char('.'));
    if (parentDomainCookie) {
        domain.remove(0, 1);
    }
    if (domain == wanted || domain.endsWith(QLatin1Char('.') + wanted)) {
        return true;
    }
    // ".example.com" is sent to login.example.com as well.
    return parentDomainCookie && !domain.isEmpty() && wanted.endsWith(QLatin1Char('.') + domain);
}

}  // namespace lumigrave::sharing
