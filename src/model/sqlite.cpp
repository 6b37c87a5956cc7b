#include "model/sqlite.h"

#include <sqlite3.h>

namespace lumigrave {

SqliteConnection::~SqliteConnection() {
    close();
}

bool SqliteConnection::open(const QString& path) {
    close();
    openError_.clear();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        // The handle, when there is one, still carries the reason; it must be closed all
        // the same.
        openError_ =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        return false;
    }
    db_ = db;
    return true;
}

void SqliteConnection::close() {
    if (db_) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

QString SqliteConnection::errorMessage() const {
    return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : openError_;
}

int64_t SqliteConnection::lastInsertRowId() const {
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

SqliteStatement::SqliteStatement(SqliteConnection& connection) : connection_(connection) {}

SqliteStatement::~SqliteStatement() {
    finalize();
}

bool SqliteStatement::prepare(const char* sql) {
    finalize();
    if (!connection_.isOpen()) {
        return false;
    }
    return sqlite3_prepare_v2(connection_.handle(), sql, -1, &statement_, nullptr) == SQLITE_OK;
}

void SqliteStatement::finalize() {
    if (statement_) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
    }
}

void SqliteStatement::bindText(int position, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(statement_, position, utf8.constData(), -1, SQLITE_TRANSIENT);
}

void SqliteStatement::bindDouble(int position, double value) {
    sqlite3_bind_double(statement_, position, value);
}

void SqliteStatement::bindInt(int position, int value) {
    sqlite3_bind_int(statement_, position, value);
}

void SqliteStatement::bindInt64(int position, int64_t value) {
    sqlite3_bind_int64(statement_, position, value);
}

SqliteStatement::StepResult SqliteStatement::step() {
    if (!statement_) {
        return StepResult::Error;
    }
    switch (sqlite3_step(statement_)) {
        case SQLITE_ROW:
            return StepResult::Row;
        case SQLITE_DONE:
            return StepResult::Done;
        default:
            return StepResult::Error;
    }
}

int SqliteStatement::columnInt(int column) const {
    return sqlite3_column_int(statement_, column);
}

double SqliteStatement::columnDouble(int column) const {
    return sqlite3_column_double(statement_, column);
}

QString SqliteStatement::columnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return text ? QString::fromUtf8(text) : QString();
}

}  // namespace lumigrave
