#include "ui/image_view.h"

#include <QPainter>
#include <cmath>

namespace lumigrave::ui {

ImageView::ImageView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ImageView::setImage(const Image& image) {
    if (image.isSameImage(image_)) {
        return;
    }
    image_ = image;
    cache_ = QPixmap();
    update();
}

Rect ImageView::frame() const {
    Size size{boundsSize_.width * scale_, boundsSize_.height * scale_};
    return Rect{Point{center_.x - size.width * 0.5f, center_.y - size.height * 0.5f}, size};
}

void ImageView::setFrame(Rect frame) {
    boundsSize_ = Size{frame.size.width / scale_, frame.size.height / scale_};
    center_ =
        Point{frame.origin.x + frame.size.width * 0.5f, frame.origin.y + frame.size.height * 0.5f};
    place();
}

void ImageView::setCenter(Point center) {
    center_ = center;
    place();
}

void ImageView::setTransformScale(float scale) {
    scale_ = scale;
    place();
}

void ImageView::place() {
    Rect f = frame();
    // Widgets sit on whole points; the float geometry above stays exact.
    QRect geometry(int(std::floor(f.origin.x)), int(std::floor(f.origin.y)),
                   int(std::ceil(f.origin.x + f.size.width) - std::floor(f.origin.x)),
                   int(std::ceil(f.origin.y + f.size.height) - std::floor(f.origin.y)));
    setGeometry(geometry);
    update();
}

void ImageView::paintEvent(QPaintEvent*) {
    if (image_.isNull() || width() <= 0 || height() <= 0) {
        return;
    }
    Size picture = image_.size();
    if (picture.width <= 0 || picture.height <= 0) {
        return;
    }
    Rect f = frame();
    float fit = std::min(f.size.width / picture.width, f.size.height / picture.height);
    QSizeF drawn(picture.width * fit, picture.height * fit);
    QPointF topLeft(f.origin.x + (f.size.width - drawn.width()) / 2 - x(),
                    f.origin.y + (f.size.height - drawn.height()) / 2 - y());
    qreal dpr = devicePixelRatioF();
    QSize pixels = (drawn * dpr).toSize();
    if (pixels.isEmpty()) {
        return;
    }
    if (cache_.size() != pixels) {
        cache_ = QPixmap::fromImage(
            image_.uprightPixels().scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        cache_.setDevicePixelRatio(dpr);
    }
    QPainter painter(this);
    painter.drawPixmap(topLeft, cache_);
}

}  // namespace lumigrave::ui
