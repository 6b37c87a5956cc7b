#pragma once

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSizeF>

class QWidget;

namespace lumigrave::ui {

class BarButtonItem;
class ViewController;

// A floating panel pointing at a rectangle or a bar item, holding a screen's view; on a
// tablet-sized window pickers show in one. A click outside closes it without telling
// anyone, as the platform does.
class PopoverController : public QObject {
    Q_OBJECT
  public:
    // Takes ownership of content.
    explicit PopoverController(ViewController* content, QObject* parent = nullptr);
    ~PopoverController() override;

    ViewController* contentViewController() const { return content_; }
    QSizeF popoverContentSize() const { return contentSize_; }
    void setPopoverContentSize(QSizeF size) { contentSize_ = size; }

    void presentPopoverFromRect(QRectF rect, QWidget* view, bool animated);
    void presentPopoverFromBarButtonItem(BarButtonItem* item, bool animated);
    bool isPopoverVisible() const { return panel_ != nullptr; }
    void dismissPopoverAnimated(bool animated);

    QWidget* panel() const { return panel_; }

  private:
    void present(QWidget* host, QRectF anchorInHost);

    ViewController* content_;
    QSizeF contentSize_{320, 260};
    QPointer<QWidget> panel_;
};

}  // namespace lumigrave::ui
