#include "platform/bundle.h"

#include <QFileInfo>

namespace lumigrave {

QString Bundle::pathForResource(const QString& name, const QString& type) {
    if (name.isEmpty()) {
        return {};
    }
    const QString path = type.isEmpty() ? QStringLiteral(":/%1").arg(name)
                                        : QStringLiteral(":/%1.%2").arg(name, type);
    return QFileInfo(path).isFile() ? path : QString();
}

int Bundle::scaleForResourceName(const QString& name) {
    const QString base = QFileInfo(name).completeBaseName();
    return base.endsWith(QLatin1String("@2x")) ? 2 : 1;
}

QString Bundle::infoValue(const QString& key) {
    if (key == QLatin1String("CFBundleDisplayName")) {
        return QStringLiteral("Lumigrave");
    }
    if (key == QLatin1String("CFBundleName")) {
        return QStringLiteral("lumigrave");
    }
    if (key == QLatin1String("CFBundleVersion")) {
        return QStringLiteral(LUMIGRAVE_VERSION);
    }
    return {};
}

}  // namespace lumigrave
