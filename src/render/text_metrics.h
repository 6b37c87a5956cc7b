#pragma once

#include <QFont>
#include <QString>

#include "platform/geometry.h"

namespace lumigrave {

// Single-line text measured at any fractional point size.
//
// Qt builds its font engines at whole pixel sizes, so a font asked for at 20.3 points
// measures (and draws) as 20. The watermark's size is searched to a fraction of a point,
// so text is measured once, unhinted, at a large reference size and scaled linearly;
// outlines scale exactly that way, which is how the relief is drawn too.
class TextMetrics {
  public:
    static constexpr double kReferencePointSize = 512;

    TextMetrics(const QString& fontName, const QString& text);

    // The text's advance width and line height (ascent + descent) at pointSize.
    Size sizeAt(float pointSize) const;
    // The font at the reference size (in pixels, one per point), in which the text is
    // laid out for drawing.
    const QFont& referenceFont() const { return font_; }
    const QString& text() const { return text_; }
    float ascentAt(float pointSize) const;

  private:
    QFont font_;
    QString text_;
    double width_ = 0;
    double height_ = 0;
    double ascent_ = 0;
};

}  // namespace lumigrave
