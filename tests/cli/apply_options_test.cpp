// The apply command's options, one row per accepted form, boundary and error text.
#include "cli/apply_options.h"

#include <gtest/gtest.h>

#include <QDebug>
#include <functional>
#include <ostream>

#include "model/layout_type.h"

namespace lumigrave::cli {

// Printed in full when a row fails, so the difference is visible.
void PrintTo(const ApplyOptions& o, std::ostream* out) {
    auto opt = [](const auto& value) {
        QString text;
        if (value) {
            QDebug(&text).nospace() << *value;
        }
        return value ? text.toStdString() : std::string("-");
    };
    *out << "files=" << o.files.join('|').toStdString()
         << " out=" << o.outputDirectory.toStdString() << " preset=" << opt(o.presetPosition)
         << " text=" << opt(o.text) << " font=" << opt(o.fontName) << " width=" << opt(o.widthRatio)
         << " opacity=" << opt(o.opacity) << " angle=" << opt(o.angle)
         << " layout=" << opt(o.layoutType) << " margins=" << opt(o.marginHorizontal) << ","
         << opt(o.marginVertical) << " size=" << o.outputLength << " rotate=" << o.rotate
         << " format=" << o.format.toStdString() << " quality=" << o.quality << " jobs=" << o.jobs
         << " overwrite=" << o.overwrite << " keepGps=" << o.keepGps << " scale=" << o.screenScale
         << " db=" << opt(o.databasePath) << " help=" << o.help;
}

namespace {

using Change = std::function<void(ApplyOptions&)>;

struct OptionsRow {
    const char* name;
    QStringList arguments;
    Change change;  // from the defaults with files {"a.jpg"} and -o "out"; unset: refused
    QString error;  // the exact message when refused
};

const QStringList kPhotoAndOutput{"a.jpg", "-o", "out"};

// Options before a photo and -o, as typed.
OptionsRow accepts(const char* name, const QStringList& options, Change change) {
    return {name, options + kPhotoAndOutput, std::move(change), {}};
}
OptionsRow refuses(const char* name, const QStringList& options, const QString& error) {
    return {name, options + kPhotoAndOutput, {}, error};
}
// Options after the photo and -o, so that nothing follows a missing value.
OptionsRow refusesLast(const char* name, const QStringList& options, const QString& error) {
    return {name, kPhotoAndOutput + options, {}, error};
}
// The whole argument list as it stands.
OptionsRow acceptsExactly(const char* name, const QStringList& arguments, Change change) {
    return {name, arguments, std::move(change), {}};
}
OptionsRow refusesExactly(const char* name, const QStringList& arguments, const QString& error) {
    return {name, arguments, {}, error};
}

std::ostream& operator<<(std::ostream& out, const OptionsRow& row) {
    return out << row.arguments.join(' ').toStdString();
}

QString wholeNumber(const char* option, qint64 low, qint64 high, const char* given) {
    return QStringLiteral("%1 needs a whole number from %2 to %3, not \"%4\"")
        .arg(option)
        .arg(low)
        .arg(high)
        .arg(given);
}

QString notANumber(const char* option, const char* given) {
    return QStringLiteral("%1 needs a number, not \"%2\"").arg(option, given);
}

QString needsValue(const char* option) {
    return QStringLiteral("%1 needs a value").arg(option);
}

const Change kDefaults = [](ApplyOptions&) {};
const Change kHelpOnly = [](ApplyOptions& o) {
    o = ApplyOptions();
    o.help = true;
};

std::string rowName(const testing::TestParamInfo<OptionsRow>& info) {
    return info.param.name;
}

class ApplyOptionsTable : public testing::TestWithParam<OptionsRow> {};

TEST_P(ApplyOptionsTable, ParsesOrSaysWhatIsWrong) {
    const OptionsRow& row = GetParam();
    QString error;
    const std::optional<ApplyOptions> parsed = parseApplyOptions(row.arguments, &error);
    if (!row.change) {
        EXPECT_FALSE(parsed.has_value());
        EXPECT_EQ(error.toStdString(), row.error.toStdString());
        return;
    }
    ASSERT_TRUE(parsed.has_value()) << error.toStdString();
    ApplyOptions expected;
    expected.files = QStringList{"a.jpg"};
    expected.outputDirectory = QStringLiteral("out");
    row.change(expected);
    EXPECT_EQ(*parsed, expected);
}

const char* const kNoOutput = "say where the results go with -o DIR";

INSTANTIATE_TEST_SUITE_P(
    FilesAndOutput, ApplyOptionsTable,
    testing::Values(
        acceptsExactly("PhotoThenOutput", {"a.jpg", "-o", "out"}, kDefaults),
        acceptsExactly("LongOutputForm", {"a.jpg", "--output", "out"}, kDefaults),
        acceptsExactly("OutputFirstThenPhotos", {"-o", "out", "a.jpg", "b.png"},
                       [](ApplyOptions& o) {
                           o.files = QStringList{"a.jpg", "b.png"};
                       }),
        acceptsExactly("LastOutputCounts", {"-o", "x", "a.jpg", "-o", "out"}, kDefaults),
        acceptsExactly("LoneDashIsAPhotoName", {"-", "-o", "out"},
                       [](ApplyOptions& o) { o.files = QStringList{"-"}; }),
        refusesExactly("NothingAtAll", {}, kNoOutput),
        refusesExactly("NoOutput", {"a.jpg"}, kNoOutput),
        refusesExactly("NoPhoto", {"-o", "out"}, "name at least one photo"),
        refusesExactly("OutputMissing", {"a.jpg", "-o"}, "-o needs a folder name"),
        refusesExactly("LongOutputMissing", {"a.jpg", "--output"}, "--output needs a folder name"),
        refusesExactly("OutputEmpty", {"a.jpg", "-o", ""}, "-o needs a folder name"),
        refusesExactly("OptionInPlaceOfTheOutput", {"a.jpg", "-o", "--overwrite"},
                       "-o needs a folder name, not \"--overwrite\""),
        accepts("Database", {"--db", "mine.sqlite"},
                [](ApplyOptions& o) { o.databasePath = QStringLiteral("mine.sqlite"); }),
        refusesLast("DatabaseMissing", {"--db"}, "--db needs a file name"),
        refuses("DatabaseEmpty", {"--db", ""}, "--db needs a file name"),
        refuses("OptionInPlaceOfTheDatabase", {"--db", "--help"},
                "--db needs a file name, not \"--help\""),
        acceptsExactly("Help", {"--help"}, kHelpOnly),
        acceptsExactly("ShortHelp", {"-h"}, kHelpOnly),
        acceptsExactly("HelpAfterOtherOptions", {"a.jpg", "--quality", "80", "-h"}, kHelpOnly),
        refusesExactly("MistakeBeforeHelpIsReported", {"--quality", "101", "--help"},
                       wholeNumber("--quality", 0, 100, "101")),
        refuses("UnknownOptionNamed", {"--frobnicate"}, "unknown option --frobnicate"),
        refuses("ValueJoinedByEquals", {"--quality=80"}, "unknown option --quality=80"),
        refuses("UnknownShortOption", {"-x"}, "unknown option -x"),
        refuses("DoubleDash", {"--"}, "unknown option --")),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    PresetFields, ApplyOptionsTable,
    testing::Values(
        accepts("FirstPreset", {"--preset", "0"}, [](ApplyOptions& o) { o.presetPosition = 0; }),
        accepts("HighestPreset", {"--preset", "1000000"},
                [](ApplyOptions& o) { o.presetPosition = 1'000'000; }),
        refuses("PresetBelowZero", {"--preset", "-1"}, wholeNumber("--preset", 0, 1'000'000, "-1")),
        refuses("PresetTooHigh", {"--preset", "1000001"},
                wholeNumber("--preset", 0, 1'000'000, "1000001")),
        refuses("PresetNotWhole", {"--preset", "1.5"},
                wholeNumber("--preset", 0, 1'000'000, "1.5")),
        refusesLast("PresetMissing", {"--preset"}, needsValue("--preset")),
        accepts("Text", {"--text", "Studio Nord"},
                [](ApplyOptions& o) { o.text = QStringLiteral("Studio Nord"); }),
        accepts("EmptyText", {"--text", ""}, [](ApplyOptions& o) { o.text = QString(""); }),
        // A value is taken as it stands, even one that looks like an option.
        accepts("TextThatLooksLikeHelp", {"--text", "-h"},
                [](ApplyOptions& o) { o.text = QStringLiteral("-h"); }),
        refusesLast("TextMissing", {"--text"}, needsValue("--text")),
        accepts("Font", {"--font", "DejaVuSerif"},
                [](ApplyOptions& o) { o.fontName = QStringLiteral("DejaVuSerif"); }),
        refusesLast("FontMissing", {"--font"}, needsValue("--font")),
        accepts("WidthRatio", {"--width-ratio", "0.5"},
                [](ApplyOptions& o) { o.widthRatio = 0.5f; }),
        refusesLast("WidthRatioMissing", {"--width-ratio"}, needsValue("--width-ratio")),
        refuses("WidthRatioEmpty", {"--width-ratio", ""}, notANumber("--width-ratio", "")),
        accepts("Opacity", {"--opacity", "0.25"}, [](ApplyOptions& o) { o.opacity = 0.25f; }),
        accepts("OpacityWithExponent", {"--opacity", "1e-1"},
                [](ApplyOptions& o) { o.opacity = 0.1f; }),
        // Ranges are the preset's setters' to judge; they warn when they replace a value.
        accepts("OpacityOutOfRangeIsTheSettersToJudge", {"--opacity", "1.5"},
                [](ApplyOptions& o) { o.opacity = 1.5f; }),
        refuses("OpacityInWords", {"--opacity", "lots"}, notANumber("--opacity", "lots")),
        refuses("OpacityWithDecimalComma", {"--opacity", "0,5"}, notANumber("--opacity", "0,5")),
        refuses("OpacityBeyondFloat", {"--opacity", "1e39"}, notANumber("--opacity", "1e39")),
        refusesLast("OpacityMissing", {"--opacity"}, needsValue("--opacity")),
        accepts("Angle", {"--angle", "30"}, [](ApplyOptions& o) { o.angle = 30.0f; }),
        accepts("NegativeAngleIsAValue", {"--angle", "-15"},
                [](ApplyOptions& o) { o.angle = -15.0f; }),
        refuses("AngleInfinite", {"--angle", "inf"}, notANumber("--angle", "inf")),
        refuses("AngleNotANumber", {"--angle", "nan"}, notANumber("--angle", "nan")),
        refusesLast("AngleMissing", {"--angle"}, needsValue("--angle")),
        accepts("Layout", {"--layout", "tile-interlace"},
                [](ApplyOptions& o) { o.layoutType = kLayoutTileInterlace; }),
        refuses("UnknownLayout", {"--layout", "diagonal"},
                "--layout must be one of center, top-left, top-right, bottom-left, "
                "bottom-right, tile-parallel, tile-interlace; not \"diagonal\""),
        refuses("LayoutTitleIsNotAName", {"--layout", "Center"},
                "--layout must be one of center, top-left, top-right, bottom-left, "
                "bottom-right, tile-parallel, tile-interlace; not \"Center\""),
        refusesLast("LayoutMissing", {"--layout"}, needsValue("--layout")),
        accepts("Margins", {"--margins", "0.1", "0.2"},
                [](ApplyOptions& o) {
                    o.marginHorizontal = 0.1f;
                    o.marginVertical = 0.2f;
                }),
        refusesLast("MarginsMissing", {"--margins"}, needsValue("--margins")),
        refusesLast("SecondMarginMissing", {"--margins", "0.1"}, needsValue("--margins")),
        // One number and a photo: the photo is not taken for the second margin.
        refusesExactly("PhotoInPlaceOfTheSecondMargin", {"--margins", "0.1", "a.jpg", "-o", "out"},
                       notANumber("--margins", "a.jpg")),
        refuses("MarginInWords", {"--margins", "wide", "0.2"}, notANumber("--margins", "wide"))),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Output, ApplyOptionsTable,
    testing::Values(
        accepts("PhotosOwnSize", {"--size", "0"}, kDefaults),
        accepts("Size", {"--size", "1440"}, [](ApplyOptions& o) { o.outputLength = 1440; }),
        accepts("LargestSize", {"--size", "1000000"},
                [](ApplyOptions& o) { o.outputLength = 1'000'000; }),
        refuses("NegativeSize", {"--size", "-1"}, wholeNumber("--size", 0, 1'000'000, "-1")),
        refuses("SizeTooLarge", {"--size", "1000001"},
                wholeNumber("--size", 0, 1'000'000, "1000001")),
        refuses("SizeNotWhole", {"--size", "12.5"}, wholeNumber("--size", 0, 1'000'000, "12.5")),
        refusesLast("SizeMissing", {"--size"}, needsValue("--size")),
        accepts("RotateLeft", {"--rotate", "left"}, [](ApplyOptions& o) { o.rotate = 2; }),
        accepts("RotateRight", {"--rotate", "right"}, [](ApplyOptions& o) { o.rotate = 3; }),
        refuses("RotateUp", {"--rotate", "up"}, "--rotate must be left or right, not \"up\""),
        refuses("RotateCapitalised", {"--rotate", "Left"},
                "--rotate must be left or right, not \"Left\""),
        refusesLast("RotateMissing", {"--rotate"}, needsValue("--rotate")),
        accepts("Jpeg", {"--format", "jpeg"}, kDefaults),
        accepts("JpgIsJpeg", {"--format", "jpg"}, kDefaults),
        accepts("Png", {"--format", "png"},
                [](ApplyOptions& o) { o.format = QStringLiteral("png"); }),
        refuses("Gif", {"--format", "gif"}, "--format must be jpeg or png, not \"gif\""),
        refuses("FormatCapitalised", {"--format", "PNG"},
                "--format must be jpeg or png, not \"PNG\""),
        refusesLast("FormatMissing", {"--format"}, needsValue("--format")),
        accepts("LowestQuality", {"--quality", "0"}, [](ApplyOptions& o) { o.quality = 0; }),
        accepts("HighestQuality", {"--quality", "100"}, [](ApplyOptions& o) { o.quality = 100; }),
        accepts("LastQualityCounts", {"--quality", "50", "--quality", "60"},
                [](ApplyOptions& o) { o.quality = 60; }),
        refuses("QualityBelowZero", {"--quality", "-1"}, wholeNumber("--quality", 0, 100, "-1")),
        refuses("QualityTooHigh", {"--quality", "101"}, wholeNumber("--quality", 0, 100, "101")),
        refusesLast("QualityMissing", {"--quality"}, needsValue("--quality")),
        accepts("OneJob", {"--jobs", "1"}, [](ApplyOptions& o) { o.jobs = 1; }),
        accepts("MostJobs", {"--jobs", "256"}, [](ApplyOptions& o) { o.jobs = 256; }),
        refuses("NoJobs", {"--jobs", "0"}, wholeNumber("--jobs", 1, 256, "0")),
        refuses("TooManyJobs", {"--jobs", "257"}, wholeNumber("--jobs", 1, 256, "257")),
        refusesLast("JobsMissing", {"--jobs"}, needsValue("--jobs")),
        accepts("ScreenScaleOne", {"--screen-scale", "1"}, kDefaults),
        accepts("ScreenScaleTwo", {"--screen-scale", "2"},
                [](ApplyOptions& o) { o.screenScale = 2; }),
        refuses("ScreenScaleZero", {"--screen-scale", "0"},
                wholeNumber("--screen-scale", 1, 2, "0")),
        refuses("ScreenScaleThree", {"--screen-scale", "3"},
                wholeNumber("--screen-scale", 1, 2, "3")),
        refuses("ScreenScaleFraction", {"--screen-scale", "1.5"},
                wholeNumber("--screen-scale", 1, 2, "1.5")),
        refusesLast("ScreenScaleMissing", {"--screen-scale"}, needsValue("--screen-scale")),
        accepts("Overwrite", {"--overwrite"}, [](ApplyOptions& o) { o.overwrite = true; }),
        accepts("KeepGps", {"--keep-gps"}, [](ApplyOptions& o) { o.keepGps = true; })),
    rowName);

}  // namespace
}  // namespace lumigrave::cli
