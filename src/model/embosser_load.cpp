#include "model/embosser_load.h"

#include <QDebug>

#include "model/sqlite.h"

namespace lumigrave {

namespace {

const char* const kSelectSql =
    "SELECT rowid, text, font_name, width_ratio, opacity, text_angle, layout_type, "
    "margin_horizontal, margin_vertical FROM embossers ORDER BY last_used DESC";

std::unique_ptr<Embosser> embosserFromRow(const SqliteStatement& row) {
    auto embosser = std::make_unique<Embosser>();
    embosser->setRid(row.columnInt(0));
    embosser->setText(row.columnText(1));
    embosser->setFont_name(row.columnText(2));
    embosser->setWidth_ratio(static_cast<float>(row.columnDouble(3)));
    embosser->setOpacity(static_cast<float>(row.columnDouble(4)));
    embosser->setText_angle(static_cast<float>(row.columnDouble(5)));
    embosser->setLayoutType(row.columnInt(6));
    embosser->setMarginHorizontal(static_cast<float>(row.columnDouble(7)));
    embosser->setMarginVertical(static_cast<float>(row.columnDouble(8)));
    return embosser;
}

}  // namespace

bool loadEmbossers(const QString& databasePath, qint64 lastUsedEmbosser, EmbosserList& list,
                   QString* alertMessage) {
    SqliteConnection db;
    if (!db.open(databasePath)) {
        qWarning().noquote() << "Cannot open the preset database" << databasePath << ":"
                             << db.errorMessage();
        if (alertMessage != nullptr) {
            *alertMessage = db.errorMessage();
        }
        return false;
    }
    SqliteStatement select(db);
    if (!select.prepare(kSelectSql)) {
        qWarning().noquote() << "Cannot read the presets from" << databasePath << ":"
                             << db.errorMessage();
        if (alertMessage != nullptr) {
            *alertMessage = db.errorMessage();
        }
        return false;
    }

    // Read whole or not at all: a table that stops part-way (a damaged page, an I/O
    // error) must not pass for one with fewer presets, which the next save would make
    // true.
    std::vector<std::unique_ptr<Embosser>> loaded;
    loaded.reserve(5);
    SqliteStatement::StepResult step;
    while ((step = select.step()) == SqliteStatement::StepResult::Row) {
        loaded.push_back(embosserFromRow(select));
    }
    if (step == SqliteStatement::StepResult::Error) {
        const QString error = db.errorMessage();
        qWarning().noquote() << "Reading the presets from" << databasePath << "stopped after"
                             << loaded.size() << "of them:" << error;
        if (alertMessage != nullptr) {
            *alertMessage = error;
        }
        return false;
    }
    select.finalize();
    list.activeEmbosser = nullptr;
    list.embossers = std::move(loaded);

    if (list.embossers.empty()) {
        auto embosser = std::make_unique<Embosser>();
        QString error;
        if (!Embosser::dbAddEmbosser(databasePath, *embosser, &error) && alertMessage) {
            *alertMessage = error;
        }
        list.embossers.push_back(std::move(embosser));
    }

    // Compared as unsigned, so a negative stored position counts as out of range.
    quint64 position = static_cast<quint64>(lastUsedEmbosser);
    if (position >= list.embossers.size()) {
        position = 0;
    }
    list.activeEmbosser = list.embossers[position].get();
    return true;
}

}  // namespace lumigrave
