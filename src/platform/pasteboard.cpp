#include "platform/pasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace lumigrave {

namespace {

// Qt's own name for an image it holds as an object; its bytes are not the image.
constexpr auto kQtImageFormat = "application/x-qt-image";

QClipboard* clipboard() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        qWarning("The pasteboard needs a GUI application");
        return nullptr;
    }
    return QGuiApplication::clipboard();
}

}  // namespace

Pasteboard& Pasteboard::general() {
    static Pasteboard pasteboard;
    return pasteboard;
}

Pasteboard::Items Pasteboard::items() const {
    Items items;
    QClipboard* board = clipboard();
    const QMimeData* data = board ? board->mimeData() : nullptr;
    if (!data) {
        return items;
    }
    for (const QString& format : data->formats()) {
        // The image keeps its place among the formats; its bytes are put back as the image.
        items.formats.append(
            {format, format == QLatin1String(kQtImageFormat) ? QByteArray() : data->data(format)});
    }
    if (data->hasImage()) {
        items.image = qvariant_cast<QImage>(data->imageData());
    }
    items.text = data->text();
    return items;
}

void Pasteboard::setItems(const Items& items) {
    QClipboard* board = clipboard();
    if (!board) {
        return;
    }
    if (items.isEmpty()) {
        board->clear();
        return;
    }
    auto* data = new QMimeData;
    for (const auto& [format, bytes] : items.formats) {
        if (format == QLatin1String(kQtImageFormat)) {
            data->setImageData(items.image);
        } else {
            data->setData(format, bytes);
        }
    }
    board->setMimeData(data);
}

void Pasteboard::setString(const QString& string) {
    if (QClipboard* board = clipboard()) {
        board->setText(string);
    }
}

QString Pasteboard::string() const {
    QClipboard* board = clipboard();
    return board ? board->text() : QString();
}

}  // namespace lumigrave
