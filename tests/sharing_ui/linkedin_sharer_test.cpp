// Recommending the application on LinkedIn against a fake service that checks every
// signature: the login on the service's page, the share with the title as its comment
// and the link as its content, a login the service no longer takes, and its refusals.
#include <QXmlStreamReader>

#include "oauth_sharer_fixture.h"
#include "sharing/ui/linkedin_sharer.h"

namespace lumigrave::sharing::test {
namespace {

const QString kSharePath = QStringLiteral("/v1/people/~/shares");

class LinkedInSharerTest : public OAuthSharerTest {
  protected:
    LinkedInSharerTest() {
        service_.setPaths("/uas/oauth/requestToken", "/uas/oauth/authorize",
                          "/uas/oauth/accessToken");
        service_.protect(kSharePath, [](const FakeHttpServer::Request&) {
            return FakeHttpServer::text(201, "", "text/plain");
        });
    }

    QPointer<Sharer> recommend(const QString& title = "Lumigrave is Awesome!") {
        QPointer<Sharer> sharer = Sharer::shareItem<LinkedInSharer>(
            ShareItem::URL(QUrl("https://lumigrave.app/get?from=li&x=1"), title, 1));
        settle();
        return sharer;
    }
    ShareFormController* waitForForm(const QPointer<Sharer>& sharer) {
        waitUntil([&] { return sharer.isNull() || form(sharer) != nullptr; });
        return form(sharer);
    }
    // The text of each element of the share XML the service received last.
    QMap<QString, QString> lastShare() const {
        const QList<FakeHttpServer::Request> shares = server_.requestsTo(kSharePath);
        QMap<QString, QString> values;
        if (shares.isEmpty()) {
            return values;
        }
        QXmlStreamReader xml(shares.last().body);
        QString name;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                name = xml.name().toString();
            } else if (xml.isCharacters() && !xml.isWhitespace()) {
                values[name] += xml.text().toString();
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        return values;
    }
};

TEST_F(LinkedInSharerTest, TheFirstRecommendationLogsInAndSharesTheLinkWithItsTitle) {
    QPointer<Sharer> sharer = recommend();
    OAuthView* page = waitForPage(sharer);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(
        page->initialUrl().toString().startsWith(server_.url("/uas/oauth/authorize?oauth_token=")));
    ASSERT_TRUE(clickOnPage(sharer, "allow", true));
    ShareFormController* edit = waitForForm(sharer);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->valueForKey("title"), "Lumigrave is Awesome!");
    edit->setValueForKey("title", "Glass & light <3");
    edit->validateForm();
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));

    ASSERT_EQ(server_.requestsTo(kSharePath).size(), 1);
    EXPECT_TRUE(server_.requestsTo(kSharePath)[0].header("Content-Type").startsWith("text/xml"));
    const QMap<QString, QString> share = lastShare();
    EXPECT_EQ(share.value("comment"), "Glass & light <3");
    EXPECT_EQ(share.value("submitted-url"), "https://lumigrave.app/get?from=li&x=1");
    EXPECT_EQ(share.value("code"), "anyone");
    const QList<FakeOAuthService::Token> live = service_.liveAccessTokens();
    ASSERT_EQ(live.size(), 1);
    EXPECT_EQ(storedValues("LinkedInSharer"), secretsOf(live[0]));
    EXPECT_TRUE(service_.failures().isEmpty()) << service_.failures().join('\n').toStdString();
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidFinishNotification));
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_FALSE(callbackLoaded());
    const QString logged = log_.lines().join('\n');
    for (const QString& secret : secretsOf(live[0]) + QStringList{kConsumerSecret}) {
        EXPECT_FALSE(logged.contains(secret)) << "logged a secret";
    }
}

TEST_F(LinkedInSharerTest, ALoginTheServiceNoLongerTakesIsAskedForAgainAndTheShareResent) {
    logIn("LinkedInSharer");
    QPointer<Sharer> sharer = recommend();
    ShareFormController* edit = waitForForm(sharer);
    ASSERT_NE(edit, nullptr);
    service_.revokeAccessTokens();
    edit->validateForm();
    ASSERT_TRUE(clickOnPage(sharer, "allow"));
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(server_.requestsTo(kSharePath).size(), 2);
    EXPECT_EQ(lastShare().value("comment"), "Lumigrave is Awesome!");
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidFinishNotification));
    EXPECT_TRUE(alertTexts().isEmpty()) << alertTexts().join('|').toStdString();
}

TEST_F(LinkedInSharerTest, OtherRefusalsShowTheServicesMessage) {
    logIn("LinkedInSharer");
    service_.protect(kSharePath, [](const FakeHttpServer::Request&) {
        return FakeHttpServer::text(
            400,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><error><status>400</status>"
            "<message>Do not post duplicate content</message></error>",
            "text/xml");
    });
    QPointer<Sharer> sharer = recommend();
    ShareFormController* edit = waitForForm(sharer);
    ASSERT_NE(edit, nullptr);
    edit->validateForm();
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(alertTexts(), QStringList({"Error", "Do not post duplicate content"}));
    EXPECT_TRUE(server_.requestsTo("/uas/oauth/requestToken").isEmpty());
}

}  // namespace
}  // namespace lumigrave::sharing::test
