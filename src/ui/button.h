#pragma once

#include <QPointF>
#include <QString>

#include "platform/image.h"
#include "ui/control.h"

namespace lumigrave::ui {

// A push button that reports the platform's control events. Space and Enter press it
// when it has the focus, as any desktop button, and arrive as touches at its centre.
class Button : public Control {
    Q_OBJECT
  public:
    explicit Button(QWidget* parent = nullptr);
    explicit Button(const QString& title, QWidget* parent = nullptr);

    QString title() const { return title_; }
    void setTitle(const QString& title);
    // A custom button: the image alone, at its size in points, with no frame; it darkens
    // while highlighted.
    const Image& image() const { return image_; }
    void setImage(const Image& image);
    // The standard tracking: a press highlights and sends TouchDown; moves follow whether
    // the pointer is inside; the end sends TouchUpInside or TouchUpOutside.
    void touchesBegan(QPointF pos) override;
    void touchesMoved(QPointF pos) override;
    void touchesEnded(QPointF pos) override;
    void touchesCancelled(QPointF pos) override;

    QSize sizeHint() const override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool inside(QPointF pos) const { return QRectF(rect()).contains(pos); }
    // A key held on the button is let go too.
    void abandonPress() override;

    QString title_;
    Image image_;
    int pressedKey_ = 0;  // the key holding the button down; 0 for none
};

}  // namespace lumigrave::ui
