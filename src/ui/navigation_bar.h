#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

#include "ui/bar_style.h"

class QLabel;

namespace lumigrave::ui {

class BarButtonItem;
class NavigationItem;

// The bar above a screen: its left button (or the back button), its title in the
// middle, its right button.
class NavigationBar : public QWidget {
    Q_OBJECT
  public:
    explicit NavigationBar(QWidget* parent = nullptr);

    // backItem, when given, stands in the left place unless the item has its own left
    // button or hides the back button.
    void showItem(const NavigationItem& item, BarButtonItem* backItem = nullptr);
    QString title() const;
    // The widgets showing the left and right items; null when there is none.
    QWidget* leftWidget() const { return left_; }
    QWidget* rightWidget() const { return right_; }

    BarStyle barStyle() const { return barStyle_; }
    void setBarStyle(BarStyle style);
    bool isTranslucent() const { return translucent_; }
    void setTranslucent(bool translucent);
    // A colour of its own instead of the style's (a service's bar); invalid: the style's.
    QColor tintColor() const { return tint_; }
    void setTintColor(const QColor& tint);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layoutContents();

    QLabel* titleLabel_;
    QPointer<QWidget> left_;
    QPointer<QWidget> right_;
    BarStyle barStyle_ = BarStyle::Default;
    bool translucent_ = false;
    QColor tint_;
};

// The widget that shows one bar item: a button for image, title and system items, the
// item's own view for custom items. Used by both bars.
// Custom views carry this property, so a bar gives them back instead of deleting them.
inline constexpr const char* kCustomViewProperty = "lumigraveCustomView";
QWidget* makeBarItemWidget(BarButtonItem* item, BarStyle style, QWidget* parent);

}  // namespace lumigrave::ui
