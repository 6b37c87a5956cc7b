#pragma once

#include <QPixmap>
#include <QWidget>

#include "platform/geometry.h"
#include "platform/image.h"

namespace lumigrave::ui {

// Shows an image fitted inside its frame (aspect fit), with the platform's geometry: a
// bounds size, a centre, and a uniform scale transform about the centre; the frame is
// the bounding box of the bounds scaled by the transform. All in points, in the
// parent's coordinates.
class ImageView : public QWidget {
    Q_OBJECT
  public:
    explicit ImageView(QWidget* parent = nullptr);

    const Image& image() const { return image_; }
    void setImage(const Image& image);

    Rect frame() const;
    // Sets the bounds to the frame's size divided by the scale, and the centre to the
    // frame's middle.
    void setFrame(Rect frame);
    Rect bounds() const { return Rect{Point{}, boundsSize_}; }
    Point center() const { return center_; }
    void setCenter(Point center);
    float transformScale() const { return scale_; }
    void setTransformScale(float scale);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void place();

    Image image_;
    Size boundsSize_{};
    Point center_{};
    float scale_ = 1;
    // The image scaled to the size last drawn, so repaints do not rescale a big photo.
    QPixmap cache_;
};

}  // namespace lumigrave::ui
