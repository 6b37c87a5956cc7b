#pragma once

#include <QString>

namespace lumigrave {

// The application's own resource files, compiled into the executables.
class Bundle {
  public:
    // The path of the resource "name" of type "type" (for example "app_data", "sqlite"),
    // readable with QFile; empty when there is no such resource.
    static QString pathForResource(const QString& name, const QString& type);
    // A resource image's scale: 2 for names carrying "@2x", 1 otherwise.
    static int scaleForResourceName(const QString& name);

    // The information keys: "CFBundleDisplayName" ("Lumigrave"), "CFBundleName"
    // ("lumigrave") and "CFBundleVersion" (the project's version); empty for others.
    static QString infoValue(const QString& key);
};

}  // namespace lumigrave
