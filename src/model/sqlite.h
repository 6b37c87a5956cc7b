#pragma once

#include <QString>
#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

namespace lumigrave {

// One connection to a database file, closed when the object goes.
class SqliteConnection {
  public:
    SqliteConnection() = default;
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Opens (and creates, when missing) the file for reading and writing. On failure
    // the connection stays closed and errorMessage() says why.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    QString errorMessage() const;
    int64_t lastInsertRowId() const;
    sqlite3* handle() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
    QString openError_;
};

// One prepared statement, finalized when the object goes.
class SqliteStatement {
  public:
    enum class StepResult { Row, Done, Error };

    explicit SqliteStatement(SqliteConnection& connection);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool prepare(const char* sql);
    void finalize();

    // Parameter positions start at 1. Text is bound as UTF-8 with a transient copy.
    void bindText(int position, const QString& value);
    void bindDouble(int position, double value);
    void bindInt(int position, int value);
    void bindInt64(int position, int64_t value);

    StepResult step();

    // Column positions start at 0.
    int columnInt(int column) const;
    double columnDouble(int column) const;
    QString columnText(int column) const;

  private:
    SqliteConnection& connection_;
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace lumigrave
