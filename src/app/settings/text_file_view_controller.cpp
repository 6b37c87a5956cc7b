#include "app/settings/text_file_view_controller.h"

#include <QFile>
#include <QTextEdit>

#include "platform/bundle.h"
#include "ui/content_area.h"
#include "ui/style.h"

namespace lumigrave {

QString readTextResource(const QString& name) {
    const QString path = Bundle::pathForResource(name, QStringLiteral("txt"));
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        qWarning("The text page \"%s\" is missing from the resources", qPrintable(name));
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

TextFileViewController::TextFileViewController(const QString& fileName, QObject* parent)
    : ui::ViewController(parent), fileName_(fileName) {}

QTextEdit* TextFileViewController::textView() {
    view();
    return textView_;
}

void TextFileViewController::loadView() {
    auto* root = new QWidget;
    auto* text = new QTextEdit(root);
    text->setObjectName(QStringLiteral("textView"));
    text->setFrameShape(QFrame::NoFrame);
    text->setReadOnly(true);
    text->setAcceptRichText(false);
    text->setPlainText(readTextResource(fileName_));
    text->setAlignment(Qt::AlignLeft);
    QFont font = ui::style::systemFont(12);
    font.setBold(true);
    text->setFont(font);
    text->setStyleSheet(
        QStringLiteral("QTextEdit { color: %1; background: %2; }")
            .arg(ui::style::lightText().name(), ui::style::helpPageBackground().name()));
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    textView_ = text;
    setView(root);
    ui::keepInContentArea(*this, text);
}

void TextFileViewController::viewDidUnload() {
    textView_ = nullptr;
}

}  // namespace lumigrave
