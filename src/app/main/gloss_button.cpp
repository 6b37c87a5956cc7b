#include "app/main/gloss_button.h"

#include <QPainterPath>
#include <QPointer>
#include <algorithm>
#include <cmath>

#include "platform/run_loop.h"
#include "ui/shadow.h"
#include "ui/style.h"

namespace lumigrave {

namespace {

constexpr qreal kCornerRadius = 6;

QColor rgba(float r, float g, float b, float a) {
    return QColor::fromRgbF(r, g, b, a);
}

QColor hsb(float hue, float saturation, float brightness) {
    // Hue goes round: 1 is red again, as 0 is.
    hue -= std::floor(hue);
    return QColor::fromHsvF(hue, std::clamp(saturation, 0.0f, 1.0f),
                            std::clamp(brightness, 0.0f, 1.0f), 1.0f);
}

// Begins at the middle of the top edge and turns each corner with a tangent arc, so the
// outline closes on a straight edge.
QPainterPath roundedPath(QRectF rect, qreal radius) {
    radius = std::max<qreal>(0, std::min({radius, rect.width() / 2, rect.height() / 2}));
    const qreal d = radius * 2;
    QPainterPath path;
    path.moveTo(rect.center().x(), rect.top());
    path.lineTo(rect.right() - radius, rect.top());
    path.arcTo(QRectF(rect.right() - d, rect.top(), d, d), 90, -90);
    path.lineTo(rect.right(), rect.bottom() - radius);
    path.arcTo(QRectF(rect.right() - d, rect.bottom() - d, d, d), 0, -90);
    path.lineTo(rect.left() + radius, rect.bottom());
    path.arcTo(QRectF(rect.left(), rect.bottom() - d, d, d), 270, -90);
    path.lineTo(rect.left(), rect.top() + radius);
    path.arcTo(QRectF(rect.left(), rect.top(), d, d), 180, -90);
    path.closeSubpath();
    return path;
}

// Fills area, which lies inside rect, with a vertical gradient from rect's top edge to
// its bottom edge. The areas are filled rather than clipped to, so their edges stay
// antialiased.
void fillLinear(QPainter& painter, const QPainterPath& area, QRectF rect, const QColor& top,
                const QColor& bottom) {
    QLinearGradient gradient(QPointF(rect.center().x(), rect.top()),
                             QPointF(rect.center().x(), rect.bottom()));
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillPath(area, gradient);
}

// The body gradient, and the gloss over the top half of rect.
void fillGloss(QPainter& painter, const QPainterPath& area, QRectF rect, const QColor& top,
               const QColor& bottom) {
    fillLinear(painter, area, rect, top, bottom);
    const QRectF upper(rect.topLeft(), QSizeF(rect.width(), rect.height() / 2));
    QPainterPath upperArea;
    upperArea.addRect(upper);
    fillLinear(painter, area.intersected(upperArea), upper, rgba(1, 1, 1, 0.35f),
               rgba(1, 1, 1, 0.1f));
}

}  // namespace

void drawGlossButton(QPainter& painter, QRectF bounds, float hue, float saturation,
                     float brightness, bool highlighted) {
    const float b = highlighted ? brightness - 0.1f : brightness;
    const QColor outerStroke = rgba(0.5f, 0.5f, 0.5f, 0.5f);
    const QColor highlightStart = rgba(1, 1, 1, 0.4f);
    const QColor highlightEnd = rgba(1, 1, 1, 0.1f);
    const QColor shadow = rgba(0.2f, 0.2f, 0.2f, 0.5f);
    const QColor outerTop = hsb(hue, saturation, b);
    const QColor outerBottom = hsb(hue, saturation, 0.8f * b);
    const QColor innerStroke = hsb(hue, saturation, 0.8f * b);
    const QColor innerTop = hsb(hue, saturation, 0.9f * b);
    const QColor innerBottom = hsb(hue, saturation, 0.7f * b);

    const QRectF outer = bounds.adjusted(3, 3, -3, -3);
    const QRectF inner = outer.adjusted(1, 1, -1, -1);
    const QRectF highlight = outer.adjusted(2, 2, -2, -2);
    const QPainterPath outerPath = roundedPath(outer, kCornerRadius);
    const QPainterPath innerPath = roundedPath(inner, kCornerRadius);
    const QPainterPath highlightPath = roundedPath(highlight, kCornerRadius);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!highlighted) {
        painter.save();
        ui::drawShadow(painter, outerPath, QPointF(0, 2), 3, shadow);
        painter.fillPath(outerPath, outerTop);
        painter.restore();
    }
    painter.save();
    fillGloss(painter, outerPath, outer, outerTop, outerBottom);
    painter.restore();
    painter.save();
    fillGloss(painter, innerPath, inner, innerTop, innerBottom);
    painter.restore();
    if (!highlighted) {
        painter.save();
        QPainterPath ring;
        ring.setFillRule(Qt::OddEvenFill);
        ring.addPath(outerPath);
        ring.addPath(highlightPath);
        fillLinear(painter, ring, outer, highlightStart, highlightEnd);
        painter.restore();
    }
    painter.save();
    painter.strokePath(outerPath, QPen(outerStroke, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.restore();
    painter.save();
    {
        // The half of a 2-wide stroke inside a rounded rect is the ring down to the rect
        // inset by 1 with a radius 1 smaller: the arcs share their centres.
        const qreal radius = std::min({kCornerRadius, inner.width() / 2, inner.height() / 2});
        QPainterPath band;
        band.setFillRule(Qt::OddEvenFill);
        band.addPath(innerPath);
        band.addPath(roundedPath(inner.adjusted(1, 1, -1, -1), radius - 1));
        painter.fillPath(band, innerStroke);
    }
    painter.restore();
    painter.restore();
}

GlossButton::GlossButton(QWidget* parent) : GlossButton(0.333f, 0.75f, 0.8f, parent) {}

GlossButton::GlossButton(FromInterfaceFile, QWidget* parent) : GlossButton(1, 1, 1, parent) {}

GlossButton::GlossButton(float hue, float saturation, float brightness, QWidget* parent)
    : ui::Button(parent), hue_(hue), saturation_(saturation), brightness_(brightness) {
    // Only the rounded body is drawn; what lies behind shows round the corners and
    // through the shadow.
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void GlossButton::setHue(float hue) {
    hue_ = hue;
    setNeedsDisplay();
}

void GlossButton::setSaturation(float saturation) {
    saturation_ = saturation;
    setNeedsDisplay();
}

void GlossButton::setBrightness(float brightness) {
    brightness_ = brightness;
    setNeedsDisplay();
}

void GlossButton::touchesBegan(QPointF pos) {
    ui::Button::touchesBegan(pos);
    setNeedsDisplay();
}

void GlossButton::touchesMoved(QPointF pos) {
    ui::Button::touchesMoved(pos);
    setNeedsDisplay();
}

void GlossButton::touchesEnded(QPointF pos) {
    // A target of the release may have closed the screen, and the button with it.
    QPointer<GlossButton> alive(this);
    ui::Button::touchesEnded(pos);
    if (alive) {
        setNeedsDisplay();
        RunLoop::performAfter(
            0.1, [this] { hesitateUpdate(); }, this);
    }
}

void GlossButton::touchesCancelled(QPointF pos) {
    QPointer<GlossButton> alive(this);
    ui::Button::touchesCancelled(pos);
    if (alive) {
        setNeedsDisplay();
        RunLoop::performAfter(
            0.1, [this] { hesitateUpdate(); }, this);
    }
}

void GlossButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawGlossButton(painter, QRectF(rect()), hue_, saturation_, brightness_, isHighlighted());
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(ui::style::chromeText());
    painter.drawText(rect(), Qt::AlignCenter, title());
}

}  // namespace lumigrave
