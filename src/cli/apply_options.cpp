#include "cli/apply_options.h"

#include "cli/option_reader.h"
#include "model/layout_type.h"

namespace lumigrave::cli {

QString extensionForFormat(const QString& format) {
    return format == QLatin1String("png") ? QStringLiteral("png") : QStringLiteral("jpg");
}

QString layoutNames(const QString& separator) {
    QStringList names;
    for (const LayoutTypeNames& row : kLayoutTypeNames) {
        names << QString::fromLatin1(row.name);
    }
    return names.join(separator);
}

std::optional<ApplyOptions> parseApplyOptions(const QStringList& arguments, QString* error) {
    ApplyOptions o;
    OptionReader p(arguments, error);
    bool ok = true;
    while (ok && !p.atEnd()) {
        const QString a = p.take();
        QString text;
        float f = 0;
        qint64 n = 0;
        if (a == "--help" || a == "-h") {
            ApplyOptions help;
            help.help = true;
            return help;
        } else if (a == "-o" || a == "--output") {
            ok = p.path(a, "folder", &o.outputDirectory);
        } else if (a == "--db") {
            ok = p.path(a, "file", &text);
            o.databasePath = text;
        } else if (a == "--preset") {
            ok = p.integer(a, &n, 0, 1'000'000);
            o.presetPosition = int(n);
        } else if (a == "--text") {
            ok = p.value(a, &text);
            o.text = text;
        } else if (a == "--font") {
            ok = p.value(a, &text);
            o.fontName = text;
        } else if (a == "--width-ratio") {
            ok = p.number(a, &f);
            o.widthRatio = f;
        } else if (a == "--opacity") {
            ok = p.number(a, &f);
            o.opacity = f;
        } else if (a == "--angle") {
            ok = p.number(a, &f);
            o.angle = f;
        } else if (a == "--layout") {
            ok = p.value(a, &text);
            const std::optional<LayoutType> layout = layoutTypeForName(text);
            if (ok && !layout) {
                ok = p.fail(QStringLiteral("--layout must be one of %1; not \"%2\"")
                                .arg(layoutNames(QStringLiteral(", ")), text));
            }
            o.layoutType = layout.value_or(kLayoutCenter);
        } else if (a == "--margins") {
            float vertical = 0;
            ok = p.number(a, &f) && p.number(a, &vertical);
            o.marginHorizontal = f;
            o.marginVertical = vertical;
        } else if (a == "--size") {
            ok = p.integer(a, &o.outputLength, 0, 1'000'000);
        } else if (a == "--rotate") {
            ok = p.value(a, &text);
            if (text == "left") {
                o.rotate = 2;
            } else if (text == "right") {
                o.rotate = 3;
            } else if (ok) {
                ok = p.fail(QStringLiteral("--rotate must be left or right, not \"%1\"").arg(text));
            }
        } else if (a == "--format") {
            ok = p.value(a, &text);
            if (text == "jpg") {
                text = QStringLiteral("jpeg");
            }
            if (ok && text != "jpeg" && text != "png") {
                ok = p.fail(QStringLiteral("--format must be jpeg or png, not \"%1\"").arg(text));
            }
            o.format = text;
        } else if (a == "--quality") {
            ok = p.integer(a, &n, 0, 100);
            o.quality = int(n);
        } else if (a == "--jobs") {
            ok = p.integer(a, &n, 1, 256);
            o.jobs = int(n);
        } else if (a == "--screen-scale") {
            ok = p.integer(a, &n, 1, 2);
            o.screenScale = float(n);
        } else if (a == "--overwrite") {
            o.overwrite = true;
        } else if (a == "--keep-gps") {
            o.keepGps = true;
        } else if (a.startsWith('-') && a != "-") {
            ok = p.fail(QStringLiteral("unknown option %1").arg(a));
        } else {
            o.files << a;
        }
    }
    if (!ok) {
        return std::nullopt;
    }
    if (o.outputDirectory.isEmpty()) {
        *error = QStringLiteral("say where the results go with -o DIR");
        return std::nullopt;
    }
    if (o.files.isEmpty()) {
        *error = QStringLiteral("name at least one photo");
        return std::nullopt;
    }
    return o;
}

}  // namespace lumigrave::cli
