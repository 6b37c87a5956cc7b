// The main screen's photo placement: fitting the photo to the screen, zoom and pan
// within limits, and the tap that hides or shows the bars.
#include "app/main/image_placement.h"

#include <cmath>

#include "app/main/root_view_controller.h"
#include "platform/screen.h"
#include "ui/gesture_recognizer.h"
#include "ui/image_view.h"

namespace lumigrave {

namespace {

using State = ui::GestureRecognizer::State;

// One axis of the placement. The comparison is in double precision, so that a centre
// exactly at the limit in single precision is kept rather than snapped.
float clampedAxis(float wanted, float centre, float content, float viewLength) {
    if (content < viewLength) {
        return centre;
    }
    double distance = std::fabs(double(wanted) - double(centre));
    if (distance > double(content - viewLength) * 0.5) {
        return wanted < centre ? (viewLength - (content - viewLength)) * 0.5f : content * 0.5f;
    }
    return wanted;
}

}  // namespace

ImageFit fitImageView(Size picture, Rect applicationFrame) {
    ImageFit fit;
    fit.minimumScale = 1;
    fit.maximumScale = picture.width / applicationFrame.size.width;
    // Also catches a picture without a width and a frame without one (NaN).
    if (!(fit.maximumScale >= fit.minimumScale)) {
        fit.maximumScale = fit.minimumScale;
    }
    fit.frame = fit.maximumScale == 1 ? Rect{Point{}, picture} : applicationFrame;
    return fit;
}

float clampedZoomScale(float scale, float minimumScale, float maximumScale) {
    if (scale < minimumScale) {
        scale = minimumScale;
    }
    if (scale > maximumScale) {
        scale = maximumScale;
    }
    return scale;
}

std::optional<Point> clampedImageCentre(Point wanted, Size picture, Size rootView,
                                        Size imageFrame) {
    if (picture.isEmpty() || rootView.isEmpty()) {
        return std::nullopt;
    }
    // The picture as displayed: aspect fit inside the image view's frame, decided by the
    // root view's shape as the screen always did.
    float aspect = picture.height / picture.width;
    Size shown;
    if (aspect < rootView.height / rootView.width) {
        shown = Size{imageFrame.width, aspect * imageFrame.width};
    } else {
        shown = Size{imageFrame.height / aspect, imageFrame.height};
    }
    Point centre{rootView.width * 0.5f, rootView.height * 0.5f};
    return Point{clampedAxis(wanted.x, centre.x, shown.width, rootView.width),
                 clampedAxis(wanted.y, centre.y, shown.height, rootView.height)};
}

void RootViewController::setupGestureRecognizer() {
    auto* pinch =
        new ui::PinchGestureRecognizer([this](ui::GestureRecognizer& r) { handlePinch(r); }, this);
    pinRecognizer_ = pinch;
    auto* pan =
        new ui::PanGestureRecognizer([this](ui::GestureRecognizer& r) { handlePan(r); }, this);
    pan->setMinimumNumberOfTouches(1);
    pan->setMaximumNumberOfTouches(1);
    panRecognizer_ = pan;
    tapRecognizer_ =
        new ui::TapGestureRecognizer([this](ui::GestureRecognizer& r) { handleTap(r); }, this);
    for (ui::GestureRecognizer* recognizer : {pinRecognizer_, panRecognizer_, tapRecognizer_}) {
        recognizer->setDelegate(this);
        recognizer->addToView(view());
    }
}

void RootViewController::resetImageView() {
    imageSubView_->setTransformScale(1);
    ImageFit fit = fitImageView(imageSubView_->image().size(), Screen::applicationFrame());
    minimum_scale_ = fit.minimumScale;
    maximum_scale_ = fit.maximumScale;
    imageSubView_->setFrame(fit.frame);
    QWidget* root = view();
    imageSubView_->setCenter(Point{root->width() * 0.5f, root->height() * 0.5f});
}

void RootViewController::adjustImageViewPosition(Point wanted) {
    QWidget* root = view();
    std::optional<Point> centre = clampedImageCentre(
        wanted, imageSubView_->image().size(), Size{float(root->width()), float(root->height())},
        imageSubView_->frame().size);
    if (centre) {
        imageSubView_->setCenter(*centre);
    }
}

void RootViewController::handlePinch(ui::GestureRecognizer& recognizer) {
    if (recognizer.state() != State::Changed && recognizer.state() != State::Ended) {
        return;
    }
    auto& pinch = static_cast<ui::PinchGestureRecognizer&>(recognizer);
    float current = imageSubView_->frame().size.width / imageSubView_->bounds().size.width;
    imageSubView_->setTransformScale(
        clampedZoomScale(current * pinch.scale(), minimum_scale_, maximum_scale_));
    pinch.setScale(1);
    adjustImageViewPosition(imageSubView_->center());
}

void RootViewController::handlePan(ui::GestureRecognizer& recognizer) {
    auto& pan = static_cast<ui::PanGestureRecognizer&>(recognizer);
    QPointF t = pan.translationInView(view());
    Point& start = state_.panStartCentre;
    if (recognizer.state() == State::Began) {
        start = imageSubView_->center();
    }
    adjustImageViewPosition(Point{start.x + float(t.x()), start.y + float(t.y())});
}

void RootViewController::handleTap(ui::GestureRecognizer& recognizer) {
    if (recognizer.state() == State::Ended) {
        switchBars();
    }
}

}  // namespace lumigrave
