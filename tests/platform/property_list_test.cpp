#include "platform/property_list.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPoint>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <cmath>
#include <limits>

#include "support/image_files.h"

namespace lumigrave {
namespace {

QString text(const QVariant& value) {
    return QString::fromUtf8(PropertyList::toXml(value));
}

std::optional<QVariant> roundTrip(const QVariant& value) {
    QString error;
    const QByteArray xml = PropertyList::toXml(value, &error);
    EXPECT_FALSE(xml.isEmpty()) << error.toStdString();
    std::optional<QVariant> back = PropertyList::fromXml(xml, &error);
    EXPECT_TRUE(back) << error.toStdString() << "\n" << xml.toStdString();
    return back;
}

QVariant nested(int levels) {
    QVariant value = QVariantList{};
    for (int i = 1; i < levels; ++i) {
        value = QVariantList{value};
    }
    return value;
}

QByteArray allBytes() {
    QByteArray bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.append(char(i));
    }
    return bytes;
}

const QDateTime kWhen(QDate(2026, 12, 7), QTime(17, 26, 22), Qt::UTC);

// Every type, and the values where a writer or reader slips: text that needs escaping or
// is not ASCII, a carriage return, blanks at the ends, the integer limits, empty containers.
QVariantMap everyType() {
    return QVariantMap{
        {"text", QStringLiteral("héllo 日本 😀 <&> \"'")},
        {"lines", QStringLiteral("a\r\nb\rc\n\td")},
        {"blanks", QStringLiteral("  spaced  ")},
        {"empty string", QString()},
        {"yes", true},
        {"no", false},
        {"zero", qint64(0)},
        {"smallest", std::numeric_limits<qint64>::min()},
        {"largest", std::numeric_limits<qint64>::max()},
        {"unsigned largest", std::numeric_limits<quint64>::max()},
        {"tenth", 0.1},
        {"huge", 1e300},
        {"negative", -2.5},
        {"bytes", allBytes()},
        {"no bytes", QByteArray()},
        {"when", kWhen},
        {"empty dict", QVariantMap{}},
        {"empty array", QVariantList{}},
        {"nested", QVariantList{QVariantMap{{"k", QVariantList{qint64(1), QStringLiteral("2")}}},
                                QVariantList{}}},
        {"ключ", QStringLiteral("значение")},
    };
}

TEST(PropertyList, EveryTypeComesBackAsItWas) {
    const std::optional<QVariant> back = roundTrip(everyType());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->toMap(), everyType());
    EXPECT_EQ(back->toMap().value("smallest").metaType().id(), QMetaType::LongLong);
    EXPECT_EQ(back->toMap().value("when").toDateTime().timeSpec(), Qt::UTC);
}

// Other integral types, QStringList and hashes are written too, and come back in the
// types a reader can know.
TEST(PropertyList, OtherQtTypesAreWrittenInTheirPropertyListForm) {
    const QVariantHash hash{{"b", int(-7)}, {"a", uint(7)}, {"c", 1.5f}};
    const std::optional<QVariant> back = roundTrip(
        QVariantList{hash, QStringList{"x", "y"}, short(3), QDateTime(kWhen).toLocalTime()});
    ASSERT_TRUE(back);
    const QVariantList list = back->toList();
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[0].toMap(), (QVariantMap{{"a", qint64(7)}, {"b", qint64(-7)}, {"c", 1.5}}));
    EXPECT_EQ(list[1].toList(), (QVariantList{"x", "y"}));
    EXPECT_EQ(list[2], QVariant(qint64(3)));
    EXPECT_EQ(list[3].toDateTime(), kWhen);
    // Keys of a hash are written in order, so equal values always give equal files.
    EXPECT_LT(text(hash).indexOf("<key>a</key>"), text(hash).indexOf("<key>b</key>"));
}

TEST(PropertyList, RealsThatAreNotNumbersSurvive) {
    const std::optional<QVariant> back = roundTrip(QVariantList{
        std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity()});
    ASSERT_TRUE(back);
    const QVariantList list = back->toList();
    ASSERT_EQ(list.size(), 3);
    EXPECT_TRUE(std::isnan(list[0].toDouble()));
    EXPECT_EQ(list[1].toDouble(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(list[2].toDouble(), -std::numeric_limits<double>::infinity());
}

TEST(PropertyList, TheDocumentHasThePlatformsHeader) {
    const QStringList lines = text(QVariantMap{{"k", "v"}}).split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], R"(<?xml version="1.0" encoding="UTF-8"?>)");
    EXPECT_EQ(lines[1], R"(<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" )"
                        R"("http://www.apple.com/DTDs/PropertyList-1.0.dtd">)");
    EXPECT_EQ(lines[2], R"(<plist version="1.0">)");
}

// The deepest nesting written is the deepest read, so every file we write reads back.
TEST(PropertyList, NestingIsCappedAlikeForWritingAndReading) {
    EXPECT_TRUE(roundTrip(nested(PropertyList::kMaxDepth)));

    QString error;
    EXPECT_TRUE(PropertyList::toXml(nested(PropertyList::kMaxDepth + 1), &error).isEmpty());
    EXPECT_TRUE(error.contains("nest deeper than 256")) << error.toStdString();

    const QByteArray deep = "<plist>" + QByteArray("<array>").repeated(257) +
                            QByteArray("</array>").repeated(257) + "</plist>";
    EXPECT_FALSE(PropertyList::fromXml(deep, &error));
    EXPECT_TRUE(error.contains("nest deeper than 256")) << error.toStdString();
}

struct Unwritable {
    const char* name;
    QVariant value;
    const char* message;
};

// Whatever cannot be read back is refused before anything is written, and a file already
// there stays as it was.
TEST(PropertyList, ValuesThatCannotBeReadBackAreNotWritten) {
    const Unwritable cases[] = {
        {"no value", QVariantList{QVariant()}, "array item 0 has no value"},
        {"a point", QVariantMap{{"at", QPoint(1, 2)}},
         "the value of \"at\" is of a type a property list cannot hold (QPoint)"},
        {"a URL", QUrl("https://example.com"), "the root is of a type"},
        {"a control character", QStringLiteral("bell\a"), "the root holds a character"},
        {"a control character in a key", QVariantMap{{QStringLiteral("k\x01"), 1}},
         "a dict key holds a character"},
        {"half a surrogate pair", QString(QChar(0xD800)), "holds a character"},
        {"a reversed pair", QString(QChar(0xDC00)) + QChar(0xD800), "holds a character"},
        {"a non-character", QString(QChar(0xFFFF)), "holds a character"},
        {"an invalid date", QDateTime(), "is an invalid date"},
        {"year 10000", QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC),
         "outside the years 1 to 9999"},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("list.plist");
    ASSERT_TRUE(PropertyList::writeFile(path, QVariantMap{{"kept", true}}, nullptr));
    for (const Unwritable& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_TRUE(PropertyList::toXml(c.value, &error).isEmpty());
        EXPECT_TRUE(error.startsWith("Cannot write the property list: ")) << error.toStdString();
        EXPECT_TRUE(error.contains(c.message)) << error.toStdString();
        error.clear();
        EXPECT_FALSE(PropertyList::writeFile(path, c.value, &error));
        EXPECT_TRUE(error.contains(c.message)) << error.toStdString();
        EXPECT_EQ(PropertyList::readFile(path, nullptr), QVariant(QVariantMap{{"kept", true}}));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.plist"});
}

TEST(PropertyList, ADocumentLargerThanTheCapIsNeitherWrittenNorRead) {
    const QByteArray big(PropertyList::kMaxBytes, 'x');
    QString error;
    EXPECT_TRUE(PropertyList::toXml(big, &error).isEmpty());
    EXPECT_TRUE(error.contains("larger than 16 MB")) << error.toStdString();

    QTemporaryDir dir;
    const QString path = dir.filePath("big.plist");
    const QByteArray xml =
        "<plist><string>" + QByteArray(PropertyList::kMaxBytes, 'x') + "</string></plist>";
    ASSERT_TRUE(test::writeFile(path, xml));
    EXPECT_FALSE(PropertyList::readFile(path, &error));
    EXPECT_TRUE(error.contains("larger than 16 MB")) << error.toStdString();
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
}

TEST(PropertyList, AMissingFileIsAClearError) {
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(PropertyList::readFile(dir.filePath("none.plist"), &error));
    EXPECT_TRUE(error.startsWith("Cannot read the property list " + dir.filePath("none.plist")))
        << error.toStdString();
}

TEST(PropertyList, AFileThatCannotBeWrittenIsAClearError) {
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(
        PropertyList::writeFile(dir.filePath("no/such/folder/x.plist"), QVariantMap{}, &error));
    EXPECT_FALSE(error.isEmpty());
}

// Reading what other writers produce: the forms the platform and plistlib accept.
TEST(PropertyList, ReadsTheFormsOtherWritersUse) {
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- a comment -->
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>hex</key><integer> 0x1F </integer>
	<key>plus</key><integer>+5</integer>
	<key>exp</key><real>1.5E3</real>
	<key>wrapped</key><data>
	AAEC
	AwQ=
	</data>
	<key>escaped</key><string>&lt;a&gt; &amp; &#x263A; &#13;</string>
	<key>cdata</key><string><![CDATA[<raw>]]></string>
	<key>empty</key><string/>
	<key>t</key><true/>
</dict>
</plist>
<!-- trailing comment -->
)";
    QString error;
    const std::optional<QVariant> value = PropertyList::fromXml(xml, &error);
    ASSERT_TRUE(value) << error.toStdString();
    EXPECT_EQ(value->toMap(), (QVariantMap{{"hex", qint64(31)},
                                           {"plus", qint64(5)},
                                           {"exp", 1500.0},
                                           {"wrapped", QByteArray("\0\1\2\3\4", 5)},
                                           {"escaped", QStringLiteral("<a> & \u263A \r")},
                                           {"cdata", "<raw>"},
                                           {"empty", QString()},
                                           {"t", true}}));
    // Without a DOCTYPE or XML declaration too.
    EXPECT_EQ(
        PropertyList::fromXml("<plist><integer>-9223372036854775808</integer></plist>", nullptr),
        QVariant(std::numeric_limits<qint64>::min()));
}

struct Refusal {
    const char* name;
    QByteArray xml;
    const char* message;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class PropertyListRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(PropertyListRefusal, IsRefusedWithAMessageThatSaysWhy) {
    QString error;
    EXPECT_FALSE(PropertyList::fromXml(GetParam().xml, &error));
    EXPECT_TRUE(error.startsWith("Not a valid property list: ")) << error.toStdString();
    EXPECT_TRUE(error.contains(GetParam().message)) << error.toStdString();
    EXPECT_TRUE(error.contains("line ")) << error.toStdString();
}

QByteArray plist(const QByteArray& inner) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + inner +
           "</plist>\n";
}

// Entities nest ten deep, ten at a time: expanded, the last would be ten billion copies.
const QByteArray kBillionLaughs = R"(<?xml version="1.0"?>
<!DOCTYPE plist [
 <!ENTITY lol "lol">
 <!ENTITY lol1 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">
 <!ENTITY lol2 "&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;">
 <!ENTITY lol3 "&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;">
 <!ENTITY lol4 "&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;">
 <!ENTITY lol5 "&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;">
 <!ENTITY lol6 "&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;">
 <!ENTITY lol7 "&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;">
 <!ENTITY lol8 "&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;">
 <!ENTITY lol9 "&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;">
]>
<plist version="&lol9;"><string>&lol9;</string></plist>
)";

const QByteArray kParameterEntities = R"(<?xml version="1.0"?>
<!DOCTYPE plist [
 <!ENTITY % a "<!ENTITY b 'x'>">
 %a;
]>
<plist><string>&b;</string></plist>
)";

INSTANTIATE_TEST_SUITE_P(
    Documents, PropertyListRefusal,
    testing::Values(
        Refusal{"empty", "", "the document is empty"},
        Refusal{"blank", " \n ", "the document is empty"},
        Refusal{"only a declaration", "<?xml version=\"1.0\"?>", "ends before it is complete"},
        Refusal{"not XML", "hello", "line 1"},
        Refusal{"another root", "<dict></dict>", "the root element is <dict>, not <plist>"},
        Refusal{"another document type", "<!DOCTYPE html><plist><true/></plist>",
                "the document type is \"html\""},
        Refusal{"billion laughs", kBillionLaughs, "declares entities"},
        Refusal{"parameter entities", kParameterEntities, "declares entities"},
        Refusal{"an external entity",
                "<!DOCTYPE plist [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                "<plist><string>&x;</string></plist>",
                "declares entities"},
        Refusal{"an undeclared entity", plist("<string>&nothing;</string>"), "nothing"},
        Refusal{"no value", plist(""), "holds no value"},
        Refusal{"two values", plist("<true/><false/>"), "more than one value"},
        Refusal{"an unknown element", plist("<dict><key>a</key><color>red</color></dict>"),
                "unknown element <color>"},
        Refusal{"a key without a value", plist("<dict><key>a</key></dict>"),
                "the key \"a\" has no value"},
        Refusal{"a key followed by a key", plist("<dict><key>a</key><key>b</key><true/></dict>"),
                "the key \"a\" has no value"},
        Refusal{"a value without a key", plist("<dict><string>v</string></dict>"),
                "<string> stands where a dict key belongs"},
        Refusal{"a key twice", plist("<dict><key>a</key><true/><key>a</key><false/></dict>"),
                "the key \"a\" appears twice"},
        Refusal{"text between values", plist("<array>loose<true/></array>"),
                "text \"loose\" stands where an element belongs"},
        Refusal{"an element inside a string", plist("<string>a<true/></string>"),
                "<true> stands inside <string>"},
        Refusal{"text inside true", plist("<true>yes</true>"), "<true> holds text"},
        Refusal{"a word for an integer", plist("<integer>ten</integer>"),
                "\"ten\" is not an integer"},
        Refusal{"an empty integer", plist("<integer/>"), "\"\" is not an integer"},
        Refusal{"a real for an integer", plist("<integer>1.5</integer>"),
                "\"1.5\" is not an integer"},
        Refusal{"a sign inside an integer", plist("<integer>1-2</integer>"), "not an integer"},
        Refusal{"an integer too large", plist("<integer>18446744073709551616</integer>"),
                "out of range"},
        Refusal{"an integer too small", plist("<integer>-9223372036854775809</integer>"),
                "out of range"},
        Refusal{"a word for a real", plist("<real>pi</real>"), "\"pi\" is not a real number"},
        Refusal{"a real too large", plist("<real>1e999</real>"), "not a real number"},
        Refusal{"a real with a comma", plist("<real>1,5</real>"), "not a real number"},
        Refusal{"bad base64", plist("<data>*not base64*</data>"), "other than base64"},
        Refusal{"cut base64", plist("<data>AAE</data>"), "other than base64"},
        Refusal{"a date without time", plist("<date>2026-12-07</date>"), "is not a date"},
        Refusal{"a date that does not exist", plist("<date>2026-02-30T10:00:00Z</date>"),
                "is not a date"},
        Refusal{"a date in another zone", plist("<date>2026-12-07T10:00:00+01:00</date>"),
                "is not a date"},
        Refusal{"trailing garbage", plist("<true/>") + "garbage", "line 3"},
        Refusal{"a second root", plist("<true/>") + "<plist/>", "line 3"},
        Refusal{"cut in a dict", "<plist><dict><key>a</key><string>b</string>", "ends before"},
        Refusal{"cut in a string", "<plist><string>abc", "ends before"},
        Refusal{"mismatched end", plist("<array></dict>"), "line 2"}),
    [](const testing::TestParamInfo<Refusal>& info) {
        QString name = QString::fromLatin1(info.param.name);
        name.replace(' ', '_');
        return name.toStdString();
    });

class PropertyListPython : public testing::Test {
  protected:
    void SetUp() override {
        python_ = QStandardPaths::findExecutable("python3");
        ASSERT_FALSE(python_.isEmpty()) << "python3 is needed to check the file format";
    }

    // Runs script with the file's path as its one argument; its output on failure.
    bool run(const QString& script, const QString& path, QString* output) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(python_, {"-c", script, path});
        process.waitForFinished(60000);
        *output = QString::fromUtf8(process.readAll());
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QString python_;
    QTemporaryDir dir_;
};

// The same values as everyType(), in Python's terms.
const char kPythonValues[] = R"(
import datetime
expected = {
    'text': 'héllo 日本 😀 <&> "\'', 'lines': 'a\r\nb\rc\n\td', 'blanks': '  spaced  ',
    'empty string': '', 'yes': True, 'no': False, 'zero': 0,
    'smallest': -2**63, 'largest': 2**63 - 1, 'unsigned largest': 2**64 - 1,
    'tenth': 0.1, 'huge': 1e300, 'negative': -2.5,
    'bytes': bytes(range(256)), 'no bytes': b'',
    'when': datetime.datetime(2026, 12, 7, 17, 26, 22),
    'empty dict': {}, 'empty array': [],
    'nested': [{'k': [1, '2']}, []], 'ключ': 'значение',
}
)";

TEST_F(PropertyListPython, ReadsWhatWeWrite) {
    const QString path = dir_.filePath("ours.plist");
    QString error;
    ASSERT_TRUE(PropertyList::writeFile(path, everyType(), &error)) << error.toStdString();
    const QString script = QString::fromUtf8(kPythonValues) + R"(
import plistlib, sys
with open(sys.argv[1], 'rb') as f:
    value = plistlib.load(f)
for key in expected:
    if value.get(key) != expected[key] or type(value.get(key)) != type(expected[key]):
        sys.exit('%r: %r, not %r' % (key, value.get(key), expected[key]))
if set(value) != set(expected):
    sys.exit('keys differ: %r' % (set(value) ^ set(expected)))
)";
    QString output;
    EXPECT_TRUE(run(script, path, &output)) << output.toStdString();
}

TEST_F(PropertyListPython, WeReadWhatItWrites) {
    const QString path = dir_.filePath("python.plist");
    const QString script = QString::fromUtf8(kPythonValues) + R"(
import plistlib, sys
with open(sys.argv[1], 'wb') as f:
    plistlib.dump(expected, f)
)";
    QString output;
    ASSERT_TRUE(run(script, path, &output)) << output.toStdString();
    QString error;
    const std::optional<QVariant> value = PropertyList::readFile(path, &error);
    ASSERT_TRUE(value) << error.toStdString();
    // plistlib turns every line end into a line feed as it writes.
    QVariantMap expected = everyType();
    expected["lines"] = QStringLiteral("a\nb\nc\n\td");
    EXPECT_EQ(value->toMap(), expected);
}

}  // namespace
}  // namespace lumigrave
