#include "sharing/linkedin/linkedin_api.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <map>

#include "sharing/share_configuration.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

class LinkedInApiTest : public testing::Test {
  protected:
    LinkedInApiTest() {
        savedConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", home_.filePath("etc-xdg").toUtf8());
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }
    ~LinkedInApiTest() override {
        qputenv("XDG_CONFIG_DIRS", savedConfigDirs_);
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }

    test::TempHome home_;
    QByteArray savedConfigDirs_;
};

TEST_F(LinkedInApiTest, EndpointsSitOnTheDeployedHost) {
    ASSERT_TRUE(QDir().mkpath(home_.filePath(".config/lumigrave")));
    QFile file(home_.filePath(".config/lumigrave/sharing.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[sharing]\nlinkedInAPIURL=http://127.0.0.1:8125/li/\n");
    file.close();
    ShareConfiguration::sharedInstanceWithConfigurator(
        std::make_unique<DefaultShareConfigurator>());
    EXPECT_EQ(LinkedInApi::requestTokenUrl(),
              QUrl("http://127.0.0.1:8125/li/uas/oauth/requestToken"));
    EXPECT_EQ(LinkedInApi::authorizeUrl(), QUrl("http://127.0.0.1:8125/li/uas/oauth/authorize"));
    EXPECT_EQ(LinkedInApi::accessTokenUrl(),
              QUrl("http://127.0.0.1:8125/li/uas/oauth/accessToken"));
    // "~" is the service's name for the logged-in user, and stays as it is.
    EXPECT_EQ(LinkedInApi::shareUrl().toEncoded(), "http://127.0.0.1:8125/li/v1/people/~/shares");
}

TEST_F(LinkedInApiTest, ShareBodyIsTheServicesShareXml) {
    EXPECT_EQ(LinkedInApi::shareBody("Lumigrave", QUrl("http://bit.ly/x1")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><share><comment>Lumigrave</comment>"
              "<content><title>Lumigrave</title><submitted-url>http://bit.ly/x1</submitted-url>"
              "</content><visibility><code>anyone</code></visibility></share>\n");
}

// What the service reads back from the body: element name to text.
std::map<QString, QString> readBack(const QByteArray& body, QString* error) {
    std::map<QString, QString> texts;
    QXmlStreamReader reader(body);
    QString name;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
            case QXmlStreamReader::StartElement:
                name = reader.name().toString();
                break;
            case QXmlStreamReader::Characters:
                texts[name] += reader.text();
                break;
            default:
                break;
        }
    }
    *error = reader.errorString();
    return texts;
}

TEST_F(LinkedInApiTest, ShareBodyCarriesAnyTextTheServiceCanRead) {
    const QString comment =
        QString::fromUtf8("Fish & <chips> \"quoted\" 'single' caf\u00e9 \U0001F4F7 ]]> end");
    const QUrl link(QString::fromUtf8("http://example.test/caf\u00e9?a=1&b=<2>"));
    QString error;
    const auto texts = readBack(LinkedInApi::shareBody(comment, link), &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(texts.at("comment"), comment);
    EXPECT_EQ(texts.at("title"), comment);
    EXPECT_EQ(texts.at("submitted-url"), "http://example.test/caf%C3%A9?a=1&b=%3C2%3E");
    EXPECT_EQ(QUrl(texts.at("submitted-url")), link);
    EXPECT_EQ(texts.at("code"), "anyone");
}

TEST_F(LinkedInApiTest, ShareBodyDropsWhatXmlCannotHold) {
    QString comment = QStringLiteral(
        "a\x01"
        "b\tc");
    comment += QChar(0xD800);  // half of a pair, alone
    comment += QChar(0xFFFE);
    comment += QStringLiteral(
        "\x1b"
        "d");
    QString error;
    const auto texts = readBack(LinkedInApi::shareBody(comment, QUrl("http://h.test/")), &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(texts.at("comment"), "ab\tcd");
    EXPECT_EQ(texts.at("title"), "ab\tcd");
}

struct ErrorCase {
    const char* name;
    int status;
    QByteArray body;
    QString message;
};

TEST_F(LinkedInApiTest, ErrorMessage) {
    const QByteArray error =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<error>\n"
        "  <status>400</status>\n  <timestamp>1300000000000</timestamp>\n"
        "  <request-id>ABC12</request-id>\n  <error-code>0</error-code>\n";
    const QString refused = QStringLiteral("LinkedIn refused the share (400).");
    const QString login = QStringLiteral("LinkedIn did not accept the login.");
    const QString longText(1000, 'w');
    const ErrorCase cases[] = {
        {"Message", 400,
         error + "  <message>Invalid xml {Element 'comment' too long}</message>\n</error>",
         "Invalid xml {Element 'comment' too long}"},
        {"MessageTidied", 400,
         error + "<message>\n  two\r\n lines &amp; an &#9; escape </message></error>",
         "two lines & an escape"},
        {"MessageCut", 400, error + "<message>" + longText.toUtf8() + "</message></error>",
         QString(LinkedInApi::kMaxMessageChars - 1, 'w') + QChar(0x2026)},
        {"NoMessage", 400, error + "</error>", refused},
        {"EmptyMessage", 400, error + "<message>  </message></error>", refused},
        {"NoMessageUnauthorized", 401, "", login},
        {"ServerTrouble", 503, "<html>down</html>",
         QStringLiteral(
             "LinkedIn could not take the share just now (503). Please try again later.")},
        {"Malformed", 400, error + "<message>Bad</message>", refused},
        {"MalformedAfterTheMessage", 400, error + "<message>Bad</message></error><x>", refused},
        {"OtherRoot", 400, "<oops><message>Not ours</message></oops>", refused},
        {"MessageNotAChildOfError", 400, "<error><x><message>Deep</message></x></error>", refused},
        {"DtdRefused", 400,
         "<?xml version=\"1.0\"?><!DOCTYPE error [<!ENTITY a \"aaaaaaaa\">"
         "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><error><message>&b;</message></error>",
         refused},
        {"UndeclaredEntity", 400, "<error><message>&nbsp;x</message></error>", refused},
        {"TooDeep", 400,
         "<error><message>m</message>" + QByteArray("<d>").repeated(40) +
             QByteArray("</d>").repeated(40) + "</error>",
         refused},
        {"TooBig", 400,
         "<error><message>m</message>" + QByteArray(LinkedInApi::kMaxAnswerBytes, ' ') + "</error>",
         refused},
    };
    for (const ErrorCase& c : cases) {
        const QString message = LinkedInApi::errorMessage(c.status, c.body);
        EXPECT_EQ(message, c.message) << c.name;
    }
}

}  // namespace
}  // namespace lumigrave::sharing
