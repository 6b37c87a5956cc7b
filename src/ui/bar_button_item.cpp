#include "ui/bar_button_item.h"

#include <QWidget>

namespace lumigrave::ui {

BarButtonItem::BarButtonItem(const QIcon& image, Style style, Action action, QObject* parent)
    : QObject(parent), style_(style), image_(image), action_(std::move(action)) {}

BarButtonItem::BarButtonItem(const QString& title, Style style, Action action, QObject* parent)
    : QObject(parent), style_(style), title_(title), action_(std::move(action)) {}

BarButtonItem::BarButtonItem(SystemItem systemItem, Action action, QObject* parent)
    : QObject(parent),
      systemItem_(systemItem),
      style_(systemItem == SystemItem::Done ? Style::Done : Style::Bordered),
      title_(systemItemTitle(systemItem)),
      action_(std::move(action)) {}

BarButtonItem::BarButtonItem(QWidget* customView, QObject* parent)
    : QObject(parent), customView_(customView) {}

BarButtonItem::~BarButtonItem() {
    // The custom view belongs to the item even while a bar shows it.
    delete customView_.data();
}

void BarButtonItem::setTitle(const QString& title) {
    if (title_ != title) {
        title_ = title;
        emit changed();
    }
}

void BarButtonItem::setEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        emit changed();
    }
}

void BarButtonItem::trigger() {
    if (enabled_ && action_) {
        action_(this);
    }
}

QString BarButtonItem::systemItemTitle(SystemItem item) {
    switch (item) {
        case SystemItem::Done:
            return QStringLiteral("Done");
        case SystemItem::Cancel:
            return QStringLiteral("Cancel");
        case SystemItem::Edit:
            return QStringLiteral("Edit");
        case SystemItem::Save:
            return QStringLiteral("Save");
        default:
            return {};
    }
}

QIcon resourceIcon(const QString& name) {
    // QIcon looks for the "@2x" file next to the one named and uses it on screens of
    // scale 2.
    return QIcon(QStringLiteral(":/") + name);
}

}  // namespace lumigrave::ui
