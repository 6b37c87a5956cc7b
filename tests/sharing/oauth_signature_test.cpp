#include "sharing/oauth/oauth_signature.h"

#include <gtest/gtest.h>

namespace lumigrave::sharing {
namespace {

// The expected strings and signatures in this file were computed outside this code base,
// with Python's urllib.parse.quote (safe "-._~"), hmac and hashlib, and checked with
// `openssl dgst -sha1 -hmac KEY -binary | base64`.

TEST(OAuthSignatureRfc5849, SignatureBaseStringExampleOfSection3_4_1_1) {
    OAuthSigningInput input;
    input.method = "POST";
    input.url = QUrl("http://example.com/request?b5=%3D%253D&a3=a&c%40=&a2=r%20b");
    // The example's body "c2&a3=2+q", as the service reads it.
    input.bodyParameters = {{"c2", ""}, {"a3", "2 q"}};
    input.consumer = {"9djdj82h48djs9d2", "j49sk3j29djd"};
    input.token = {"kkk9d7dh3k39sjv7", "dh893hdasih9", {}};
    input.realm = "Example";
    input.timestamp = 137131201;
    input.nonce = "7d8f3e4a";
    input.includeVersion = false;

    EXPECT_EQ(OAuthSignature::baseString(input),
              "POST&http%3A%2F%2Fexample.com%2Frequest&a2%3Dr%2520b%26a3%3D2%2520q%26a3%3Da%26"
              "b5%3D%253D%25253D%26c%2540%3D%26c2%3D%26oauth_consumer_key%3D9djdj82h48djs9d2%26"
              "oauth_nonce%3D7d8f3e4a%26oauth_signature_method%3DHMAC-SHA1%26oauth_timestamp%3D"
              "137131201%26oauth_token%3Dkkk9d7dh3k39sjv7");
    // The RFC prints bYT5CMsGcbgUdFHObYMEfcx6bsw=, which is wrong (erratum 2550). This value
    // is HMAC-SHA1 of the base string above with the key "j49sk3j29djd&dh893hdasih9",
    // computed with Python's hmac and with openssl; it matches the erratum.
    EXPECT_EQ(OAuthSignature::signature(input), "r6/TJjbCOr97/+UU0NsvSne7s5g=");
}

TEST(OAuthSignatureRfc5849, FinalRequestOfSection1_2) {
    OAuthSigningInput input;
    input.method = "GET";
    input.url = QUrl("http://photos.example.net/photos?file=vacation.jpg&size=original");
    input.consumer = {"dpf43f3p2l4k3l03", "kd94hf93k423kf44"};
    input.token = {"nnch734d00sl2jdk", "pfkkdhi9sl3r4s00", {}};
    input.realm = "Photos";
    input.timestamp = 137131202;
    input.nonce = "chapoH";
    input.includeVersion = false;

    EXPECT_EQ(OAuthSignature::baseString(input),
              "GET&http%3A%2F%2Fphotos.example.net%2Fphotos&file%3Dvacation.jpg%26"
              "oauth_consumer_key%3Ddpf43f3p2l4k3l03%26oauth_nonce%3DchapoH%26"
              "oauth_signature_method%3DHMAC-SHA1%26oauth_timestamp%3D137131202%26"
              "oauth_token%3Dnnch734d00sl2jdk%26size%3Doriginal");
    EXPECT_EQ(OAuthSignature::signature(input), "MdpQcU8iPSUjWoN/UDMsK2sui9I=");
    EXPECT_EQ(OAuthSignature::authorizationHeader(input),
              "OAuth realm=\"Photos\", oauth_consumer_key=\"dpf43f3p2l4k3l03\", "
              "oauth_token=\"nnch734d00sl2jdk\", oauth_signature_method=\"HMAC-SHA1\", "
              "oauth_signature=\"MdpQcU8iPSUjWoN%2FUDMsK2sui9I%3D\", "
              "oauth_timestamp=\"137131202\", oauth_nonce=\"chapoH\"");
}

struct SigningCase {
    const char* name;
    QByteArray method;
    QString url;
    OAuthParameters body;
    OAuthApp consumer;
    OAuthToken token;
    QString realm;
    QMap<QString, QString> extras;
    qint64 timestamp;
    QString nonce;
    QByteArray baseString;
    QByteArray signature;
    QByteArray header;
};

class OAuthSigningTable : public testing::TestWithParam<SigningCase> {};

TEST_P(OAuthSigningTable, BaseStringSignatureAndHeaderMatchTheIndependentComputation) {
    const SigningCase& row = GetParam();
    OAuthSigningInput input;
    input.method = row.method;
    input.url = QUrl(row.url);
    input.bodyParameters = row.body;
    input.consumer = row.consumer;
    input.token = row.token;
    input.realm = row.realm;
    input.extraOAuthParameters = row.extras;
    input.timestamp = row.timestamp;
    input.nonce = row.nonce;
    EXPECT_EQ(OAuthSignature::baseString(input), row.baseString);
    EXPECT_EQ(OAuthSignature::signature(input), row.signature);
    EXPECT_EQ(OAuthSignature::authorizationHeader(input), row.header);
}

INSTANTIATE_TEST_SUITE_P(
    OwnCases, OAuthSigningTable,
    testing::Values(
        // Every character that needs encoding, in names, values, keys and secrets.
        SigningCase{
            "Encoding",
            "POST",
            "http://api.test/1/statuses/update.json",
            {{"status", "a b+c&d=e%f~g*h/i"}, {"na me+&=", "v"}},
            {"c k+", "c s+&"},
            {"t/k", "t=%~", {}},
            "",
            {},
            1300000000,
            "n 1/2",
            "POST&http%3A%2F%2Fapi.test%2F1%2Fstatuses%2Fupdate.json&na%2520me%252B%2526%253D%3Dv%"
            "26oauth_consumer_key%3Dc%2520k%252B%26oauth_nonce%3Dn%25201%252F2%26oauth_signature_"
            "method%3DHMAC-SHA1%26oauth_timestamp%3D1300000000%26oauth_token%3Dt%252Fk%26oauth_"
            "version%3D1.0%26status%3Da%2520b%252Bc%2526d%253De%2525f~g%252Ah%252Fi",
            "1Mvv34w5COI+eq3UxAWuK7kqElk=",
            "OAuth realm=\"\", oauth_consumer_key=\"c%20k%2B\", oauth_token=\"t%2Fk\", "
            "oauth_signature_method=\"HMAC-SHA1\", oauth_signature=\"1Mvv34w5COI%2Beq3UxAWuK7kqElk%"
            "3D\", oauth_timestamp=\"1300000000\", oauth_nonce=\"n%201%2F2\", "
            "oauth_version=\"1.0\""},
        // Repeated names sort by value, as bytes ("10" before "2"); upper case first.
        SigningCase{
            "RepeatedNames",
            "POST",
            "http://api.test/r?a=3&a=1&b=",
            {{"a", "2"}, {"a", "10"}, {"A", "z"}},
            {"ck", "cs"},
            {"tk", "ts", {}},
            "Twitter API",
            {},
            1300000001,
            "n2",
            "POST&http%3A%2F%2Fapi.test%2Fr&A%3Dz%26a%3D1%26a%3D10%26a%3D2%26a%3D3%26b%3D%26oauth_"
            "consumer_key%3Dck%26oauth_nonce%3Dn2%26oauth_signature_method%3DHMAC-SHA1%26oauth_"
            "timestamp%3D1300000001%26oauth_token%3Dtk%26oauth_version%3D1.0",
            "DODetFjmmJeOkdchI7TvXXAXr70=",
            "OAuth realm=\"Twitter%20API\", oauth_consumer_key=\"ck\", oauth_token=\"tk\", "
            "oauth_signature_method=\"HMAC-SHA1\", oauth_signature=\"DODetFjmmJeOkdchI7TvXXAXr70%"
            "3D\", oauth_timestamp=\"1300000001\", oauth_nonce=\"n2\", oauth_version=\"1.0\""},
        // A token with an empty secret: the key ends in "&".
        SigningCase{
            "EmptyTokenSecret",
            "get",
            "http://api.test/g?x=1",
            {},
            {"ck", "cs"},
            {"tk", "", {}},
            "",
            {},
            1300000002,
            "n3",
            "GET&http%3A%2F%2Fapi.test%2Fg&oauth_consumer_key%3Dck%26oauth_nonce%3Dn3%26oauth_"
            "signature_method%3DHMAC-SHA1%26oauth_timestamp%3D1300000002%26oauth_token%3Dtk%"
            "26oauth_"
            "version%3D1.0%26x%3D1",
            "sIQ9Hhu9jfyM8gXhZ1hEbp4+wJs=",
            "OAuth realm=\"\", oauth_consumer_key=\"ck\", oauth_token=\"tk\", "
            "oauth_signature_method=\"HMAC-SHA1\", oauth_signature=\"sIQ9Hhu9jfyM8gXhZ1hEbp4%"
            "2BwJs%3D\", oauth_timestamp=\"1300000002\", oauth_nonce=\"n3\", "
            "oauth_version=\"1.0\""},
        // No token: no oauth_token anywhere; the callback is an extra after the standard ones.
        SigningCase{
            "NoToken",
            "POST",
            "https://api.test/oauth/request_token",
            {},
            {"ck", "cs"},
            {},
            "",
            {{"oauth_callback", "lumigrave-test://oauth/twitter"}},
            1300000003,
            "n4",
            "POST&https%3A%2F%2Fapi.test%2Foauth%2Frequest_token&oauth_callback%3Dlumigrave-test%"
            "253A%252F%252Foauth%252Ftwitter%26oauth_consumer_key%3Dck%26oauth_nonce%3Dn4%26oauth_"
            "signature_method%3DHMAC-SHA1%26oauth_timestamp%3D1300000003%26oauth_version%3D1.0",
            "m0Eev/97QrBLkG9EtQdavnWI1bw=",
            "OAuth realm=\"\", oauth_consumer_key=\"ck\", oauth_signature_method=\"HMAC-SHA1\", "
            "oauth_signature=\"m0Eev%2F97QrBLkG9EtQdavnWI1bw%3D\", oauth_timestamp=\"1300000003\", "
            "oauth_nonce=\"n4\", oauth_version=\"1.0\", "
            "oauth_callback=\"lumigrave-test%3A%2F%2Foauth%2Ftwitter\""},
        // Text beyond ASCII is encoded as UTF-8, in the query, the body and a secret.
        SigningCase{
            "NonAscii",
            "POST",
            "http://api.test/u?q=%C3%A9",
            {{"status", QString::fromUtf8("é 日本 😀")}, {QString::fromUtf8("ñ"), "x"}},
            {"ck", "cs"},
            {"tk", QString::fromUtf8("sé"), {}},
            "",
            {},
            1300000004,
            "n5",
            "POST&http%3A%2F%2Fapi.test%2Fu&%25C3%25B1%3Dx%26oauth_consumer_key%3Dck%26oauth_nonce%"
            "3Dn5%26oauth_signature_method%3DHMAC-SHA1%26oauth_timestamp%3D1300000004%26oauth_"
            "token%3Dtk%26oauth_version%3D1.0%26q%3D%25C3%25A9%26status%3D%25C3%25A9%2520%25E6%"
            "2597%25A5%25E6%259C%25AC%2520%25F0%259F%2598%2580",
            "7YV3t0YnGecVk6IgOpJdFKKVEXs=",
            "OAuth realm=\"\", oauth_consumer_key=\"ck\", oauth_token=\"tk\", "
            "oauth_signature_method=\"HMAC-SHA1\", oauth_signature=\"7YV3t0YnGecVk6IgOpJdFKKVEXs%"
            "3D\", oauth_timestamp=\"1300000004\", oauth_nonce=\"n5\", oauth_version=\"1.0\""},
        // Extra protocol parameters are signed and written last, in key order.
        SigningCase{
            "ExtrasInKeyOrder",
            "POST",
            "http://api.test/oauth/access_token",
            {},
            {"ck", "cs"},
            {"tk", "ts", {}},
            "",
            {{"oauth_verifier", "v 1"},
             {"oauth_callback", "https://cb.test/x?y=1"},
             {"oauth_session_handle", "h+/="}},
            1300000005,
            "n6",
            "POST&http%3A%2F%2Fapi.test%2Foauth%2Faccess_token&oauth_callback%3Dhttps%253A%252F%"
            "252Fcb.test%252Fx%253Fy%253D1%26oauth_consumer_key%3Dck%26oauth_nonce%3Dn6%26oauth_"
            "session_handle%3Dh%252B%252F%253D%26oauth_signature_method%3DHMAC-SHA1%26oauth_"
            "timestamp%3D1300000005%26oauth_token%3Dtk%26oauth_verifier%3Dv%25201%26oauth_"
            "version%3D1.0",
            "y0S7+fQ3A1dh1hL7Y97EXLqclyo=",
            "OAuth realm=\"\", oauth_consumer_key=\"ck\", oauth_token=\"tk\", "
            "oauth_signature_method=\"HMAC-SHA1\", oauth_signature=\"y0S7%2BfQ3A1dh1hL7Y97EXLqclyo%"
            "3D\", oauth_timestamp=\"1300000005\", oauth_nonce=\"n6\", oauth_version=\"1.0\", "
            "oauth_callback=\"https%3A%2F%2Fcb.test%2Fx%3Fy%3D1\", "
            "oauth_session_handle=\"h%2B%2F%3D\", oauth_verifier=\"v%201\""}),
    [](const testing::TestParamInfo<SigningCase>& info) { return std::string(info.param.name); });

TEST(OAuthSignatureParts, BaseStringUriLowersSchemeAndHostAndDropsDefaultPorts) {
    const QList<QPair<QString, QByteArray>> rows = {
        {"HTTP://Api.Example.COM:80/Path/To", "http://api.example.com/Path/To"},
        {"https://x.test:443", "https://x.test/"},
        {"https://x.test:80/a", "https://x.test:80/a"},
        {"http://x.test:8080/a?b=c#frag", "http://x.test:8080/a"},
        {"http://127.0.0.1:54321/oauth/request_token",
         "http://127.0.0.1:54321/oauth/request_token"},
        {"http://x.test/a%20b/%C3%A9", "http://x.test/a%20b/%C3%A9"},
        {"http://user:pw@x.test/", "http://x.test/"},
    };
    for (const auto& [url, expected] : rows) {
        EXPECT_EQ(OAuthSignature::baseStringUri(QUrl(url)), expected) << url.toStdString();
    }
}

TEST(OAuthSignatureParts, PercentEncodingKeepsOnlyTheUnreservedCharacters) {
    EXPECT_EQ(OAuthSignature::percentEncode("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(OAuthSignature::percentEncode(" !*'();:@&=+$,/?#[]%"),
              "%20%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%23%5B%5D%25");
    EXPECT_EQ(OAuthSignature::percentEncode(QString::fromUtf8("é😀")), "%C3%A9%F0%9F%98%80");
    EXPECT_EQ(OAuthSignature::signingKey("c s", ""), "c%20s&");
    EXPECT_EQ(OAuthSignature::signingKey("", "t&"), "&t%26");
}

TEST(OAuthSignatureParts, NormalizedParametersIgnoreTheOrderGiven) {
    const OAuthParameters forward = {{"b", "2"}, {"a", "x y"}, {"a", "1"}, {"c", ""}};
    const OAuthParameters backward = {{"c", ""}, {"a", "1"}, {"a", "x y"}, {"b", "2"}};
    EXPECT_EQ(OAuthSignature::normalizedParameters(forward), "a=1&a=x%20y&b=2&c=");
    EXPECT_EQ(OAuthSignature::normalizedParameters(backward), "a=1&a=x%20y&b=2&c=");
    EXPECT_EQ(OAuthSignature::normalizedParameters({}), "");
}

TEST(OAuthTokenAnswer, ReadsTheTokenAndRefusesAnAnswerWithoutKeyOrSecret) {
    const std::optional<OAuthToken> token = OAuthToken::fromAnswer(
        "oauth_token=ab%2Bc&oauth_token_secret=s+e%26t&oauth_session_handle=h1&"
        "oauth_callback_confirmed=true");
    ASSERT_TRUE(token);
    EXPECT_EQ(token->key, "ab+c");
    EXPECT_EQ(token->secret, "s e&t");
    EXPECT_EQ(token->sessionHandle, "h1");
    EXPECT_TRUE(
        OAuthToken::fromAnswer("oauth_token=a&oauth_token_secret=b")->sessionHandle.isEmpty());
    EXPECT_FALSE(OAuthToken::fromAnswer("oauth_token=a"));
    EXPECT_FALSE(OAuthToken::fromAnswer("oauth_token_secret=b"));
    EXPECT_FALSE(OAuthToken::fromAnswer("oauth_token=&oauth_token_secret=b"));
    EXPECT_FALSE(OAuthToken::fromAnswer("{\"errors\":[{\"code\":32}]}"));
    EXPECT_FALSE(OAuthToken::fromAnswer(""));
}

}  // namespace
}  // namespace lumigrave::sharing
