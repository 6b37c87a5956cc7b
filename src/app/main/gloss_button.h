#pragma once

#include <QPainter>
#include <QRectF>

#include "ui/button.h"

namespace lumigrave {

// The main screen's glossy, rounded button, drawn from a hue, saturation and brightness
// instead of images, so one class gives every colour. A pressed button drops its shadow
// and its top highlight and goes a shade darker.
class GlossButton : public ui::Button {
    Q_OBJECT
  public:
    // Buttons laid out in the interface file start white; those made in code start green.
    struct FromInterfaceFile {};

    explicit GlossButton(QWidget* parent = nullptr);
    explicit GlossButton(FromInterfaceFile, QWidget* parent = nullptr);

    float hue() const { return hue_; }
    void setHue(float hue);
    float saturation() const { return saturation_; }
    void setSaturation(float saturation);
    float brightness() const { return brightness_; }
    void setBrightness(float brightness);

    // Asks for a redraw. Called a moment after a press ends as well, so the button is
    // redrawn in its settled state whatever order the state changes arrived in.
    void hesitateUpdate() { setNeedsDisplay(); }

    void touchesBegan(QPointF pos) override;
    void touchesMoved(QPointF pos) override;
    void touchesEnded(QPointF pos) override;
    void touchesCancelled(QPointF pos) override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    GlossButton(float hue, float saturation, float brightness, QWidget* parent);

    float hue_;
    float saturation_;
    float brightness_;
};

// Draws the button's body (not its title) filling bounds; hue, saturation and brightness
// are in 0..1.
void drawGlossButton(QPainter& painter, QRectF bounds, float hue, float saturation,
                     float brightness, bool highlighted);

}  // namespace lumigrave
