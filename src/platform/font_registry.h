#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace lumigrave {

// Fonts by PostScript name ("DejaVuSans-Bold"), as presets store them. The bundled bold
// font is the "bold system font": it is registered at start-up, so renderings are the
// same on every machine, and it stands in for any name that is not installed.
// Needs a QGuiApplication for everything but the names.
class FontRegistry {
  public:
    static QString boldSystemFontName();
    // Registers the fonts compiled into the resources; false (and a log line) when the
    // bundled font is missing or unreadable.
    static bool registerBundledFonts();

    // The font of that name at the given size in points, unhinted so that its width
    // grows smoothly with the size. Unknown names give the bundled bold font.
    static QFont fontWithName(const QString& postScriptName, double pointSize);
    static bool hasFont(const QString& postScriptName);

    // Installed font families, sorted, and the PostScript names of each family's faces.
    static QStringList familyNames();
    static QStringList fontNamesForFamilyName(const QString& family);

    // The next question builds the catalogue from nothing, as the process's first does;
    // for benchmarks of that first question.
    static void dropCatalogue();
};

}  // namespace lumigrave
