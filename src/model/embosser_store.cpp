#include <QDebug>
#include <vector>

#include "model/embosser.h"
#include "model/sqlite.h"

namespace lumigrave {

namespace {

const char* const kInsertSql =
    "INSERT INTO embossers (text, font_name, width_ratio, opacity, text_angle, layout_type, "
    "margin_horizontal, margin_vertical, last_used) VALUES(?,?,?,?,?,?,?,?,datetime('now'))";
const char* const kDeleteSql = "DELETE FROM embossers WHERE (rowid = ?)";

// A persisted field: its column and how its value is bound.
struct Column {
    const char* name;
    void (*bind)(SqliteStatement&, int position, const Embosser&);
};

const Column kText{"text",
                   [](SqliteStatement& s, int p, const Embosser& e) { s.bindText(p, e.text()); }};
const Column kFontName{"font_name", [](SqliteStatement& s, int p, const Embosser& e) {
                           s.bindText(p, e.font_name());
                       }};
const Column kWidthRatio{"width_ratio", [](SqliteStatement& s, int p, const Embosser& e) {
                             s.bindDouble(p, e.width_ratio());
                         }};
const Column kOpacity{
    "opacity", [](SqliteStatement& s, int p, const Embosser& e) { s.bindDouble(p, e.opacity()); }};
const Column kTextAngle{"text_angle", [](SqliteStatement& s, int p, const Embosser& e) {
                            s.bindDouble(p, e.text_angle());
                        }};
const Column kLayoutType{"layout_type", [](SqliteStatement& s, int p, const Embosser& e) {
                             s.bindInt(p, e.layoutType());
                         }};
const Column kMarginHorizontal{
    "margin_horizontal",
    [](SqliteStatement& s, int p, const Embosser& e) { s.bindDouble(p, e.marginHorizontal()); }};
const Column kMarginVertical{"margin_vertical", [](SqliteStatement& s, int p, const Embosser& e) {
                                 s.bindDouble(p, e.marginVertical());
                             }};

using Columns = std::vector<const Column*>;

// In the order of the insert statement's parameters.
const Columns kAllColumns{&kText,      &kFontName,   &kWidthRatio,       &kOpacity,
                          &kTextAngle, &kLayoutType, &kMarginHorizontal, &kMarginVertical};

// Where the editors' groups become columns: nothing past this point knows of editors.
Columns columnsFor(EditorGroup group) {
    switch (group) {
        case EditorGroup::Text:
            return {&kText};
        case EditorGroup::Font:
            return {&kFontName};
        case EditorGroup::SizeOpacityAngle:
            return {&kWidthRatio, &kOpacity, &kTextAngle};
        case EditorGroup::LayoutMargins:
            return {&kLayoutType, &kMarginHorizontal, &kMarginVertical};
        case EditorGroup::All:
            break;
    }
    return kAllColumns;
}

// Binds the columns' values from position 1 on; returns the next free position.
int bindColumns(SqliteStatement& s, const Columns& columns, const Embosser& embosser) {
    int position = 1;
    for (const Column* column : columns) {
        column->bind(s, position++, embosser);
    }
    return position;
}

QByteArray updateSql(const Columns& columns) {
    QByteArray sql = "UPDATE embossers SET ";
    for (const Column* column : columns) {
        sql += column->name;
        sql += "=?, ";
    }
    return sql + "last_used=datetime('now') WHERE (rowid = ?)";
}

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
        [&](SqliteStatement& s) { bindColumns(s, kAllColumns, embosser); }, errorMessage, &rowId);
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

bool Embosser::dbUpdateEmbosser(const QString& databasePath, const Embosser& embosser,
                                EditorGroup forView, QString* errorMessage) {
    const Columns columns = columnsFor(forView);
    return runOnce(
        databasePath, kUpdate, updateSql(columns).constData(),
        [&](SqliteStatement& s) { s.bindInt64(bindColumns(s, columns, embosser), embosser.rid()); },
        errorMessage);
}

}  // namespace lumigrave
