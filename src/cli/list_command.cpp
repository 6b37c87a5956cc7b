#include "cli/list_command.h"

#include <QImageReader>

#include "cli/presets.h"
#include "model/layout_type.h"
#include "platform/bundle.h"
#include "render/output_sizes.h"

namespace lumigrave::cli {

namespace {

const QString kDemoPhoto = QStringLiteral("images/water-lake@2x");

QString number(float value) {
    return QString::number(value, 'g', 6);
}

QString describe(const Embosser& e) {
    QString line = QStringLiteral("\"%1\"  %2  %3  width %4  opacity %5  angle %6")
                       .arg(e.text(), e.font_name(), layoutTypeTitle(e.layoutType()),
                            number(e.width_ratio()), number(e.opacity()), number(e.text_angle()));
    if (e.layoutType() != kLayoutCenter) {
        line += QStringLiteral("  margins %1 %2")
                    .arg(number(e.marginHorizontal()), number(e.marginVertical()));
    }
    return line;
}

void listOutputSizes(QTextStream& out, QTextStream& err) {
    const QString path = Bundle::pathForResource(kDemoPhoto, QStringLiteral("JPG"));
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QSize pixels = reader.size();
    if (path.isEmpty() || !pixels.isValid()) {
        err << "The demo photo cannot be read.\n";
        return;
    }
    const float scale = Bundle::scaleForResourceName(kDemoPhoto);
    const Size photo{pixels.width() / scale, pixels.height() / scale};
    out << "\nOutput sizes for the demo photo (" << number(photo.width) << " x "
        << number(photo.height) << " points):\n";
    const std::vector<Size> sizes = maxOutputSizes(photo);
    for (size_t i = 0; i < sizes.size(); ++i) {
        out << "  " << i << "  " << number(sizes[i].width) << " x " << number(sizes[i].height)
            << (i == 0 ? "  (the photo's own size)" : "") << "\n";
    }
}

}  // namespace

int runList(const QString& databasePath, QTextStream& out, QTextStream& err) {
    EmbosserList list;
    if (!loadPresets(databasePath, list, err)) {
        return 1;
    }
    out << "Presets, newest first (" << databasePath << "):\n";
    for (size_t i = 0; i < list.embossers.size(); ++i) {
        const Embosser& e = *list.embossers[i];
        out << (&e == list.activeEmbosser ? "* " : "  ") << i << "  " << describe(e) << "\n";
    }
    listOutputSizes(out, err);
    return 0;
}

}  // namespace lumigrave::cli
