#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include <QWidget>

namespace lumigrave::ui {

// An item of a navigation bar or a toolbar: an image or title button, a system item
// (Done, Cancel, Action, spaces) or a custom view. Items are plain objects; the bar that
// shows one makes the widget for it, so one item (a flexible space) may sit in a bar
// several times.
class BarButtonItem : public QObject {
    Q_OBJECT
  public:
    enum class Style { Plain, Bordered, Done };
    enum class SystemItem {
        None,
        Done,
        Cancel,
        FlexibleSpace,
        FixedSpace,
        Action,
        Trash,
        Edit,
        Save
    };
    using Action = std::function<void(BarButtonItem* sender)>;

    BarButtonItem(const QIcon& image, Style style, Action action, QObject* parent = nullptr);
    BarButtonItem(const QString& title, Style style, Action action, QObject* parent = nullptr);
    BarButtonItem(SystemItem systemItem, Action action, QObject* parent = nullptr);
    // The item shows the view, which it owns from now on.
    explicit BarButtonItem(QWidget* customView, QObject* parent = nullptr);
    ~BarButtonItem() override;

    SystemItem systemItem() const { return systemItem_; }
    Style style() const { return style_; }
    const QIcon& image() const { return image_; }
    QString title() const { return title_; }
    void setTitle(const QString& title);
    QWidget* customView() const { return customView_; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // For fixed spaces; 0 lets the bar choose.
    float width() const { return width_; }
    void setWidth(float width) { width_ = width; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isSpace() const {
        return systemItem_ == SystemItem::FlexibleSpace || systemItem_ == SystemItem::FixedSpace;
    }

    // The widget a bar shows the item with, last made; null when no bar shows it. Sheets
    // and popovers presented from the item point at it.
    QWidget* shownWidget() const { return shownWidget_; }
    void setShownWidget(QWidget* widget) { shownWidget_ = widget; }

    // What a tap on the item does: the action with the item as sender.
    void trigger();

    // The text a system item shows ("Done", "Cancel", "Edit", "Save"); empty for the
    // others, which show a picture (Action, Trash) or nothing (spaces).
    static QString systemItemTitle(SystemItem item);

  signals:
    void changed();

  private:
    SystemItem systemItem_ = SystemItem::None;
    Style style_ = Style::Plain;
    QIcon image_;
    QString title_;
    QPointer<QWidget> customView_;
    QPointer<QWidget> shownWidget_;
    Action action_;
    int tag_ = 0;
    float width_ = 0;
    bool enabled_ = true;
};

// An image from the resources ("images/tb-text.png"); its "@2x" twin is used on screens
// of scale 2.
QIcon resourceIcon(const QString& name);

}  // namespace lumigrave::ui
