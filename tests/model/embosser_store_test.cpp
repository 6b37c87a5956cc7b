#include <gtest/gtest.h>

#include <QRegularExpression>

#include "model/database_fixture.h"
#include "model/embosser.h"
#include "model/layout_type.h"
#include "support/log_capture.h"
#include "support/presets.h"

namespace lumigrave {
namespace {

using test::DatabaseTest;
using test::StoredRow;

class EmbosserStore : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        createTable();
    }

    Embosser stored() {
        Embosser e = test::samplePreset();
        QString error;
        EXPECT_TRUE(Embosser::dbAddEmbosser(dbPath(), e, &error)) << error.toStdString();
        return e;
    }
};

void expectRowHolds(const StoredRow& row, const Embosser& e) {
    EXPECT_EQ(row.text, e.text());
    EXPECT_EQ(row.font_name, e.font_name());
    // Floats are stored widened to double, so the exact single-precision value comes back.
    EXPECT_EQ(row.width_ratio, double(e.width_ratio()));
    EXPECT_EQ(row.opacity, double(e.opacity()));
    EXPECT_EQ(row.text_angle, double(e.text_angle()));
    EXPECT_EQ(row.layout_type, e.layoutType());
    EXPECT_EQ(row.margin_horizontal, double(e.marginHorizontal()));
    EXPECT_EQ(row.margin_vertical, double(e.marginVertical()));
}

TEST_F(EmbosserStore, InsertWritesEveryFieldWithItsTypeAndStampsTheTime) {
    Embosser e = test::samplePreset();
    e.setRid(99);
    QString error = QStringLiteral("untouched");
    ASSERT_TRUE(Embosser::dbAddEmbosser(dbPath(), e, &error));
    EXPECT_EQ(error, QStringLiteral("untouched"));  // set only on failure
    ASSERT_EQ(e.rid(), 1);

    const auto row = this->row(1);
    ASSERT_TRUE(row);
    expectRowHolds(*row, e);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(row->last_used)
                    .hasMatch())
        << row->last_used.toStdString();
    EXPECT_EQ(typeOf("text", 1), "text");
    EXPECT_EQ(typeOf("width_ratio", 1), "real");
    EXPECT_EQ(typeOf("text_angle", 1), "real");
    EXPECT_EQ(typeOf("layout_type", 1), "integer");
    EXPECT_EQ(typeOf("margin_vertical", 1), "real");

    Embosser second = test::samplePreset();
    ASSERT_TRUE(Embosser::dbAddEmbosser(dbPath(), second, nullptr));
    EXPECT_EQ(second.rid(), 2);
}

TEST_F(EmbosserStore, DeleteRemovesOnlyThatRowAndKeepsTheRid) {
    Embosser first = stored();
    Embosser second = stored();
    ASSERT_TRUE(Embosser::dbDeleteEmbosser(dbPath(), first, nullptr));
    EXPECT_EQ(first.rid(), 1);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].rowid, second.rid());

    // A row that is not there is no failure.
    EXPECT_TRUE(Embosser::dbDeleteEmbosser(dbPath(), first, nullptr));
    EXPECT_EQ(rows().size(), 1u);
}

// Each editor writes its own group of columns; All, or a number no group has, writes
// all eight.
struct UpdateCase {
    EditorGroup forView;
    bool text, font, size, layout;
};

std::ostream& operator<<(std::ostream& out, const UpdateCase& c) {
    return out << "forView " << int(c.forView);
}

class EmbosserUpdate : public EmbosserStore, public testing::WithParamInterface<UpdateCase> {};

TEST_P(EmbosserUpdate, WritesExactlyTheColumnsOfItsEditor) {
    const UpdateCase c = GetParam();
    Embosser e = stored();
    const StoredRow before = *row(e.rid());
    exec(QStringLiteral("UPDATE embossers SET last_used = '2000-01-01 00:00:00'"));

    Embosser changed = e.copy();
    changed.setText(QStringLiteral("new text"));
    changed.setFont_name(QStringLiteral("DejaVuSans-Oblique"));
    changed.setWidth_ratio(0.9f);
    changed.setOpacity(0.2f);
    changed.setText_angle(200);
    changed.setLayoutType(kLayoutTopLeft);
    changed.setMarginHorizontal(0.25f);
    changed.setMarginVertical(0.5f);
    QString error;
    ASSERT_TRUE(Embosser::dbUpdateEmbosser(dbPath(), changed, c.forView, &error))
        << error.toStdString();

    const StoredRow after = *row(e.rid());
    EXPECT_EQ(after.text, c.text ? changed.text() : before.text);
    EXPECT_EQ(after.font_name, c.font ? changed.font_name() : before.font_name);
    EXPECT_EQ(after.width_ratio, c.size ? 0.9f : before.width_ratio);
    EXPECT_EQ(after.opacity, c.size ? 0.2f : before.opacity);
    EXPECT_EQ(after.text_angle, c.size ? 200.0 : before.text_angle);
    EXPECT_EQ(after.layout_type, c.layout ? qint64(kLayoutTopLeft) : before.layout_type);
    EXPECT_EQ(after.margin_horizontal, c.layout ? 0.25f : before.margin_horizontal);
    EXPECT_EQ(after.margin_vertical, c.layout ? 0.5 : before.margin_vertical);
    EXPECT_NE(after.last_used, QStringLiteral("2000-01-01 00:00:00"));
    EXPECT_EQ(typeOf("layout_type", e.rid()), "integer");
    EXPECT_EQ(rows().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    ForView, EmbosserUpdate,
    testing::Values(UpdateCase{EditorGroup::All, true, true, true, true},
                    UpdateCase{EditorGroup::Text, true, false, false, false},
                    UpdateCase{EditorGroup::Font, false, true, false, false},
                    UpdateCase{EditorGroup::SizeOpacityAngle, false, false, true, false},
                    UpdateCase{EditorGroup::LayoutMargins, false, false, false, true},
                    UpdateCase{EditorGroup(5), true, true, true, true},
                    UpdateCase{EditorGroup(9), true, true, true, true},
                    UpdateCase{EditorGroup(-1), true, true, true, true}));

TEST_F(EmbosserStore, UpdateOfAMissingRowSucceedsAndChangesNothing) {
    Embosser e = stored();
    Embosser ghost = test::samplePreset();
    ghost.setRid(777);
    ghost.setText(QStringLiteral("ghost"));
    EXPECT_TRUE(Embosser::dbUpdateEmbosser(dbPath(), ghost, EditorGroup::All, nullptr));
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].text, e.text());
}

TEST_F(EmbosserStore, InsertsAndUpdatesMoveARowToTheFrontOfTheLoadOrder) {
    Embosser a = stored();
    Embosser b = stored();
    Embosser c = stored();
    exec(QStringLiteral("UPDATE embossers SET last_used = '2001-01-0' || rowid || ' 10:00:00'"));
    const QString newestFirst = QStringLiteral("last_used DESC");
    ASSERT_EQ(rows(newestFirst)[0].rowid, c.rid());

    ASSERT_TRUE(Embosser::dbUpdateEmbosser(dbPath(), a, EditorGroup::SizeOpacityAngle, nullptr));
    auto order = rows(newestFirst);
    EXPECT_EQ(order[0].rowid, a.rid());
    EXPECT_EQ(order[1].rowid, c.rid());
    EXPECT_EQ(order[2].rowid, b.rid());

    exec(QStringLiteral("UPDATE embossers SET last_used = '2001-01-09 10:00:00' WHERE rowid = %1")
             .arg(a.rid()));
    Embosser d = stored();
    EXPECT_EQ(rows(newestFirst)[0].rowid, d.rid());
}

TEST_F(EmbosserStore, FailuresHandBackTheDatabaseTextAndLogIt) {
    exec(QStringLiteral("DROP TABLE embossers"));
    Embosser e = test::samplePreset();
    e.setRid(5);
    QString error;
    test::LogCapture log;
    EXPECT_FALSE(Embosser::dbAddEmbosser(dbPath(), e, &error));
    EXPECT_EQ(error, QStringLiteral("no such table: embossers"));
    EXPECT_EQ(e.rid(), 0);  // reset before the insert, and no row was made
    EXPECT_TRUE(
        log.contains(QStringLiteral("Error: prepare SQL insert. no such table: embossers")));

    error.clear();
    e.setRid(5);
    EXPECT_FALSE(Embosser::dbDeleteEmbosser(dbPath(), e, &error));
    EXPECT_EQ(error, QStringLiteral("no such table: embossers"));
    EXPECT_TRUE(
        log.contains(QStringLiteral("Error: prepare SQL delete. no such table: embossers")));

    for (EditorGroup forView : test::kEditorGroups) {
        error.clear();
        EXPECT_FALSE(Embosser::dbUpdateEmbosser(dbPath(), e, forView, &error)) << int(forView);
        EXPECT_EQ(error, QStringLiteral("no such table: embossers")) << int(forView);
    }
    EXPECT_TRUE(
        log.contains(QStringLiteral("Error: prepare SQL update. no such table: embossers")));
}

TEST_F(EmbosserStore, AStepThatFailsIsReportedWithItsOwnLogLine) {
    // A trigger that refuses every write makes the statements prepare but fail to step.
    exec(
        QStringLiteral("CREATE TRIGGER no_insert BEFORE INSERT ON embossers BEGIN "
                       "SELECT RAISE(ABORT, 'presets are frozen'); END"));
    Embosser e = test::samplePreset();
    QString error;
    test::LogCapture log;
    EXPECT_FALSE(Embosser::dbAddEmbosser(dbPath(), e, &error));
    EXPECT_EQ(error, QStringLiteral("presets are frozen"));
    EXPECT_EQ(e.rid(), 0);
    EXPECT_TRUE(log.contains(QStringLiteral("Error: insert into db. 'presets are frozen'.")));

    exec(QStringLiteral("DROP TRIGGER no_insert"));
    Embosser kept = stored();
    exec(
        QStringLiteral("CREATE TRIGGER no_update BEFORE UPDATE ON embossers BEGIN "
                       "SELECT RAISE(ABORT, 'presets are frozen'); END; "
                       "CREATE TRIGGER no_delete BEFORE DELETE ON embossers BEGIN "
                       "SELECT RAISE(ABORT, 'presets are frozen'); END"));
    EXPECT_FALSE(Embosser::dbUpdateEmbosser(dbPath(), kept, EditorGroup::Text, &error));
    EXPECT_TRUE(log.contains(QStringLiteral("Error: update db. 'presets are frozen'.")));
    EXPECT_FALSE(Embosser::dbDeleteEmbosser(dbPath(), kept, &error));
    EXPECT_TRUE(log.contains(QStringLiteral("Error: delete from db. 'presets are frozen'.")));
    EXPECT_EQ(rows().size(), 1u);
}

}  // namespace
}  // namespace lumigrave
