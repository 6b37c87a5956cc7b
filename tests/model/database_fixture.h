#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <optional>
#include <vector>

namespace lumigrave::test {

// One row of table embossers as the database holds it, read without our own code.
struct StoredRow {
    qint64 rowid = 0;
    QString text;
    QString font_name;
    double width_ratio = 0;
    double opacity = 0;
    double text_angle = 0;
    qint64 layout_type = 0;
    double margin_horizontal = 0;
    double margin_vertical = 0;
    QString last_used;
};

// A real database file in a temporary directory, inspected and prepared with plain SQL.
class DatabaseTest : public testing::Test {
  protected:
    void SetUp() override;

    QString dbPath() const { return dir_.filePath(QStringLiteral("app_data.sqlite")); }
    QString dirPath() const { return dir_.path(); }

    // Creates the table as the seed database declares it.
    void createTable();
    // Runs SQL that must succeed.
    void exec(const QString& sql);
    std::vector<StoredRow> rows(const QString& orderBy = QStringLiteral("rowid"));
    std::optional<StoredRow> row(qint64 rowid);
    // The SQL type of a column of one row ("real", "integer", "text", "null").
    QString typeOf(const QString& column, qint64 rowid);

  private:
    QTemporaryDir dir_;
};

}  // namespace lumigrave::test
