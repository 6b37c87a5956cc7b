#include "platform/font_registry.h"

#include <fontconfig/fontconfig.h>
#include <QDebug>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QMap>
#include <QPointer>
#include <QRawFont>
#include <atomic>
#include <mutex>

#include "platform/font_name_table.h"

namespace lumigrave {

namespace {

const QString kBundledBoldFont = QStringLiteral("DejaVuSans-Bold");
const QString kBundledBoldFontPath = QStringLiteral(":/fonts/DejaVuSans-Bold.ttf");
const QString kBundledBoldFamily = QStringLiteral("DejaVu Sans");
const QString kBundledBoldStyle = QStringLiteral("Bold");

std::atomic<bool> bundledRegistered{false};

bool bundledFontRegistered() {
    return bundledRegistered.load();
}

struct Face {
    QString family;
    QString style;
};

struct Catalogue {
    QMap<QString, Face> byName;                // PostScript name → face
    QMap<QString, QStringList> namesByFamily;  // family → PostScript names
    QHash<QString, QString> nameByFace;        // family and style → PostScript name
};

std::mutex catalogueMutex;
std::unique_ptr<Catalogue> catalogue;
// Set when the installed fonts changed: the catalogue is read again, but only the faces
// it does not know yet are opened.
bool catalogueStale = false;

QString fallbackPostScriptName(const QString& family, const QString& style) {
    QString name = family + QLatin1Char('-') + style;
    name.remove(QLatin1Char(' '));
    return name;
}

QString faceKey(const QString& family, const QString& style) {
    return family + QLatin1Char('\n') + style;
}

// The PostScript names fontconfig already knows from its cache, by family and style. Reading them
// opens no font file; with a few hundred faces installed that is most of the catalogue's cost.
QHash<QString, QString> postScriptNamesFromFontconfig() {
    QHash<QString, QString> names;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_POSTSCRIPT_NAME, nullptr);
    FcFontSet* set = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
    for (int i = 0; set != nullptr && i < set->nfont; ++i) {
        FcChar8* postScript = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_POSTSCRIPT_NAME, 0, &postScript) !=
                FcResultMatch ||
            postScript == nullptr) {
            continue;
        }
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(postScript));
        // The first family and style are the ones the font database lists the face under;
        // the others pair a wider family with a shorter style ("DejaVu Sans Condensed",
        // "Bold") and, crossed with the first, would name another face.
        FcChar8* family = nullptr;
        FcChar8* style = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch &&
            FcPatternGetString(set->fonts[i], FC_STYLE, 0, &style) == FcResultMatch) {
            names.insert(faceKey(QString::fromUtf8(reinterpret_cast<const char*>(family)),
                                 QString::fromUtf8(reinterpret_cast<const char*>(style))),
                         name);
        }
    }
    if (set != nullptr) {
        FcFontSetDestroy(set);
    }
    if (objects != nullptr) {
        FcObjectSetDestroy(objects);
    }
    if (pattern != nullptr) {
        FcPatternDestroy(pattern);
    }
    return names;
}

std::unique_ptr<Catalogue> buildCatalogue(const Catalogue* previous) {
    auto result = std::make_unique<Catalogue>();
    const QStringList families = QFontDatabase::families();
    const QHash<QString, QString> known = postScriptNamesFromFontconfig();
    for (const QString& family : families) {
        for (const QString& style : QFontDatabase::styles(family)) {
            const QString face = faceKey(family, style);
            QString name = previous ? previous->nameByFace.value(face) : QString();
            if (name.isEmpty()) {
                name = known.value(face);
            }
            // A face fontconfig does not list (one loaded from memory) is opened once.
            if (name.isEmpty()) {
                const QFont font = QFontDatabase::font(family, style, 12);
                name = postScriptNameFromNameTable(QRawFont::fromFont(font).fontTable("name"));
            }
            if (name.isEmpty()) {
                name = fallbackPostScriptName(family, style);
            }
            result->nameByFace.insert(face, name);
            if (result->byName.contains(name)) {
                continue;
            }
            result->byName.insert(name, Face{family, style});
            result->namesByFamily[family].append(name);
        }
    }
    return result;
}

// Fonts added or removed while the process runs make the catalogue stale; it is read
// again on the next question, not on every one.
void forgetCatalogueWhenFontsChange() {
    static QPointer<QGuiApplication> watched;
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (application == nullptr || watched == application) {
        return;
    }
    watched = application;
    QObject::connect(application, &QGuiApplication::fontDatabaseChanged, application, [] {
        std::lock_guard lock(catalogueMutex);
        catalogueStale = true;
    });
}

const Catalogue& currentCatalogue() {
    forgetCatalogueWhenFontsChange();
    std::lock_guard lock(catalogueMutex);
    if (!catalogue || catalogueStale) {
        catalogue = buildCatalogue(catalogue.get());
        catalogueStale = false;
    }
    return *catalogue;
}

}  // namespace

QString FontRegistry::boldSystemFontName() {
    return kBundledBoldFont;
}

bool FontRegistry::registerBundledFonts() {
    static int bundledId = -1;
    if (bundledId < 0) {
        bundledId = QFontDatabase::addApplicationFont(kBundledBoldFontPath);
        if (bundledId < 0) {
            qWarning().noquote() << "Cannot register the bundled font" << kBundledBoldFontPath;
            return false;
        }
        std::lock_guard lock(catalogueMutex);
        catalogue.reset();
        bundledRegistered = true;
    }
    return true;
}

QFont FontRegistry::fontWithName(const QString& postScriptName, double pointSize) {
    QFont font;
    // The bundled font is the one nearly every preset uses: it is found without building
    // the catalogue, which opens every installed font file once.
    if (postScriptName == kBundledBoldFont && bundledFontRegistered()) {
        font = QFontDatabase::font(kBundledBoldFamily, kBundledBoldStyle, 12);
        font.setPointSizeF(pointSize);
        font.setHintingPreference(QFont::PreferNoHinting);
        return font;
    }
    const Catalogue& known = currentCatalogue();
    auto face = known.byName.constFind(postScriptName);
    if (face == known.byName.constEnd()) {
        face = known.byName.constFind(kBundledBoldFont);
    }
    if (face != known.byName.constEnd()) {
        font = QFontDatabase::font(face->family, face->style, 12);
    } else {
        // Only when the bundled font could not be registered: any bold sans-serif.
        font = QFont(QStringLiteral("Sans Serif"), 12, QFont::Bold);
    }
    font.setPointSizeF(pointSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

bool FontRegistry::hasFont(const QString& postScriptName) {
    return currentCatalogue().byName.contains(postScriptName);
}

QStringList FontRegistry::familyNames() {
    QStringList families = currentCatalogue().namesByFamily.keys();
    families.sort(Qt::CaseInsensitive);
    return families;
}

QStringList FontRegistry::fontNamesForFamilyName(const QString& family) {
    return currentCatalogue().namesByFamily.value(family);
}

void FontRegistry::dropCatalogue() {
    std::lock_guard lock(catalogueMutex);
    catalogue.reset();
}

}  // namespace lumigrave
