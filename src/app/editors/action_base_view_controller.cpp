#include "app/editors/action_base_view_controller.h"

#include <QKeyEvent>
#include <QResizeEvent>
#include <algorithm>
#include <functional>

#include "app/app_delegate.h"
#include "platform/bundle.h"
#include "platform/screen.h"
#include "platform/user_defaults.h"
#include "ui/alert_view.h"
#include "ui/bar_button_item.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/style.h"

namespace lumigrave {

namespace {

constexpr int kDefaultNavigationBarHeight = 44;

// The editor's root view: reports its size and the dialog keys its children leave alone.
class EditorRootView : public QWidget {
  public:
    std::function<void(QSize)> onResize;
    std::function<bool(QKeyEvent*)> onKey;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (onResize) {
            onResize(event->size());
        }
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (onKey && onKey(event)) {
            event->accept();
            return;
        }
        QWidget::keyPressEvent(event);
    }
};

}  // namespace

ActionBaseViewController::ActionBaseViewController(QObject* parent) : ui::ViewController(parent) {
    navigationItem().setTitle(Bundle::infoValue(QStringLiteral("CFBundleDisplayName")));
    navigationItem().setLeftBarButtonItem(new ui::BarButtonItem(
        ui::BarButtonItem::SystemItem::Cancel,
        [this](ui::BarButtonItem*) { cancelButtonTouched(); }, this));
    navigationItem().setRightBarButtonItem(new ui::BarButtonItem(
        ui::BarButtonItem::SystemItem::Done, [this](ui::BarButtonItem*) { doneButtonTouched(); },
        this));
}

ActionBaseViewController::~ActionBaseViewController() = default;

void ActionBaseViewController::loadView() {
    if (ui::NavigationController* navigation = navigationController()) {
        navigation->setToolbarHidden(true, false);
        // Cancel and Done must be at hand even when the main screen had hidden its bars.
        navigation->setNavigationBarHidden(false, false);
    }
    const Rect frame = Screen::applicationFrame();
    auto* root = new EditorRootView;
    root->setFocusPolicy(Qt::StrongFocus);
    root->resize(int(frame.size.width), int(frame.size.height));
    ui::style::fillWithPattern(root, QStringLiteral("images/background.png"));
    root->onResize = [this](QSize size) { layoutEditorViews(size); };
    root->onKey = [this](QKeyEvent* event) {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            cancelButtonTouched();
            return true;
        }
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && enterIsDone() && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
            doneButtonTouched();
            return true;
        }
        return false;
    };
    setView(root);
}

void ActionBaseViewController::layoutEditorViews(QSize) {}

int ActionBaseViewController::navigationBarHeight() const {
    ui::NavigationController* navigation = navigationController();
    if (navigation == nullptr || navigation->navigationBar() == nullptr) {
        return kDefaultNavigationBarHeight;
    }
    const int height = navigation->navigationBar()->height();
    return height > 0 ? height : kDefaultNavigationBarHeight;
}

void ActionBaseViewController::cancelButtonTouched() {
    if (ui::NavigationController* navigation = navigationController()) {
        navigation->popViewControllerAnimated(false);
    }
}

void ActionBaseViewController::doneButtonTouched() {
    if (ui::NavigationController* navigation = navigationController()) {
        navigation->popViewControllerAnimated(false);
    }
}

void ActionBaseViewController::storeActivePreset(EditorGroup forView) {
    AppDelegate* app = AppDelegate::shared();
    Embosser* active = app != nullptr ? app->activeEmbosser() : nullptr;
    if (active == nullptr) {
        return;
    }
    QString message;
    if (Embosser::dbUpdateEmbosser(app->appDatabasePath(), *active, forView, &message)) {
        // The list in memory keeps the load order too, or a later "Select" in the browser
        // would store a position the next load gives to another preset.
        auto& list = app->embossers();
        auto it = std::find_if(list.begin(), list.end(),
                               [active](const auto& preset) { return preset.get() == active; });
        if (it != list.end()) {
            std::rotate(list.begin(), it, it + 1);
        }
        UserDefaults defaults;
        defaults.setInteger(kLastUsedEmbosserKey, 0);
        defaults.synchronize();
    } else {
        (new ui::AlertView(QStringLiteral("Error"), message, nullptr, QStringLiteral("OK")))
            ->show();
    }
    app->showActivityView(QStringLiteral("Proccessing..."));
}

}  // namespace lumigrave
