#pragma once

#include <QList>
#include <QWidget>

#include "ui/bar_button_item.h"
#include "ui/bar_style.h"

namespace lumigrave::ui {

// A bar of items laid out left to right; flexible spaces share the room left over
// equally, so image items spread evenly across the bar. An item's widget is as large as
// its size hint, within its minimum and maximum sizes.
class Toolbar : public QWidget {
    Q_OBJECT
  public:
    explicit Toolbar(QWidget* parent = nullptr);

    const QList<BarButtonItem*>& items() const { return items_; }
    // animated fades the new items in.
    void setItems(const QList<BarButtonItem*>& items, bool animated = false);
    BarStyle barStyle() const { return barStyle_; }
    void setBarStyle(BarStyle style);
    bool isTranslucent() const { return translucent_; }
    void setTranslucent(bool translucent);

    // The widget showing items()[index]; null for spaces. For tests and for popovers
    // presented from an item.
    QWidget* widgetForItemAt(int index) const;
    // The widget showing the first occurrence of item, or null.
    QWidget* widgetForItem(const BarButtonItem* item) const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void rebuild();
    void layoutItems();

    QList<BarButtonItem*> items_;
    QList<QWidget*> widgets_;  // one per item; null for spaces
    BarStyle barStyle_ = BarStyle::Default;
    bool translucent_ = false;
};

}  // namespace lumigrave::ui
