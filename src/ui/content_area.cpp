#include "ui/content_area.h"

#include <QEvent>
#include <QPointer>
#include <algorithm>

#include "ui/navigation_controller.h"
#include "ui/view_controller.h"

namespace lumigrave::ui {

namespace {

// Lives as the widget's child, so it goes with the widget. It asks the screen for its
// navigation controller each time: a screen learns its stack only when pushed.
class ContentAreaKeeper : public QObject {
  public:
    ContentAreaKeeper(ViewController& screen, QWidget* widget)
        : QObject(widget), screen_(&screen), widget_(widget) {
        if (QWidget* view = widget->parentWidget()) {
            view->installEventFilter(this);
        }
        watchNavigation();
        place();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
            watchNavigation();
            place();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void watchNavigation() {
        NavigationController* navigation = screen_ ? screen_->navigationController() : nullptr;
        if (navigation == watched_) {
            return;
        }
        disconnect(connection_);
        watched_ = navigation;
        if (navigation != nullptr) {
            connection_ = connect(navigation, &NavigationController::contentAreaChanged, this,
                                  [this] { place(); });
        }
    }

    void place() {
        QWidget* view = widget_ ? widget_->parentWidget() : nullptr;
        if (view == nullptr) {
            return;
        }
        QRect area = view->rect();
        NavigationController* navigation = screen_ ? screen_->navigationController() : nullptr;
        if (navigation != nullptr && navigation->isViewLoaded()) {
            // The content area is the container's, which the screen's view fills.
            const QRect content = navigation->contentArea();
            area.setTop(content.top());
            area.setBottom(std::min(area.bottom(), content.bottom()));
        }
        widget_->setGeometry(area);
    }

    QPointer<ViewController> screen_;
    QPointer<QWidget> widget_;
    QPointer<NavigationController> watched_;
    QMetaObject::Connection connection_;
};

}  // namespace

void keepInContentArea(ViewController& screen, QWidget* widget) {
    if (widget != nullptr) {
        new ContentAreaKeeper(screen, widget);
    }
}

}  // namespace lumigrave::ui
