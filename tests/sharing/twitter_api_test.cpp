#include "sharing/twitter/twitter_api.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <vector>

#include "platform/image.h"
#include "sharing/share_configuration.h"
#include "sharing/share_item.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

// Every test starts from an empty home with the library's own configuration; a
// deployment file moves the services when a test asks.
class TwitterApiTest : public testing::Test {
  protected:
    TwitterApiTest() {
        savedConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", home_.filePath("etc-xdg").toUtf8());
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }
    ~TwitterApiTest() override {
        qputenv("XDG_CONFIG_DIRS", savedConfigDirs_);
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }
    void deploy(const QByteArray& lines) {
        ASSERT_TRUE(QDir().mkpath(home_.filePath(".config/lumigrave")));
        QFile file(home_.filePath(".config/lumigrave/sharing.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[sharing]\n" + lines);
        file.close();
        ShareConfiguration::sharedInstanceWithConfigurator(
            std::make_unique<DefaultShareConfigurator>());
    }

    test::TempHome home_;
    QByteArray savedConfigDirs_;
};

TEST_F(TwitterApiTest, EndpointsSitOnTheDeployedHostsWithoutDoubledSlashes) {
    deploy(
        "twitterAPIURL=http://127.0.0.1:8123/tw//\n"
        "twitterImageHostURL=http://127.0.0.1:8124/\n");
    EXPECT_EQ(TwitterApi::apiRoot(), QUrl("http://127.0.0.1:8123/tw"));
    EXPECT_EQ(TwitterApi::authorizeUrl(), QUrl("http://127.0.0.1:8123/tw/oauth/authorize"));
    EXPECT_EQ(TwitterApi::requestTokenUrl(), QUrl("http://127.0.0.1:8123/tw/oauth/request_token"));
    EXPECT_EQ(TwitterApi::accessTokenUrl(), QUrl("http://127.0.0.1:8123/tw/oauth/access_token"));
    EXPECT_EQ(TwitterApi::statusUpdateUrl(),
              QUrl("http://127.0.0.1:8123/tw/1/statuses/update.json"));
    EXPECT_EQ(TwitterApi::verifyCredentialsUrl(),
              QUrl("http://127.0.0.1:8123/tw/1/account/verify_credentials.json"));
    EXPECT_EQ(TwitterApi::imageUploadUrl(), QUrl("http://127.0.0.1:8124/api/2/upload.xml"));
}

// The paths carry the API's version themselves; a base address that did too would double
// it.
TEST_F(TwitterApiTest, TheLibrarysAddressesGiveTheEndpointsTheirPathsOnce) {
    EXPECT_EQ(TwitterApi::statusUpdateUrl().path(), "/1/statuses/update.json");
    EXPECT_EQ(TwitterApi::imageUploadUrl().path(), "/api/2/upload.xml");
}

// An empty callback address matches no page, so a login could never come back.
TEST_F(TwitterApiTest, TheLibraryHasCallbackAddressesNoSiteAnswers) {
    const ShareConfiguration& configuration = ShareConfiguration::sharedInstance();
    for (const char* key : {"twitterCallbackUrl", "linkedInCallbackUrl"}) {
        const QUrl url(configuration.stringValue(QString::fromLatin1(key)), QUrl::StrictMode);
        EXPECT_TRUE(url.isValid()) << key;
        EXPECT_EQ(url.scheme(), "https") << key;
        EXPECT_TRUE(url.host().endsWith(".test")) << key;
    }
    EXPECT_NE(configuration.stringValue("twitterCallbackUrl"),
              configuration.stringValue("linkedInCallbackUrl"));
}

struct StatusCase {
    const char* name;
    ShareItem item;
    QString expected;
};

ShareItem urlItem(const char* url, const QString& title, const QStringList& tags = {}) {
    ShareItem item = ShareItem::URL(QUrl(QString::fromUtf8(url)), title, 0);
    item.setTags(tags);
    return item;
}

std::vector<StatusCase> statusCases() {
    std::vector<StatusCase> cases;
    cases.push_back(
        {"TitleAndLink", urlItem("http://bit.ly/x1", "Lumigrave"), "Lumigrave http://bit.ly/x1"});
    cases.push_back({"TagsBetweenTitleAndLink",
                     urlItem("http://bit.ly/x1", "Lumigrave", {"a-b", "c"}),
                     "Lumigrave #ab #c http://bit.ly/x1"});
    cases.push_back({"TagsThatReduceToNothingAreLeftOut",
                     urlItem("http://bit.ly/x1", "Lumigrave", {"-", "", "!?", "c"}),
                     "Lumigrave #c http://bit.ly/x1"});
    cases.push_back({"NoLeadingBlankWithoutATitle", urlItem("http://bit.ly/x1", "", {"a"}),
                     "#a http://bit.ly/x1"});
    cases.push_back({"AccentedTagsKeepTheirLettersTypedEitherWay",
                     urlItem("http://bit.ly/x1", "T",
                             {QString::fromUtf8("caf\u00e9-au-lait"),
                              QString::fromUtf8("cre\u0301me"), QString::fromUtf8("日本")}),
                     QString::fromUtf8("T #caf\u00e9aulait #cr\u00e9me #日本 http://bit.ly/x1")});
    // Escaped letters read as letters; an escaped blank or delimiter keeps the link whole
    // and the same link.
    cases.push_back({"LinkReadableButStillTheSameLink",
                     urlItem("http://example.com/caf%C3%A9%20x/a%2Fb?q=a%26b#s%20t", "T"),
                     QString::fromUtf8("T http://example.com/caf\u00e9%20x/a%2Fb?q=a%26b#s%20t")});
    ShareItem text = ShareItem::text("Hello from Lumigrave");
    text.setTitle("Not this");
    text.setTags({"x"});
    cases.push_back({"TextItemStartsFromItsText", text, "Hello from Lumigrave #x"});
    ShareItem image = ShareItem::image(Image(QImage(4, 4, QImage::Format_RGB32)), "My photo ");
    cases.push_back({"ImageItemStartsFromItsTitle", image, "My photo"});
    ShareItem edited = urlItem("http://bit.ly/x1", "Lumigrave", {"a"});
    edited.setCustomValue("what I wrote", "status");
    cases.push_back({"AStatusAlreadyThereIsKept", edited, "what I wrote"});
    return cases;
}

TEST_F(TwitterApiTest, StatusForItem) {
    for (const StatusCase& c : statusCases()) {
        EXPECT_EQ(TwitterApi::statusForItem(c.item), c.expected) << c.name;
    }
}

TEST_F(TwitterApiTest, AStatusHoldsOneTo140Utf16Units) {
    const QString emoji = QString::fromUtf8("\U0001F4F7");
    ASSERT_EQ(emoji.size(), 2);
    EXPECT_FALSE(TwitterApi::isValidStatus(QString()));
    EXPECT_TRUE(TwitterApi::isValidStatus("a"));
    EXPECT_TRUE(TwitterApi::isValidStatus(QString(140, 'a')));
    EXPECT_FALSE(TwitterApi::isValidStatus(QString(141, 'a')));
    EXPECT_TRUE(TwitterApi::isValidStatus(QString(138, 'a') + emoji));
    EXPECT_FALSE(TwitterApi::isValidStatus(QString(139, 'a') + emoji));
}

// A stand-in encoder whose sizes per quality are given, recording what it was asked.
struct FakeEncoder {
    std::map<int, qsizetype> sizes;
    std::vector<int> asked;
    QByteArray operator()(int quality) {
        asked.push_back(quality);
        const auto size = sizes.find(quality);
        return size == sizes.end() ? QByteArray() : QByteArray(size->second, char(quality));
    }
};

TEST_F(TwitterApiTest, FitJpegTakesTheFirstQualityThatFits) {
    FakeEncoder encoder{{{90, 900000}, {80, 760000}, {70, 690000}, {60, 500000}}, {}};
    const QByteArray data = TwitterApi::fitJpeg(std::ref(encoder));
    EXPECT_EQ(data, QByteArray(690000, char(70)));
    EXPECT_EQ(encoder.asked, (std::vector<int>{90, 80, 70}));

    FakeEncoder exact{{{90, TwitterApi::kMaxImageBytes}}, {}};
    EXPECT_EQ(TwitterApi::fitJpeg(std::ref(exact)).size(), TwitterApi::kMaxImageBytes);
    EXPECT_EQ(exact.asked, std::vector<int>{90});
}

TEST_F(TwitterApiTest, FitJpegEndsAtQuality10WhenNothingFits) {
    FakeEncoder encoder;
    for (int quality = 0; quality <= 100; ++quality) {
        encoder.sizes[quality] = 800000 - quality;
    }
    EXPECT_EQ(TwitterApi::fitJpeg(std::ref(encoder)), QByteArray(800000 - 10, char(10)));
    EXPECT_EQ(encoder.asked, (std::vector<int>{90, 80, 70, 60, 50, 40, 30, 20, 10}));
}

TEST_F(TwitterApiTest, FitJpegGivesNothingWhenAnEncodingFails) {
    FakeEncoder encoder{{{90, 900000}}, {}};
    EXPECT_TRUE(TwitterApi::fitJpeg(std::ref(encoder)).isEmpty());
    EXPECT_EQ(encoder.asked, (std::vector<int>{90, 80}));
}

// A photo-like image: gradients with grain, which JPEG cannot squeeze at high quality.
QImage grainyPhoto(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(1234);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = int(random.bounded(24u)) - 12;
            row[x] =
                qRgb(qBound(0, x * 255 / width + grain, 255),
                     qBound(0, y * 255 / height + grain, 255), qBound(0, 128 + grain * 2, 255));
        }
    }
    return image;
}

TEST_F(TwitterApiTest, ABigPhotoIsSentAtTheFirstQualityThatFitsTheImageHost) {
    const QImage photo = grainyPhoto(4000, 3000);
    ASSERT_GT(TwitterApi::jpeg(photo, 90).size(), TwitterApi::kMaxImageBytes);
    int chosen = -1;
    const QByteArray data = TwitterApi::fitJpeg([&](int quality) {
        const QByteArray encoded = TwitterApi::jpeg(photo, quality);
        if (chosen < 0 && encoded.size() <= TwitterApi::kMaxImageBytes) {
            chosen = quality;
        }
        return encoded;
    });
    ASSERT_GT(chosen, 10) << "the photo should fit above the lowest quality";
    EXPECT_LE(data.size(), TwitterApi::kMaxImageBytes);
    EXPECT_EQ(data, TwitterApi::jpeg(photo, chosen));
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(data, "JPEG"));
    EXPECT_EQ(decoded.size(), photo.size());
}

QImage decodedJpeg(const QByteArray& data) {
    QImage image;
    image.loadFromData(data, "JPEG");
    return image;
}

TEST_F(TwitterApiTest, JpegIsAnOpaqueColourImageInSrgb) {
    EXPECT_TRUE(TwitterApi::jpeg(QImage(), 90).isEmpty());

    QImage clear(16, 16, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const QImage flattened = decodedJpeg(TwitterApi::jpeg(clear, 90));
    ASSERT_FALSE(flattened.isNull());
    EXPECT_GE(qGray(flattened.pixel(8, 8)), 250) << "transparency shows white";

    // A grey picture still gives the colour JPEG an image host expects.
    QImage grey(16, 16, QImage::Format_Grayscale8);
    grey.fill(100);
    const QByteArray greyJpeg = TwitterApi::jpeg(grey, 90);
    QBuffer buffer;
    buffer.setData(greyJpeg);
    QImageReader reader(&buffer, "jpeg");
    EXPECT_NE(reader.imageFormat(), QImage::Format_Grayscale8);
    EXPECT_NEAR(qRed(decodedJpeg(greyJpeg).pixel(8, 8)), 100, 2);

    // Pixels in a wider colour space come out as the same colour in sRGB, not as the same
    // numbers.
    QImage wide(16, 16, QImage::Format_RGB32);
    wide.fill(qRgb(40, 180, 60));
    wide.setColorSpace(QColorSpace::DisplayP3);
    const QRgb expected = wide.convertedToColorSpace(QColorSpace(QColorSpace::SRgb)).pixel(8, 8);
    const QRgb actual = decodedJpeg(TwitterApi::jpeg(wide, 95)).pixel(8, 8);
    ASSERT_GT(std::abs(qGreen(expected) - 180) + std::abs(qRed(expected) - 40), 10);
    EXPECT_NEAR(qRed(actual), qRed(expected), 3);
    EXPECT_NEAR(qGreen(actual), qGreen(expected), 3);
    EXPECT_NEAR(qBlue(actual), qBlue(expected), 3);
}

TEST_F(TwitterApiTest, UploadBodyIsTheImageHostsMultipartByteForByte) {
    const QByteArray jpeg("\xff\xd8\r\n--\0\xff\xd9", 10);
    const QByteArray expected =
        QByteArray(
            "--0xKhTmLbOuNdArY\r\n"
            "Content-Disposition: form-data; name=\"media\"; filename=\"upload.jpg\"\r\n"
            "Content-Type: image/jpg\r\n"
            "\r\n") +
        jpeg +
        QByteArray(
            "\r\n"
            "--0xKhTmLbOuNdArY\r\n"
            "Content-Disposition: form-data; name=\"message\"\r\n"
            "\r\n"
            "Caf\xc3\xa9 \xe2\x98\x95 #ab\r\n"
            "--0xKhTmLbOuNdArY--\r\n");
    EXPECT_EQ(TwitterApi::imageUploadBody(jpeg, QString::fromUtf8("Caf\u00e9 \u2615 #ab")),
              expected);
    EXPECT_EQ(TwitterApi::imageUploadContentType(),
              "multipart/form-data; boundary=0xKhTmLbOuNdArY");
}

struct LinkCase {
    const char* name;
    QByteArray body;
    std::optional<QString> link;
};

TEST_F(TwitterApiTest, LinkFromUploadAnswer) {
    const QByteArray farAway = QByteArray(TwitterApi::kMaxScannedBytes, ' ') + "<url>x</url>";
    const LinkCase cases[] = {
        {"Plain",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<image><id>1a2b</id>"
         "<url>http://twitpic.test/1a2b</url></image>",
         QString("http://twitpic.test/1a2b")},
        {"MarkersInAnyCase", "<image><URL>http://h.test/a</Url></image>",
         QString("http://h.test/a")},
        {"BlanksAroundTrimmed", "<url>\n  http://h.test/a \n</url>", QString("http://h.test/a")},
        {"XmlEscapesRead", "<url>http://h.test/?a=1&amp;b=2</url>",
         QString("http://h.test/?a=1&b=2")},
        {"NoEndMarker", "<image><url>http://h.test/a</image>", std::nullopt},
        {"NoStartMarker", "<image>http://h.test/a</url></image>", std::nullopt},
        {"MarkersReversed", "</url>http://h.test/a<url>", std::nullopt},
        {"EmptyLink", "<url></url>", std::nullopt},
        {"BlankLink", "<url> \r\n </url>", std::nullopt},
        {"NotOneLink", "<url>http://h.test/a http://evil.test</url>", std::nullopt},
        {"JsonError", "{\"error\":\"Could not authenticate with OAuth.\"}", std::nullopt},
        {"Empty", "", std::nullopt},
        {"BeyondWhatIsRead", farAway, std::nullopt},
    };
    for (const LinkCase& c : cases) {
        EXPECT_EQ(TwitterApi::linkFromUploadAnswer(c.body), c.link) << c.name;
    }
}

struct MessageCase {
    const char* name;
    QByteArray body;
    QString message;
};

TEST_F(TwitterApiTest, ErrorMessage) {
    const QByteArray longText(5000, 'w');
    const QString cut = QString(TwitterApi::kMaxMessageChars - 1, 'w') + QChar(0x2026);
    const MessageCase cases[] = {
        {"Member", "{\"request\":\"/1/statuses/update.json\",\"error\":\"Status is a duplicate.\"}",
         "Status is a duplicate."},
        {"Absent", "{\"request\":\"/1/statuses/update.json\"}", "Unknown Error"},
        {"NotJson", "<html><body>502 Bad Gateway</body></html>", "Unknown Error"},
        {"Empty", "", "Unknown Error"},
        {"EmptyMessage", "{\"error\":\"\"}", "Unknown Error"},
        {"BlanksAroundTheColon", "{\"error\" :\n\t \"Over capacity\"}", "Over capacity"},
        {"TruncatedInsideTheMessage", "{\"error\":\"Over capa", "Unknown Error"},
        {"TruncatedAfterTheName", "{\"error\"", "Unknown Error"},
        {"AnObjectIsNoMessage", "{\"error\":{\"message\":\"x\"}}", "Unknown Error"},
        {"OtherMemberNames", "{\"errors\":\"a\",\"my_error\":\"b\"}", "Unknown Error"},
        {"EscapedSlash", "{\"error\":\"Invalid \\/ used nonce\"}", "Invalid / used nonce"},
        {"EscapedQuotes", "{\"error\":\"Say \\\"hi\\\" \\u00e9\"}",
         QString::fromUtf8("Say \"hi\" \u00e9")},
        {"EscapedPair", "{\"error\":\"\\ud83d\\udcf7\"}", QString::fromUtf8("\U0001F4F7")},
        {"LoneHalfDropped", "{\"error\":\"a\\ud83d b\"}", "a b"},
        {"OneLineWithoutControls", "{\"error\":\"two\\nlines\x07 and\\u0000 \x1b[31mred\"}",
         "two lines and [31mred"},
        {"BadUtf8", "{\"error\":\"a\xff\xfe\"}", QString::fromUtf8("a\uFFFD\uFFFD")},
        {"LongMessageCut", "{\"error\":\"" + longText + "\"}", cut},
        {"HugeBodyMessageFar",
         QByteArray(TwitterApi::kMaxScannedBytes, ' ') + "{\"error\":\"far\"}", "Unknown Error"},
        {"HugeBodyMessageNear",
         "{\"error\":\"near\"," + QByteArray(4 * TwitterApi::kMaxScannedBytes, 'x'), "near"},
    };
    for (const MessageCase& c : cases) {
        const QString message = TwitterApi::errorMessage(c.body);
        EXPECT_EQ(message, c.message) << c.name;
        EXPECT_LE(message.size(), TwitterApi::kMaxMessageChars) << c.name;
    }
}

struct ReloginCase {
    const char* name;
    QString message;
    QByteArray body;
    bool relogin;
};

TEST_F(TwitterApiTest, AsksForNewLogin) {
    const ReloginCase cases[] = {
        {"Nonce", "Invalid / used nonce", "", true},
        {"OAuth", "Could not authenticate with OAuth.", "", true},
        {"Code401", "Unknown Error", "<?xml version=\"1.0\"?><errors><code>401</code></errors>",
         true},
        {"Code401WithBlanksAndAttribute", "Unknown Error",
         "<e><code kind=\"http\">\n401 </code></e>", true},
        {"Code401AfterOtherCodes", "Unknown Error", "<code>500</code><code/><code>401</code>",
         true},
        {"OtherMessage", "Status is a duplicate.", "{\"error\":\"Status is a duplicate.\"}", false},
        {"MessageInOtherCase", "invalid / used nonce", "", false},
        {"MessageWithMore", "Could not authenticate with OAuth. Again", "", false},
        {"OtherCode", "Unknown Error", "<code>403</code>", false},
        {"LongerNumber", "Unknown Error", "<code>4010</code>", false},
        {"OtherElement", "Unknown Error", "<error-code>401</error-code><codes>401</codes>", false},
        {"Unclosed", "Unknown Error", "<code>401", false},
        {"JsonStatus", "Unknown Error", "{\"code\":401}", false},
    };
    for (const ReloginCase& c : cases) {
        EXPECT_EQ(TwitterApi::asksForNewLogin(c.message, c.body), c.relogin) << c.name;
    }
    // The service's JSON escapes the slash; the message read from it still asks.
    const QByteArray nonce = "{\"error\":\"Invalid \\/ used nonce\",\"request\":\"\\/1\\/x\"}";
    EXPECT_TRUE(TwitterApi::asksForNewLogin(TwitterApi::errorMessage(nonce), nonce));
}

}  // namespace
}  // namespace lumigrave::sharing
