#include "sharing/flickr/xml_mapper.h"

#include <gtest/gtest.h>

#include <QVariantList>

#include "sharing/flickr/flickr_answer.h"

namespace lumigrave::sharing {
namespace {

QVariantMap mapped(const QByteArray& xml) {
    QString error;
    const std::optional<QVariantMap> result = XMLMapper::dictionaryFromData(xml, &error);
    EXPECT_TRUE(result.has_value()) << error.toStdString();
    return result.value_or(QVariantMap());
}

struct Refusal {
    QString error;
    QString exception;
};

Refusal refused(const QByteArray& xml) {
    Refusal refusal;
    const std::optional<QVariantMap> result =
        XMLMapper::dictionaryFromData(xml, &refusal.error, &refusal.exception);
    EXPECT_FALSE(result.has_value()) << xml.left(200).toStdString();
    EXPECT_FALSE(refusal.error.isEmpty());
    return refusal;
}

TEST(XMLMapperTest, ElementsBecomeDictionariesOfTheirAttributesUnderTheirNames) {
    const QVariantMap document = mapped(
        "<?xml version=\"1.0\" encoding=\"utf-8\" ?>"
        "<rsp stat=\"ok\"><user nsid=\"1@N01\" username=\"b&amp;w\"/></rsp>");
    const QVariantMap rsp = document.value("rsp").toMap();
    EXPECT_EQ(rsp.value("stat"), QVariant(QString("ok")));
    const QVariant user = rsp.value("user");
    ASSERT_EQ(user.typeId(), QMetaType::QVariantMap);
    EXPECT_EQ(user.toMap().value("nsid"), QVariant(QString("1@N01")));
    EXPECT_EQ(user.toMap().value("username"), QVariant(QString("b&w")));
}

TEST(XMLMapperTest, ASecondElementOfTheSameNameTurnsTheEntryIntoAListInOrder) {
    const QVariantMap rsp =
        mapped("<rsp><photo id=\"1\"/><other/><photo id=\"2\"/><photo id=\"3\"/></rsp>")
            .value("rsp")
            .toMap();
    const QVariant photos = rsp.value("photo");
    ASSERT_EQ(photos.typeId(), QMetaType::QVariantList);
    const QVariantList list = photos.toList();
    ASSERT_EQ(list.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list[i].toMap().value("id"), QVariant(QString::number(i + 1)));
    }
    EXPECT_EQ(rsp.value("other").typeId(), QMetaType::QVariantMap);
}

// A single group inside "groups" must be a list, or a user with one group would be read
// as having none.
TEST(XMLMapperTest, ChildrenOfAPluralParentAreAListFromTheFirstOne) {
    const QVariantMap rsp = mapped(
                                "<rsp><groups><group nsid=\"g1\" name=\"One\"/></groups>"
                                "<items><itemized/></items><s><x/></s><cats><cats/></cats>"
                                "<photoset><photo/></photoset></rsp>")
                                .value("rsp")
                                .toMap();
    const QVariant groups = rsp.value("groups").toMap().value("group");
    ASSERT_EQ(groups.typeId(), QMetaType::QVariantList);
    ASSERT_EQ(groups.toList().size(), 1);
    EXPECT_EQ(groups.toList()[0].toMap().value("nsid"), QVariant(QString("g1")));
    // Not the parent's beginning, the same length, or a parent not ending in "s": single.
    EXPECT_EQ(rsp.value("items").toMap().value("itemized").typeId(), QMetaType::QVariantMap);
    EXPECT_EQ(rsp.value("cats").toMap().value("cats").typeId(), QMetaType::QVariantMap);
    EXPECT_EQ(rsp.value("photoset").toMap().value("photo").typeId(), QMetaType::QVariantMap);
    EXPECT_EQ(rsp.value("s").toMap().value("x").typeId(), QMetaType::QVariantMap);
}

TEST(XMLMapperTest, TextIsCollectedUnderTextAcrossPiecesAndCData) {
    const QVariantMap auth =
        mapped("<rsp><auth><token>45-76&#x41;<![CDATA[<b>]]>z</token></auth></rsp>")
            .value("rsp")
            .toMap()
            .value("auth")
            .toMap();
    EXPECT_EQ(auth.value("token").toMap().value("_text"), QVariant(QString("45-76A<b>z")));
}

TEST(XMLMapperTest, AnEntryThatCannotTakeAnotherElementIsAFaultyStructure) {
    for (const QByteArray& xml :
         {QByteArray("<rsp user=\"x\"><user/></rsp>"), QByteArray("<rsp>text<_text/></rsp>"),
          QByteArray("<rsp><_text/>text</rsp>")}) {
        const Refusal refusal = refused(xml);
        EXPECT_EQ(refusal.error, "Faulty XML structure") << xml.toStdString();
        EXPECT_EQ(refusal.exception, "XMLMapperException");
    }
}

TEST(XMLMapperTest, AnEndTagWithoutItsStartIsUnbalanced) {
    for (const QByteArray& xml : {QByteArray("<rsp><a></b></rsp>"), QByteArray("<rsp></a></rsp>"),
                                  QByteArray("<rsp></rsp></rsp>")}) {
        const Refusal refusal = refused(xml);
        EXPECT_EQ(refusal.error, "Unbalanced XML element tag closing") << xml.toStdString();
        EXPECT_EQ(refusal.exception, "XMLMapperException");
    }
}

TEST(XMLMapperTest, BrokenDocumentsAreRefusedWithWhereTheyBroke) {
    for (const QByteArray& xml : {QByteArray("<rsp"), QByteArray("<rsp a=1/>"),
                                  QByteArray("\xff\xfe<"), QByteArray("<rsp><a>")}) {
        const Refusal refusal = refused(xml);
        EXPECT_TRUE(refusal.error.contains("line")) << refusal.error.toStdString();
    }
}

// Each of the classic entity bombs: refused at the declaration, before any expansion.
TEST(XMLMapperTest, ADocumentTypeIsRefusedBeforeItsEntitiesAreExpanded) {
    QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n";
    laughs += "<!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">\n";
    for (int i = 2; i <= 9; ++i) {
        laughs += "<!ENTITY lol" + QByteArray::number(i) + " \"";
        for (int j = 0; j < 10; ++j) {
            laughs += "&lol" + QByteArray::number(i - 1) + ";";
        }
        laughs += "\">\n";
    }
    laughs += "]>\n<rsp stat=\"ok\"><a b=\"&lol9;\">&lol9;</a></rsp>";
    const QByteArray external =
        "<?xml version=\"1.0\"?><!DOCTYPE rsp [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
        "<rsp stat=\"ok\">&x;</rsp>";
    const QByteArray doctypeOnly = "<!DOCTYPE rsp SYSTEM \"http://127.0.0.1:1/x.dtd\"><rsp/>";
    // Parameter entities are expanded inside the declaration itself.
    QByteArray parameters = "<!DOCTYPE r [<!ENTITY % p0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        parameters += "<!ENTITY % p" + QByteArray::number(i) + " \"" +
                      ("%p" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    }
    parameters += "%p9;]><rsp/>";
    refused(parameters);
    for (const QByteArray& xml : {laughs, external, doctypeOnly}) {
        const Refusal refusal = refused(xml);
        EXPECT_EQ(refusal.error, "The answer declares a document type, which is refused.");
        EXPECT_TRUE(refusal.exception.isEmpty());
    }
}

TEST(XMLMapperTest, AnUndeclaredEntityIsRefused) {
    for (const QByteArray& xml :
         {QByteArray("<rsp stat=\"ok\">&lol9;</rsp>"), QByteArray("<rsp a=\"&x;\"/>")}) {
        const Refusal refusal = refused(xml);
        EXPECT_EQ(refusal.error, "The answer refers to an entity, which is refused.");
        EXPECT_TRUE(refusal.exception.isEmpty());
    }
}

TEST(XMLMapperTest, NestingIsCappedAtItsDepth) {
    const auto nested = [](int depth) {
        return QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth);
    };
    QString error;
    EXPECT_TRUE(XMLMapper::dictionaryFromData(nested(XMLMapper::kMaxDepth), &error).has_value())
        << error.toStdString();
    for (const int depth : {XMLMapper::kMaxDepth + 1, 100000}) {
        const Refusal refusal = refused(nested(depth));
        EXPECT_EQ(refusal.error, "The answer nests elements deeper than 256 levels.");
    }
}

TEST(XMLMapperTest, AnAnswerLongerThanTheCapIsRefusedUnread) {
    const QByteArray head = "<rsp stat=\"ok\"><a>";
    const QByteArray tail = "</a></rsp>";
    QByteArray xml =
        head + QByteArray(XMLMapper::kMaxBytes - head.size() - tail.size(), 'x') + tail;
    QString error;
    EXPECT_TRUE(XMLMapper::dictionaryFromData(xml, &error).has_value()) << error.toStdString();
    xml.insert(head.size(), 'x');
    EXPECT_EQ(refused(xml).error, "The answer is larger than 16 MB.");
}

TEST(FlickrAnswerTest, AnOkAnswerGivesItsResponseDictionary) {
    const FlickrAnswer answer =
        FlickrAnswer::fromData("<rsp stat=\"ok\"><photoid>42</photoid></rsp>");
    ASSERT_TRUE(answer.ok);
    EXPECT_EQ(answer.response.value("photoid").toMap().value("_text"), QVariant(QString("42")));
}

TEST(FlickrAnswerTest, FailuresCarryTheServicesCodeOrTheClientsOwn) {
    struct Row {
        QByteArray body;
        QString domain;
        qint64 code;
        QString message;
    };
    const QList<Row> rows{
        {"<rsp stat=\"fail\"><err code=\"98\" msg=\"Invalid auth token\"/></rsp>", "com.flickr", 98,
         "Invalid auth token"},
        {"<rsp stat=\"fail\"><err code=\"5\" msg=\" \"/></rsp>", "com.flickr", 5,
         "The photo service refused the request (error 5)."},
        {"<rsp stat=\"fail\"><err msg=\"no code\"/></rsp>", "org.lumigrave.flickr", 2147418115, {}},
        {"<rsp stat=\"fail\"><err code=\"x9\" msg=\"m\"/></rsp>",
         "org.lumigrave.flickr",
         2147418115,
         {}},
        {"<rsp stat=\"OK\"/>", "org.lumigrave.flickr", 2147418115, {}},
        {"<other stat=\"ok\"/>", "org.lumigrave.flickr", 2147418115, {}},
        {"<rsp stat=\"ok\"></user></rsp>", "org.lumigrave.flickr", FlickrError::kFaultyAnswer, {}},
        {"", "org.lumigrave.flickr", FlickrError::kFaultyAnswer, {}},
    };
    for (const Row& row : rows) {
        const FlickrAnswer answer = FlickrAnswer::fromData(row.body);
        EXPECT_FALSE(answer.ok) << row.body.toStdString();
        EXPECT_EQ(answer.error.domain, row.domain) << row.body.toStdString();
        EXPECT_EQ(answer.error.code, row.code) << row.body.toStdString();
        EXPECT_FALSE(answer.error.message.isEmpty());
        if (!row.message.isEmpty()) {
            EXPECT_EQ(answer.error.message, row.message);
        }
    }
    EXPECT_TRUE(FlickrAnswer::fromData("<rsp stat=\"ok\"></user></rsp>")
                    .error.message.contains("Unbalanced XML element tag closing"));
}

}  // namespace
}  // namespace lumigrave::sharing
