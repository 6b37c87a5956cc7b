#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "ui/bar_button_item.h"

namespace lumigrave::ui {

// What a navigation bar shows for a screen: its title, its two buttons, and whether the
// back button to the screen beneath is hidden. Every change is reported by changed(), and
// the navigation controller showing the screen follows it: no screen has to tell its bar.
// The items are not owned.
class NavigationItem : public QObject {
    Q_OBJECT
  public:
    explicit NavigationItem(QObject* parent = nullptr) : QObject(parent) {}

    QString title() const { return title_; }
    void setTitle(const QString& title);
    BarButtonItem* leftBarButtonItem() const { return left_; }
    void setLeftBarButtonItem(BarButtonItem* item);
    BarButtonItem* rightBarButtonItem() const { return right_; }
    void setRightBarButtonItem(BarButtonItem* item);
    // A left item takes the back button's place; this hides it where there is none.
    bool hidesBackButton() const { return hidesBackButton_; }
    void setHidesBackButton(bool hides);

  signals:
    void changed();

  private:
    QString title_;
    QPointer<BarButtonItem> left_;
    QPointer<BarButtonItem> right_;
    bool hidesBackButton_ = false;
};

}  // namespace lumigrave::ui
