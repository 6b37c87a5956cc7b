#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <utility>

namespace lumigrave {

// The general pasteboard: the desktop's clipboard. An editor that types through a paste
// (the copyright key) saves what the user had copied, puts its own string there, pastes
// and puts the saved items back, so the user's clipboard is unchanged afterwards.
class Pasteboard {
  public:
    // What the pasteboard held at one moment, kept as a value: every format with its
    // bytes, in the order the owner offered them. An image is kept as an image, because
    // the clipboard hands it over as an image object, not as bytes: its format keeps its
    // place in the list with no bytes.
    struct Items {
        QList<std::pair<QString, QByteArray>> formats;
        QImage image;
        QString text;  // the plain text among them, or empty

        bool isEmpty() const { return formats.isEmpty() && image.isNull(); }
    };

    static Pasteboard& general();

    Items items() const;
    // Puts back exactly what items() saved; saved empty items leave the pasteboard empty.
    void setItems(const Items& items);

    // Replaces everything on the pasteboard with one plain-text string.
    void setString(const QString& string);
    QString string() const;

  private:
    Pasteboard() = default;
};

}  // namespace lumigrave
