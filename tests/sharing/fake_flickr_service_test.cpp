// The fake photo service is the judge of the client's signing, so it is checked here
// against requests built by hand, not by the client.
#include "support/fake_flickr_service.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTimer>

#include "sharing/flickr/xml_mapper.h"

namespace lumigrave::test {
namespace {

class FakeFlickrServiceTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server_.listen()); }

    // The reference signatures were computed apart, with Python's hashlib.
    struct Answer {
        int status = 0;
        QByteArray body;
    };
    Answer get(const QString& url) {
        QNetworkAccessManager manager;
        QNetworkReply* reply = manager.get(QNetworkRequest(QUrl(url)));
        return wait(reply);
    }
    Answer post(const QString& url, const QByteArray& contentType, const QByteArray& body) {
        QNetworkAccessManager manager;
        QNetworkRequest request{QUrl(url)};
        request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
        return wait(manager.post(request, body));
    }
    static Answer wait(QNetworkReply* reply) {
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        Answer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                      reply->readAll()};
        delete reply;
        return answer;
    }
    static QVariantMap rsp(const QByteArray& body) {
        QString error;
        const auto document = sharing::XMLMapper::dictionaryFromData(body, &error);
        EXPECT_TRUE(document) << error.toStdString();
        return document.value_or(QVariantMap()).value("rsp").toMap();
    }
    static QString errCode(const QByteArray& body) {
        return rsp(body).value("err").toMap().value("code").toString();
    }

    FakeHttpServer server_;
    FakeFlickrService service_{&server_};
};

TEST_F(FakeFlickrServiceTest, ItsSignatureIsTheHandComputedOne) {
    EXPECT_EQ(service_.signatureOf({{"perms", "write"}, {"api_key", "flickr-key"}}),
              "0d0d1410b396bdea9ea1308199e560a3");
}

TEST_F(FakeFlickrServiceTest, ASignedCallIsAnsweredAndAWrongSignatureRefused) {
    const QString token = service_.grantToken();
    const QString good = "api_key=flickr-key&auth_token=" + token +
                         "&method=flickr.auth.checkToken&api_sig=" +
                         service_.signatureOf({{"api_key", "flickr-key"},
                                               {"auth_token", token},
                                               {"method", "flickr.auth.checkToken"}});
    Answer answer = get(service_.restUrl() + "?" + good);
    EXPECT_EQ(rsp(answer.body).value("stat"), QVariant(QString("ok")));
    EXPECT_EQ(rsp(answer.body).value("auth").toMap().value("user").toMap().value("username"),
              QVariant(QString("photographer")));

    QString tampered = good;
    tampered.replace("checkToken", "checkTokens");
    EXPECT_EQ(errCode(get(service_.restUrl() + "?" + tampered).body), "96");
    EXPECT_EQ(service_.failures().last(), "flickr.auth.checkTokens: invalid signature");
    // Posted as a form, the same signature holds.
    answer = post(service_.restUrl(), "application/x-www-form-urlencoded", good.toUtf8());
    EXPECT_EQ(rsp(answer.body).value("stat"), QVariant(QString("ok")));
    EXPECT_EQ(errCode(get(service_.restUrl() + "?method=x&api_key=flickr-key").body), "97");
    EXPECT_EQ(errCode(get(service_.restUrl() + "?method=x&api_key=other&api_sig=0").body), "100");
    for (const QString& failure : service_.failures()) {
        EXPECT_FALSE(failure.contains("flickr-secret") || failure.contains(token));
    }
}

TEST_F(FakeFlickrServiceTest, ARevokedTokenIsInvalid) {
    const QString token = service_.grantToken();
    service_.revokeTokens();
    const QString query = "api_key=flickr-key&auth_token=" + token +
                          "&method=flickr.auth.checkToken&api_sig=" +
                          service_.signatureOf({{"api_key", "flickr-key"},
                                                {"auth_token", token},
                                                {"method", "flickr.auth.checkToken"}});
    EXPECT_EQ(errCode(get(service_.restUrl() + "?" + query).body), "98");
}

TEST_F(FakeFlickrServiceTest, TheAuthorizationPageLeadsToTheCallbackWithAFrobGoodOnce) {
    service_.setCallbackUrl("lumigrave-test://flickr-auth");
    const Answer page = get(service_.authUrl() + "?api_key=flickr-key&perms=write&api_sig=" +
                            service_.signatureOf({{"api_key", "flickr-key"}, {"perms", "write"}}));
    ASSERT_EQ(page.status, 200);
    ASSERT_EQ(service_.issuedFrobs().size(), 1);
    const QString frob = service_.issuedFrobs().first();
    EXPECT_TRUE(page.body.contains(
        "id=\"allow\" href=\"lumigrave-test://flickr-auth?frob=" + frob.toUtf8() + "\""));
    EXPECT_TRUE(page.body.contains("id=\"deny\" href=\"lumigrave-test://flickr-auth\""));
    EXPECT_EQ(get(service_.authUrl() + "?api_key=flickr-key&perms=write&api_sig=0").status, 403);

    const QString exchange =
        "api_key=flickr-key&frob=" + frob + "&method=flickr.auth.getToken&api_sig=" +
        service_.signatureOf(
            {{"api_key", "flickr-key"}, {"frob", frob}, {"method", "flickr.auth.getToken"}});
    const QVariantMap auth =
        rsp(get(service_.restUrl() + "?" + exchange).body).value("auth").toMap();
    EXPECT_EQ(auth.value("token").toMap().value("_text").toString(), service_.liveTokens().last());
    EXPECT_EQ(errCode(get(service_.restUrl() + "?" + exchange).body), "108");
}

TEST_F(FakeFlickrServiceTest, TheUploadChecksTheSignatureOverEveryPartButThePhoto) {
    const QString token = service_.grantToken();
    const auto body = [&](const QString& signature) {
        QByteArray text;
        const QList<QPair<QString, QString>> fields{{"api_key", "flickr-key"},
                                                    {"auth_token", token},
                                                    {"title", "t"},
                                                    {"api_sig", signature}};
        for (const auto& [name, value] : fields) {
            text += "--XyZ\r\nContent-Disposition: form-data; name=\"" + name.toUtf8() +
                    "\"\r\n\r\n" + value.toUtf8() + "\r\n";
        }
        return text +
               "--XyZ\r\nContent-Disposition: form-data; name=\"photo\"; filename=\"t\"\r\n"
               "Content-Type: image/jpeg\r\n\r\nJPEG\r\n--XyZ--\r\n";
    };
    const QString signature =
        service_.signatureOf({{"api_key", "flickr-key"}, {"auth_token", token}, {"title", "t"}});
    Answer answer =
        post(service_.uploadUrl(), "multipart/form-data; boundary=XyZ", body(signature));
    EXPECT_EQ(rsp(answer.body).value("photoid").toMap().value("_text"), QVariant(QString("4001")));
    ASSERT_EQ(service_.uploads().size(), 1);
    EXPECT_EQ(service_.uploads()[0].photo, "JPEG");
    EXPECT_EQ(service_.uploads()[0].arguments.value("title"), "t");

    answer = post(service_.uploadUrl(), "multipart/form-data; boundary=XyZ",
                  body(QString(signature).replace(0, 1, signature[0] == 'a' ? "b" : "a")));
    EXPECT_EQ(errCode(answer.body), "96");
    EXPECT_EQ(service_.uploads().size(), 1);
}

TEST_F(FakeFlickrServiceTest, GroupsAreListedAndAddedToOnlyWhenKnown) {
    const QString token = service_.grantToken();
    service_.setGroups({{"g1", "Lakes & Rivers"}, {"g2", "Night"}});
    const auto signedQuery = [&](QList<QPair<QString, QString>> arguments) {
        arguments += {{"api_key", "flickr-key"}, {"auth_token", token}};
        QByteArray query;
        for (const auto& [name, value] : arguments) {
            query += name.toUtf8() + '=' + QUrl::toPercentEncoding(value) + '&';
        }
        return query + "api_sig=" + service_.signatureOf(arguments).toUtf8();
    };
    const QVariantList groups = rsp(get(service_.restUrl() + "?" +
                                        signedQuery({{"method", "flickr.groups.pools.getGroups"}}))
                                        .body)
                                    .value("groups")
                                    .toMap()
                                    .value("group")
                                    .toList();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].toMap().value("name"), QVariant(QString("Lakes & Rivers")));
    const QByteArray add =
        signedQuery({{"method", "flickr.groups.pools.add"}, {"photo_id", "7"}, {"group_id", "g2"}});
    EXPECT_EQ(
        rsp(post(service_.restUrl(), "application/x-www-form-urlencoded", add).body).value("stat"),
        QVariant(QString("ok")));
    const QByteArray unknown =
        signedQuery({{"method", "flickr.groups.pools.add"}, {"photo_id", "7"}, {"group_id", "g9"}});
    EXPECT_EQ(errCode(post(service_.restUrl(), "application/x-www-form-urlencoded", unknown).body),
              "2");
    const QList<QPair<QString, QString>> added{{"7", "g2"}};
    EXPECT_EQ(service_.poolAdds(), added);
}

}  // namespace
}  // namespace lumigrave::test
