// Renders one of the bundled SVG drawings into a PNG at a given pixel size:
//   lumigrave-render-svg IN.svg OUT.png WIDTH HEIGHT
// The build runs it twice per drawing, for the 1x and the @2x file, so only the
// vector sources are kept in git.
//
// Anything the SVG module merely warns about (an unknown element, a broken reference)
// fails the run: it would otherwise draw a silently incomplete image into the
// application. So does anything the renderer would skip or draw otherwise than drawn
// (text, filters, clipping): see unsupportedContent(). The PNG goes through QSaveFile,
// so a failed run never leaves a partial file that a later build would bundle.
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray svgWarnings;

void collectSvgWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    // Qt's SVG parser reports problems only through the message log.
    if (type != QtDebugMsg && type != QtInfoMsg) {
        svgWarnings += message.toLocal8Bit() + '\n';
    }
}

// What Qt's renderer would get wrong in the file, or an empty string. Text would be
// drawn in whatever fonts the build machine has; filters, masks and clipping paths are
// skipped without a word by the Qt 6.4 renderer. Only the elements below are drawn as
// written, so anything else is named here rather than left out of the image.
QString unsupportedContent(const QString& path) {
    static const QStringList kElements = QStringLiteral(
                                             "svg g defs title desc path rect circle ellipse "
                                             "line polyline polygon use stop linearGradient "
                                             "radialGradient")
                                             .split(u' ');
    static const QStringList kAttributes = {QStringLiteral("filter"), QStringLiteral("mask"),
                                            QStringLiteral("clip-path")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};  // reported by the renderer, which opens it next
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QString name = xml.name().toString();
        if (!kElements.contains(name)) {
            return QStringLiteral("<%1> on line %2 is not drawn as written")
                .arg(name)
                .arg(xml.lineNumber());
        }
        for (const QXmlStreamAttribute& attribute : xml.attributes()) {
            const QString attributeName = attribute.name().toString();
            if (kAttributes.contains(attributeName)) {
                return QStringLiteral("the %1 attribute on line %2 is ignored by the renderer")
                    .arg(attributeName)
                    .arg(xml.lineNumber());
            }
        }
    }
    // A syntax error is the renderer's to report, with its own message.
    return {};
}

bool parseSize(const char* text, int* value) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    // 4096 is far beyond any image we bundle; a larger number is a typo in the build.
    if (end == text || *end != '\0' || v < 1 || v > 4096) {
        return false;
    }
    *value = static_cast<int>(v);
    return true;
}

int fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "lumigrave-render-svg: %s: %s\n", what, detail.toLocal8Bit().constData());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    int width = 0;
    int height = 0;
    if (argc != 5 || !parseSize(argv[3], &width) || !parseSize(argv[4], &height)) {
        std::fprintf(stderr,
                     "usage: %s IN.svg OUT.png WIDTH HEIGHT\n"
                     "  WIDTH and HEIGHT are the output size in pixels (1 to 4096)\n",
                     argc > 0 ? argv[0] : "lumigrave-render-svg");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    const QFileInfo inputInfo(input);
    if (!inputInfo.isFile() || !inputInfo.isReadable()) {
        return fail("cannot read the SVG file", input);
    }

    const QString unsupported = unsupportedContent(input);
    if (!unsupported.isEmpty()) {
        return fail("the SVG file uses what cannot be rendered here", input + ": " + unsupported);
    }

    qInstallMessageHandler(collectSvgWarnings);
    QSvgRenderer renderer(input);
    qInstallMessageHandler(nullptr);
    if (!renderer.isValid()) {
        return fail("not a valid SVG file", input + "\n" + QString::fromLocal8Bit(svgWarnings));
    }
    if (!svgWarnings.isEmpty()) {
        return fail("the SVG file has problems",
                    input + "\n" + QString::fromLocal8Bit(svgWarnings));
    }

    // The drawings are laid out on their 1x pixel grid; stretching one to another
    // aspect ratio would blur every edge, so a mismatch is a mistake in the build rule.
    const QRectF box = renderer.viewBoxF();
    if (box.width() <= 0 || box.height() <= 0) {
        return fail("the SVG file has no view box", input);
    }
    const double drawingAspect = box.width() / box.height();
    const double outputAspect = double(width) / double(height);
    if (std::abs(drawingAspect - outputAspect) > 0.01 * drawingAspect) {
        return fail("the output size does not keep the drawing's aspect ratio",
                    QStringLiteral("%1 is %2 x %3, asked for %4 x %5")
                        .arg(input)
                        .arg(box.width())
                        .arg(box.height())
                        .arg(width)
                        .arg(height));
    }

    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        qInstallMessageHandler(collectSvgWarnings);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, width, height));
        painter.end();
        qInstallMessageHandler(nullptr);
    }
    if (!svgWarnings.isEmpty()) {
        return fail("the SVG file could not be drawn cleanly",
                    input + "\n" + QString::fromLocal8Bit(svgWarnings));
    }

    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail("cannot write", output + ": " + file.errorString());
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(image.convertToFormat(QImage::Format_ARGB32))) {
        return fail("cannot encode the PNG", output + ": " + writer.errorString());
    }
    if (!file.commit()) {
        return fail("cannot write", output + ": " + file.errorString());
    }
    return 0;
}
