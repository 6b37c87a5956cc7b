#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

#include "support/fake_http_server.h"

namespace lumigrave::test {

// The photo service on a FakeHttpServer, for the tests of the photo-site client and its
// sharer: REST calls at /services/rest/ (GET query or POST form), the upload at
// /services/upload/ (multipart) and the authorization page at /services/auth/. Every
// "api_sig" it receives is checked with its own MD5 code, not the client's, so a fault in
// the client's signing shows as error 96.
//
// Methods: flickr.auth.getToken (an allowed frob gives a token and the user),
// flickr.auth.checkToken (98 for a token it does not hold), flickr.groups.pools.getGroups
// and flickr.groups.pools.add (both need a live token). The authorization page, for a
// signed GET with api_key and perms, holds an element with id "allow" that leads to the
// callback with a new frob, and one with id "deny" that leads to the callback with no
// query.
//
// No key, secret or token is ever recorded in failures().
class FakeFlickrService {
  public:
    struct Group {
        QString nsid;
        QString name;
    };
    struct Upload {
        // The form's fields but the photo, as received.
        QMap<QString, QString> arguments;
        QString filename;
        QByteArray contentType;
        QByteArray photo;
    };
    struct Failure {
        int code = 0;
        QString message;
    };

    explicit FakeFlickrService(FakeHttpServer* server);

    void setKeys(const QString& key, const QString& secret);
    void setCallbackUrl(const QString& callbackUrl) { callbackUrl_ = callbackUrl; }
    void setUserName(const QString& name) { userName_ = name; }
    void setGroups(const QList<Group>& groups) { groups_ = groups; }

    // What a deployment file sets to point the client here.
    QByteArray deploymentLines() const;
    QString restUrl() const;
    QString authUrl() const;
    QString uploadUrl() const;

    // A live token without a login.
    QString grantToken();
    void revokeTokens() { tokens_.clear(); }
    const QStringList& liveTokens() const { return tokens_; }
    // The frobs issued by the authorization page's "allow", newest last.
    const QStringList& issuedFrobs() const { return frobs_; }

    // The next call of method (or "upload") fails with this service error.
    void failNext(const QString& method, int code, const QString& message);
    // The next call of method (or "upload") gets this body as its whole answer.
    void answerNextWith(const QString& method, const QByteArray& body);

    const QList<Upload>& uploads() const { return uploads_; }
    // Photo ids and group ids, in the order they were added.
    const QList<QPair<QString, QString>>& poolAdds() const { return poolAdds_; }
    // The methods called and verified, in order ("upload" for uploads).
    const QStringList& calls() const { return calls_; }
    const QStringList& failures() const { return failures_; }

    // The signature this service expects, for its own tests.
    QString signatureOf(const QList<QPair<QString, QString>>& arguments) const;

  private:
    using Request = FakeHttpServer::Request;
    using Response = FakeHttpServer::Response;
    using Arguments = QList<QPair<QString, QString>>;

    Response rest(const Request& request);
    Response upload(const Request& request);
    Response authPage(const Request& request);
    // Checks the key and the signature; the refusal's answer when they do not hold.
    std::optional<Response> refusal(const QString& where, const Arguments& arguments);
    std::optional<Response> scripted(const QString& method);
    Response error(int code, const QString& message);
    Response authAnswer(const QString& token);

    FakeHttpServer* server_;
    QString key_ = QStringLiteral("flickr-key");
    QString secret_ = QStringLiteral("flickr-secret");
    QString callbackUrl_ = QStringLiteral("lumigrave-test://flickr-auth");
    QString userName_ = QStringLiteral("photographer");
    QList<Group> groups_;
    QStringList tokens_;
    QStringList frobs_;
    QStringList pendingFrobs_;
    QMap<QString, Failure> nextFailures_;
    QMap<QString, QByteArray> nextAnswers_;
    QList<Upload> uploads_;
    QList<QPair<QString, QString>> poolAdds_;
    QStringList calls_;
    QStringList failures_;
    int issued_ = 0;
};

}  // namespace lumigrave::test
