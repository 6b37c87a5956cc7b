#include <QDebug>

#include "model/embosser.h"
#include "model/sqlite.h"

namespace lumigrave {

namespace {

const char* const kInsertSql =
    "INSERT INTO embossers (text, font_name, width_ratio, opacity, text_angle, layout_type, "
    "margin_horizontal, margin_vertical, last_used) VALUES(?,?,?,?,?,?,?,?,datetime('now'))";
const char* const kDeleteSql = "DELETE FROM embossers WHERE (rowid = ?)";
const char* const kUpdateAllSql =
    "UPDATE embossers SET text=?, font_name=?, width_ratio=?, opacity=?, text_angle=?, "
    "layout_type=?, margin_horizontal=?, margin_vertical=?, last_used=datetime('now') "
    "WHERE (rowid = ?)";
const char* const kUpdateTextSql =
    "UPDATE embossers SET text=?, last_used=datetime('now') WHERE (rowid = ?)";
const char* const kUpdateFontSql =
    "UPDATE embossers SET font_name=?, last_used=datetime('now') WHERE (rowid = ?)";
const char* const kUpdateSizeSql =
    "UPDATE embossers SET width_ratio=?, opacity=?, text_angle=?, last_used=datetime('now') "
    "WHERE (rowid = ?)";
const char* const kUpdateLayoutSql =
    "UPDATE embossers SET layout_type=?, margin_horizontal=?, margin_vertical=?, "
    "last_used=datetime('now') WHERE (rowid = ?)";

// The log lines of one operation ("insert", "delete", "update").
struct Operation {
    const char* prepareLine;  // "Error: prepare SQL insert. %1"
    const char* stepLine;     // "Error: insert into db. '%1'."
};

const Operation kInsert{"Error: prepare SQL insert. %1", "Error: insert into db. '%1'."};
const Operation kDelete{"Error: prepare SQL delete. %1", "Error: delete from db. '%1'."};
const Operation kUpdate{"Error: prepare SQL update. %1", "Error: update db. '%1'."};

bool fail(const char* line, const QString& message, QString* errorMessage) {
    qWarning().noquote() << QString::fromLatin1(line).arg(message);
    if (errorMessage) {
        *errorMessage = message;
    }
    return false;
}

// Opens the database, prepares sql, lets bind fill in the parameters and steps once.
// The connection and statement are closed on every path before it returns.
template <typename Bind>
bool runOnce(const QString& databasePath, const Operation& operation, const char* sql, Bind bind,
             QString* errorMessage, int64_t* insertedRowId = nullptr) {
    SqliteConnection db;
    if (!db.open(databasePath)) {
        // Reporting this as success would let an editor believe its change was kept.
        return fail("Error: open database. %1", db.errorMessage(), errorMessage);
    }
    SqliteStatement statement(db);
    if (!statement.prepare(sql)) {
        return fail(operation.prepareLine, db.errorMessage(), errorMessage);
    }
    bind(statement);
    if (statement.step() != SqliteStatement::StepResult::Done) {
        return fail(operation.stepLine, db.errorMessage(), errorMessage);
    }
    if (insertedRowId) {
        *insertedRowId = db.lastInsertRowId();
    }
    return true;
}

}  // namespace

bool Embosser::dbAddEmbosser(const QString& databasePath, Embosser& embosser,
                             QString* errorMessage) {
    embosser.setRid(0);
    int64_t rowId = 0;
    const bool ok = runOnce(
        databasePath, kInsert, kInsertSql,
        [&](SqliteStatement& s) {
            s.bindText(1, embosser.text());
            s.bindText(2, embosser.font_name());
            s.bindDouble(3, embosser.width_ratio());
            s.bindDouble(4, embosser.opacity());
            s.bindDouble(5, embosser.text_angle());
            s.bindInt(6, embosser.layoutType());
            s.bindDouble(7, embosser.marginHorizontal());
            s.bindDouble(8, embosser.marginVertical());
        },
        errorMessage, &rowId);
    if (ok) {
        embosser.setRid(static_cast<int>(rowId));
    }
    return ok;
}

bool Embosser::dbDeleteEmbosser(const QString& databasePath, const Embosser& embosser,
                                QString* errorMessage) {
    return runOnce(
        databasePath, kDelete, kDeleteSql,
        [&](SqliteStatement& s) { s.bindInt(1, embosser.rid()); }, errorMessage);
}

bool Embosser::dbUpdateEmbosser(const QString& databasePath, const Embosser& embosser, int forView,
                                QString* errorMessage) {
    const Embosser& e = embosser;
    switch (forView) {
        case 1:
            return runOnce(
                databasePath, kUpdate, kUpdateTextSql,
                [&](SqliteStatement& s) {
                    s.bindText(1, e.text());
                    s.bindInt64(2, e.rid());
                },
                errorMessage);
        case 2:
            return runOnce(
                databasePath, kUpdate, kUpdateFontSql,
                [&](SqliteStatement& s) {
                    s.bindText(1, e.font_name());
                    s.bindInt64(2, e.rid());
                },
                errorMessage);
        case 3:
            return runOnce(
                databasePath, kUpdate, kUpdateSizeSql,
                [&](SqliteStatement& s) {
                    s.bindDouble(1, e.width_ratio());
                    s.bindDouble(2, e.opacity());
                    s.bindDouble(3, e.text_angle());
                    s.bindInt64(4, e.rid());
                },
                errorMessage);
        case 4:
            return runOnce(
                databasePath, kUpdate, kUpdateLayoutSql,
                [&](SqliteStatement& s) {
                    s.bindInt(1, e.layoutType());
                    s.bindDouble(2, e.marginHorizontal());
                    s.bindDouble(3, e.marginVertical());
                    s.bindInt64(4, e.rid());
                },
                errorMessage);
        default:
            return runOnce(
                databasePath, kUpdate, kUpdateAllSql,
                [&](SqliteStatement& s) {
                    s.bindText(1, e.text());
                    s.bindText(2, e.font_name());
                    s.bindDouble(3, e.width_ratio());
                    s.bindDouble(4, e.opacity());
                    s.bindDouble(5, e.text_angle());
                    s.bindInt(6, e.layoutType());
                    s.bindDouble(7, e.marginHorizontal());
                    s.bindDouble(8, e.marginVertical());
                    s.bindInt64(9, e.rid());
                },
                errorMessage);
    }
}

}  // namespace lumigrave
