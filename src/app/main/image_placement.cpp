// The main screen's photo placement: fitting the photo to the screen, zoom and pan
// within limits, and the tap that hides or shows the bars.
#include <cmath>

#include "app/main/root_view_controller.h"
#include "platform/screen.h"
#include "ui/gesture_recognizer.h"
#include "ui/image_view.h"

namespace lumigrave {

namespace {
// The pan's start centre, kept from the start of one pan to the start of the next.
Point panStartCentre{};

using State = ui::GestureRecognizer::State;
}  // namespace

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
        recognizer->shouldReceiveTouch = [](ui::GestureRecognizer&, QPointF) { return true; };
        recognizer->addToView(view());
    }
}

void RootViewController::resetImageView() {
    imageSubView_->setTransformScale(1);
    Rect frame = Screen::applicationFrame();
    Size picture = imageSubView_->image().size();
    minimum_scale_ = 1;
    maximum_scale_ = picture.width / frame.size.width;
    if (maximum_scale_ < minimum_scale_) {
        maximum_scale_ = minimum_scale_;
    }
    if (maximum_scale_ == 1) {
        imageSubView_->setFrame(Rect{Point{}, picture});
    } else {
        imageSubView_->setFrame(frame);
    }
    QWidget* root = view();
    imageSubView_->setCenter(Point{root->width() * 0.5f, root->height() * 0.5f});
}

void RootViewController::adjustImageViewPosition(Point wanted) {
    Size picture = imageSubView_->image().size();
    if (picture.width <= 0 || picture.height <= 0) {
        return;
    }
    float a = picture.height / picture.width;
    QWidget* root = view();
    float vw = float(root->width());
    float vh = float(root->height());
    Point rootCentre{vw * 0.5f, vh * 0.5f};
    Size f = imageSubView_->frame().size;
    float cw;
    float ch;
    if (a < vh / vw) {
        cw = f.width;
        ch = a * f.width;
    } else {
        ch = f.height;
        cw = f.height / a;
    }
    auto limit = [](float wantedPos, float centre, float content, float viewLength) {
        if (content < viewLength) {
            return centre;
        }
        double d = std::fabs(double(wantedPos) - double(centre));
        if (d > double(content - viewLength) * 0.5) {
            return wantedPos < centre ? (viewLength - (content - viewLength)) * 0.5f
                                      : content * 0.5f;
        }
        return wantedPos;
    };
    imageSubView_->setCenter(
        Point{limit(wanted.x, rootCentre.x, cw, vw), limit(wanted.y, rootCentre.y, ch, vh)});
}

void RootViewController::handlePinch(ui::GestureRecognizer& recognizer) {
    if (recognizer.state() != State::Changed && recognizer.state() != State::Ended) {
        return;
    }
    auto& pinch = static_cast<ui::PinchGestureRecognizer&>(recognizer);
    float current = imageSubView_->frame().size.width / imageSubView_->bounds().size.width;
    float s = current * pinch.scale();
    if (s < minimum_scale_) {
        s = minimum_scale_;
    }
    if (s > maximum_scale_) {
        s = maximum_scale_;
    }
    imageSubView_->setTransformScale(s);
    pinch.setScale(1);
    adjustImageViewPosition(imageSubView_->center());
}

void RootViewController::handlePan(ui::GestureRecognizer& recognizer) {
    auto& pan = static_cast<ui::PanGestureRecognizer&>(recognizer);
    QPointF t = pan.translationInView(view());
    if (recognizer.state() == State::Began) {
        panStartCentre = imageSubView_->center();
    }
    adjustImageViewPosition(
        Point{panStartCentre.x + float(t.x()), panStartCentre.y + float(t.y())});
}

void RootViewController::handleTap(ui::GestureRecognizer& recognizer) {
    if (recognizer.state() == State::Ended) {
        switchBars();
    }
}

}  // namespace lumigrave
