#include "model/database_fixture.h"

#include <sqlite3.h>

namespace lumigrave::test {

namespace {

struct Db {
    explicit Db(const QString& path) {
        if (sqlite3_open(path.toUtf8().constData(), &handle) != SQLITE_OK) {
            ADD_FAILURE() << "cannot open " << path.toStdString();
        }
    }
    ~Db() { sqlite3_close(handle); }
    sqlite3* handle = nullptr;
};

QString text(sqlite3_stmt* s, int column) {
    const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return value ? QString::fromUtf8(value) : QString();
}

}  // namespace

void DatabaseTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
}

void DatabaseTest::createTable() {
    exec(QStringLiteral(
        "CREATE TABLE embossers (text TEXT NOT NULL, font_name TEXT NOT NULL, "
        "width_ratio REAL NOT NULL, opacity REAL NOT NULL, text_angle REAL NOT NULL, "
        "layout_type INTEGER NOT NULL, margin_horizontal REAL NOT NULL, "
        "margin_vertical REAL NOT NULL, last_used TEXT NOT NULL)"));
}

void DatabaseTest::exec(const QString& sql) {
    Db db(dbPath());
    char* error = nullptr;
    if (sqlite3_exec(db.handle, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << "SQL failed: " << (error ? error : "?") << "\n" << sql.toStdString();
    }
    sqlite3_free(error);
}

std::vector<StoredRow> DatabaseTest::rows(const QString& orderBy) {
    Db db(dbPath());
    const QString sql = QStringLiteral(
                            "SELECT rowid, text, font_name, width_ratio, opacity, text_angle, "
                            "layout_type, margin_horizontal, margin_vertical, last_used "
                            "FROM embossers ORDER BY %1")
                            .arg(orderBy);
    sqlite3_stmt* s = nullptr;
    std::vector<StoredRow> result;
    if (sqlite3_prepare_v2(db.handle, sql.toUtf8().constData(), -1, &s, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(db.handle);
        return result;
    }
    while (sqlite3_step(s) == SQLITE_ROW) {
        result.push_back(StoredRow{
            sqlite3_column_int64(s, 0), text(s, 1), text(s, 2), sqlite3_column_double(s, 3),
            sqlite3_column_double(s, 4), sqlite3_column_double(s, 5), sqlite3_column_int64(s, 6),
            sqlite3_column_double(s, 7), sqlite3_column_double(s, 8), text(s, 9)});
    }
    sqlite3_finalize(s);
    return result;
}

std::optional<StoredRow> DatabaseTest::row(qint64 rowid) {
    for (const StoredRow& r : rows()) {
        if (r.rowid == rowid) {
            return r;
        }
    }
    return std::nullopt;
}

QString DatabaseTest::typeOf(const QString& column, qint64 rowid) {
    Db db(dbPath());
    const QString sql =
        QStringLiteral("SELECT typeof(%1) FROM embossers WHERE rowid = %2").arg(column).arg(rowid);
    sqlite3_stmt* s = nullptr;
    QString result;
    if (sqlite3_prepare_v2(db.handle, sql.toUtf8().constData(), -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW) {
        result = text(s, 0);
    }
    sqlite3_finalize(s);
    return result;
}

}  // namespace lumigrave::test
