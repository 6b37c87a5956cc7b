#pragma once

#include <QString>
#include <QWidget>

#include "platform/image.h"

namespace lumigrave {

// One row of the layout picker: the layout's diagram and its title. Whatever frame it is
// given, it is 180 × 44 points with a clear background. The title is also the row's
// accessible name.
class LayoutPickerItem : public QWidget {
    Q_OBJECT
  public:
    static constexpr float kTitleFontSize = 18;
    static constexpr float kMinimumTitleFontSize = 16;

    explicit LayoutPickerItem(QWidget* parent = nullptr);

    static float viewWidth() { return 180; }
    static float viewHeight() { return 44; }

    const QString& title() const { return title_; }
    void setTitle(const QString& title);
    // A null image (artwork not there) draws nothing and leaves the title where a
    // zero-width image puts it.
    const Image& image() const { return image_; }
    void setImage(const Image& image);

    bool isAccessibilityElement() const { return true; }
    QString accessibilityLabel() const { return title_; }

    // The largest size from 18 down to 16 points at which the title fits the width; 16
    // when none does (the title is then cut at its tail).
    static float titleFontSize(const QString& title, float width);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString title_;
    Image image_;
};

}  // namespace lumigrave
