#include "cli/apply_options.h"

#include <QHash>

#include "model/layout_type.h"

namespace lumigrave::cli {

namespace {

const QHash<QString, int> kLayouts = {{"center", kLayoutCenter},
                                      {"top-left", kLayoutTopLeft},
                                      {"top-right", kLayoutTopRight},
                                      {"bottom-left", kLayoutBottomLeft},
                                      {"bottom-right", kLayoutBottomRight},
                                      {"tile-parallel", kLayoutTileParallel},
                                      {"tile-interlace", kLayoutTileInterlace}};

class Parser {
  public:
    Parser(const QStringList& arguments, QString* error) : args_(arguments), error_(error) {}

    bool atEnd() const { return next_ >= args_.size(); }
    QString take() { return args_[next_++]; }

    bool value(const QString& option, QString* out) {
        if (atEnd()) {
            return fail(QStringLiteral("%1 needs a value").arg(option));
        }
        *out = take();
        return true;
    }
    bool number(const QString& option, float* out) {
        QString text;
        if (!value(option, &text)) {
            return false;
        }
        bool ok = false;
        *out = text.toFloat(&ok);
        return ok ? true : fail(QStringLiteral("%1 needs a number, not \"%2\"").arg(option, text));
    }
    bool integer(const QString& option, qint64* out, qint64 low, qint64 high) {
        QString text;
        if (!value(option, &text)) {
            return false;
        }
        bool ok = false;
        *out = text.toLongLong(&ok);
        if (!ok || *out < low || *out > high) {
            return fail(QStringLiteral("%1 needs a whole number from %2 to %3, not \"%4\"")
                            .arg(option)
                            .arg(low)
                            .arg(high)
                            .arg(text));
        }
        return true;
    }
    bool fail(const QString& message) {
        *error_ = message;
        return false;
    }

  private:
    QStringList args_;
    qsizetype next_ = 0;
    QString* error_;
};

}  // namespace

QString extensionForFormat(const QString& format) {
    return format == QLatin1String("png") ? QStringLiteral("png") : QStringLiteral("jpg");
}

std::optional<ApplyOptions> parseApplyOptions(const QStringList& arguments, QString* error) {
    ApplyOptions o;
    Parser p(arguments, error);
    bool ok = true;
    while (ok && !p.atEnd()) {
        const QString a = p.take();
        QString text;
        float f = 0;
        qint64 n = 0;
        if (a == "-o" || a == "--output") {
            ok = p.value(a, &o.outputDirectory);
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
            if (ok && !kLayouts.contains(text)) {
                ok = p.fail(QStringLiteral("--layout must be one of center, top-left, top-right, "
                                           "bottom-left, bottom-right, tile-parallel, "
                                           "tile-interlace; not \"%1\"")
                                .arg(text));
            }
            o.layoutType = kLayouts.value(text);
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
