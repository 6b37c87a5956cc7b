#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace lumigrave::cli {

// What `lumigrave-cli apply` was asked to do. Preset fields given on the command line
// override the chosen preset's; each goes through the preset's own validating setter.
struct ApplyOptions {
    QStringList files;
    QString outputDirectory;
    std::optional<int> presetPosition;  // default: the active preset
    std::optional<QString> text;
    std::optional<QString> fontName;
    std::optional<float> widthRatio;
    std::optional<float> opacity;
    std::optional<float> angle;
    std::optional<int> layoutType;
    std::optional<float> marginHorizontal;
    std::optional<float> marginVertical;
    qint64 outputLength = 0;  // the longer side in points; 0 keeps the photo's size
    int rotate = 0;           // 0, or the quarter turn code: 2 left, 3 right
    QString format = QStringLiteral("jpeg");
    int quality = 90;
    int jobs = 0;  // 0: one per core
    bool overwrite = false;
    bool keepGps = false;  // the photos' GPS positions go into the results too
    float screenScale = 1;
    // --db is taken among apply's options as well as before the command.
    std::optional<QString> databasePath;
    bool help = false;  // --help: nothing else is looked at

    bool operator==(const ApplyOptions&) const = default;
};

// Parses the arguments after "apply". On a mistake, returns nothing and sets *error to
// a message naming the option.
std::optional<ApplyOptions> parseApplyOptions(const QStringList& arguments, QString* error);

// The file name extension of an output format ("jpg", "png").
QString extensionForFormat(const QString& format);

// "center, top-left, …": every layout name, in the order of the layout types.
QString layoutNames(const QString& separator);

}  // namespace lumigrave::cli
