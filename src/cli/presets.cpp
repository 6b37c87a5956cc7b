#include "cli/presets.h"

#include "model/database_seed.h"
#include "platform/bundle.h"
#include "platform/user_defaults.h"

namespace lumigrave::cli {

bool loadPresets(const QString& databasePath, EmbosserList& list, QTextStream& err) {
    seedDatabaseFile(Bundle::pathForResource(QStringLiteral("app_data"), QStringLiteral("sqlite")),
                     databasePath);
    UserDefaults defaults;
    QString alert;
    if (!loadEmbossers(databasePath, defaults.integerForKey(QStringLiteral("LastUsedEmbosser")),
                       list, &alert)) {
        err << "The presets cannot be read from " << databasePath << ".\n";
        return false;
    }
    if (!alert.isEmpty()) {
        err << "Error: " << alert << "\n";
    }
    return true;
}

}  // namespace lumigrave::cli
