#include "app/editors/embossers_view_controller.h"

#include <QDebug>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "app/app_delegate.h"
#include "platform/image_loader.h"
#include "platform/notification_center.h"
#include "platform/screen.h"
#include "platform/user_defaults.h"
#include "render/emboss_composer.h"
#include "ui/alert_view.h"
#include "ui/application.h"
#include "ui/bar_button_item.h"
#include "ui/image_view.h"
#include "ui/navigation_controller.h"
#include "ui/on_screen.h"
#include "ui/page_curl.h"
#include "ui/style.h"

namespace lumigrave {

// The page's root view: the desktop's keys for paging and choosing reach the screen
// through it. Any presentation over the page (a sheet, an alert) takes the focus, and
// with it the keys, while it is shown.
class EmbossersViewController::Page : public QWidget {
  public:
    Page(std::function<void(int key)> keyPressed, std::function<void(QSize)> resized)
        : keyPressed_(std::move(keyPressed)), resized_(std::move(resized)) {
        setFocusPolicy(Qt::StrongFocus);
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        resized_(event->size());
    }
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (event->modifiers() == Qt::NoModifier ||
                    event->modifiers() == Qt::KeypadModifier) {
                    keyPressed_(event->key());
                    return;
                }
                break;
            default:
                break;
        }
        QWidget::keyPressEvent(event);
    }

  private:
    std::function<void(int key)> keyPressed_;
    std::function<void(QSize)> resized_;
};

EmbossersViewController::EmbossersViewController(QObject* parent) : ui::ViewController(parent) {
    // Quitting with the page on show must leave a preset active and its position stored
    // as "Select" would; the page is not told that it disappears then.
    NotificationCenter::defaultCenter().addObserver(this, ui::kWillTerminateNotification,
                                                    [this] { keepAnActivePreset(); });
}

EmbossersViewController::~EmbossersViewController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    // A sheet still up must not call back into a page that is gone.
    if (sheet_) {
        sheet_->setDelegate(nullptr);
    }
    // The screen going away with the page on show (the window closed, the stack torn
    // down) is one more way off it.
    keepAnActivePreset();
    dropWaitingImageView();
}

void EmbossersViewController::loadView() {
    initToolbar();

    navigationItem().setHidesBackButton(true);
    auto* select = new ui::BarButtonItem(
        QStringLiteral("Select"), ui::BarButtonItem::Style::Done,
        [this](ui::BarButtonItem*) { okButtonTouched(); }, this);
    select->setObjectName(QStringLiteral("Select"));
    navigationItem().setRightBarButtonItem(select);

    const Rect frame = Screen::applicationFrame();
    auto* root = new Page([this](int key) { keyPressed(key); },
                          [this](QSize size) { placeContainer(QRectF(QPointF(), size)); });
    root->resize(int(frame.size.width), int(frame.size.height));
    ui::style::fillWithPattern(root, QStringLiteral("images/background.png"));
    setView(root);

    AppDelegate* app = AppDelegate::shared();
    if (app != nullptr && app->activeEmbosser() != nullptr) {
        app->activeEmbosser()->setModified(false);
    }
    embossers_ = app != nullptr ? &app->embossers() : nullptr;
    currentEmbosserIndex_ = 0;
    if (embossers_ != nullptr) {
        auto found = std::find_if(embossers_->begin(), embossers_->end(),
                                  [&](const auto& preset) { return isActive(preset.get()); });
        if (found != embossers_->end()) {
            currentEmbosserIndex_ = int(found - embossers_->begin());
        }
    }

    setupImageView(QRectF(frame.origin.x, frame.origin.y, frame.size.width, frame.size.height));
    updateImageView();
    setupGestureRecognizer();
}

void EmbossersViewController::initToolbar() {
    auto image = [this](const char* name, const char* title,
                        void (EmbossersViewController::*action)()) {
        auto* item = new ui::BarButtonItem(
            ui::resourceIcon(QLatin1String(name)), ui::BarButtonItem::Style::Plain,
            [this, action](ui::BarButtonItem*) { (this->*action)(); }, this);
        item->setObjectName(QLatin1String(title));
        return item;
    };
    copyAsNewButton_ = image("images/tb-copy-new.png", "Copy As New",
                             &EmbossersViewController::copyAsNewButtonTouched);
    previousButton_ = image("images/tb-previous.png", "Previous",
                            &EmbossersViewController::previousButtonTouched);
    nextButton_ = image("images/tb-next.png", "Next", &EmbossersViewController::nextButtonTouched);
    trashButton_ = new ui::BarButtonItem(
        ui::BarButtonItem::SystemItem::Trash, [this](ui::BarButtonItem*) { trashButtonTouched(); },
        this);
    trashButton_->setObjectName(QStringLiteral("Delete"));
    auto* space =
        new ui::BarButtonItem(ui::BarButtonItem::SystemItem::FlexibleSpace, nullptr, this);
    toolbarItemsArray_ = {copyAsNewButton_, space, previousButton_, space,
                          nextButton_,      space, trashButton_};
    setToolbarItems(toolbarItemsArray_, false);
}

void EmbossersViewController::placeContainer(QRectF frame) {
    if (!containerView_) {
        return;
    }
    const double side = std::min(frame.width(), frame.height());
    // Centred on the frame's midpoint, its origin included, as the page has always
    // placed it; a resized window gives a new frame.
    containerView_->setGeometry(
        QRectF(QPointF(frame.center().x() - side / 2, frame.center().y() - side / 2),
               QSizeF(side, side))
            .toRect());
    const Rect square{Point{}, Size{float(side), float(side)}};
    for (ui::ImageView* imageView : {imageSubView_.data(), imageSubView2_.data()}) {
        if (imageView != nullptr) {
            imageView->setFrame(square);
        }
    }
}

void EmbossersViewController::setupImageView(QRectF frame) {
    containerView_ = new QWidget(view());
    imageSubView_ = new ui::ImageView(containerView_);
    // Waits outside any view until the first copy trades the two.
    imageSubView2_ = new ui::ImageView;
    placeContainer(frame);

    ImageLoader::Result demo =
        ImageLoader::loadResource(QStringLiteral("images/water-lake@2x"), QStringLiteral("JPG"));
    if (demo.ok()) {
        demoImage_ = demo.image;
    } else {
        qWarning().noquote() << "The presets' demonstration photo could not be loaded:"
                             << demo.message;
    }
}

void EmbossersViewController::setupGestureRecognizer() {
    auto* pan = new ui::PanGestureRecognizer(
        [this](ui::GestureRecognizer& recognizer) { handlePan(recognizer); }, this);
    pan->setDelegate(this);
    pan->setMinimumNumberOfTouches(1);
    pan->setMaximumNumberOfTouches(1);
    pan->addToView(view());
    panRecognizer_ = pan;
}

void EmbossersViewController::viewDidUnload() {
    toolbarItemsArray_.clear();
    dropWaitingImageView();
    containerView_ = nullptr;
    imageSubView_ = nullptr;
    imageSubView2_ = nullptr;
    demoImage_ = Image();
    panRecognizer_ = nullptr;
}

void EmbossersViewController::dropWaitingImageView() {
    // The image view outside the container belongs to no view; it is ours to delete.
    for (ui::ImageView* imageView : {imageSubView_.data(), imageSubView2_.data()}) {
        if (imageView != nullptr && imageView->parent() == nullptr) {
            delete imageView;
        }
    }
}

void EmbossersViewController::viewWillAppear(bool animated) {
    ui::ViewController::viewWillAppear(animated);
    ui::NavigationController* navigation = navigationController();
    if (navigation != nullptr && !navigation->isNavigationBarHidden()) {
        navigation->setToolbarHidden(false, false);
    }
}

void EmbossersViewController::viewDidAppear(bool animated) {
    ui::ViewController::viewDidAppear(animated);
    view()->setFocus();
}

void EmbossersViewController::viewWillDisappear(bool animated) {
    ui::ViewController::viewWillDisappear(animated);
    keepAnActivePreset();
}

int EmbossersViewController::count() const {
    return embossers_ != nullptr ? int(embossers_->size()) : 0;
}

Embosser* EmbossersViewController::shownEmbosser() const {
    const int i = currentEmbosserIndex_;
    return i >= 0 && i < count() ? (*embossers_)[size_t(i)].get() : nullptr;
}

bool EmbossersViewController::isActive(const Embosser* embosser) const {
    AppDelegate* app = AppDelegate::shared();
    return app != nullptr && embosser != nullptr && app->activeEmbosser() == embosser;
}

QString EmbossersViewController::databasePath() const {
    AppDelegate* app = AppDelegate::shared();
    return app != nullptr ? app->appDatabasePath() : QString();
}

ui::ImageView* EmbossersViewController::shownImageView() const {
    if (imageSubView2_ != nullptr && containerView_ != nullptr &&
        imageSubView2_->parent() == containerView_) {
        return imageSubView2_;
    }
    return imageSubView_;
}

QString EmbossersViewController::titleFor(int index, int count, bool active) {
    return QStringLiteral("%1 of %2%3")
        .arg(index + 1)
        .arg(count)
        .arg(active ? QStringLiteral(" (selected)") : QString());
}

void EmbossersViewController::updateImageView() {
    const int n = count();
    const int i = currentEmbosserIndex_;
    previousButton_->setEnabled(i != 0);
    nextButton_->setEnabled(i != n - 1);
    trashButton_->setEnabled(n > 1);
    Embosser* shown = shownEmbosser();
    if (shown == nullptr) {
        // No preset could be read from the store: nothing to page through or to stamp.
        previousButton_->setEnabled(false);
        nextButton_->setEnabled(false);
        copyAsNewButton_->setEnabled(false);
        setTitle(titleFor(-1, 0, false));
        return;
    }
    setTitle(titleFor(i, n, isActive(shown)));
    if (ui::ImageView* imageView = shownImageView(); imageView != nullptr && !demoImage_.isNull()) {
        imageView->setImage(EmbossComposer::embossedImageForEmbosser(*shown, demoImage_));
    }
}

void EmbossersViewController::previousButtonTouched() {
    if (currentEmbosserIndex_ > 0) {
        --currentEmbosserIndex_;
        updateImageView();
    }
}

void EmbossersViewController::nextButtonTouched() {
    if (currentEmbosserIndex_ < count() - 1) {
        ++currentEmbosserIndex_;
        updateImageView();
    }
}

void EmbossersViewController::copyAsNewButtonTouched() {
    auto* sheet = new ui::ActionSheet(QString(), this, QStringLiteral("Cancel"), QString(),
                                      {QStringLiteral("Copy As New")});
    sheet_ = sheet;
    sheet->setTag(kCopyAsNewSheet);
    sheet->setActionSheetStyle(ui::ActionSheet::Style::BlackTranslucent);
    sheet->showInView(view());
}

void EmbossersViewController::trashButtonTouched() {
    auto* sheet = new ui::ActionSheet(QString(), this, QStringLiteral("Cancel"),
                                      QStringLiteral("Delete Embosser"), {});
    sheet_ = sheet;
    sheet->setTag(kDeleteSheet);
    sheet->setActionSheetStyle(ui::ActionSheet::Style::BlackTranslucent);
    sheet->showInView(view());
}

void EmbossersViewController::didDismissWithButtonIndex(ui::ActionSheet& sheet, int buttonIndex) {
    if (isViewLoaded()) {
        view()->setFocus();
    }
    if (buttonIndex == sheet.cancelButtonIndex() || buttonIndex < 0) {
        return;
    }
    if (sheet.tag() == kCopyAsNewSheet) {
        copyAsNew();
        return;
    }
    Embosser* shown = shownEmbosser();
    if (shown == nullptr) {
        return;
    }
    QString message;
    if (!Embosser::dbDeleteEmbosser(databasePath(), *shown, &message)) {
        ui::showErrorAlert(message);
        return;
    }
    AppDelegate* app = AppDelegate::shared();
    const bool wasActive = isActive(shown);
    embossers_->erase(embossers_->begin() + currentEmbosserIndex_);
    if (currentEmbosserIndex_ == count()) {
        --currentEmbosserIndex_;
    }
    if (wasActive) {
        // No preset is active until the user picks one; see keepAnActivePreset().
        app->setActiveEmbosser(nullptr);
    }
    updateImageView();
}

void EmbossersViewController::copyAsNew() {
    Embosser* shown = shownEmbosser();
    if (shown == nullptr) {
        return;
    }
    auto copy = std::make_unique<Embosser>(shown->copy());
    QString message;
    if (!Embosser::dbAddEmbosser(databasePath(), *copy, &message)) {
        ui::showErrorAlert(message);
        return;
    }
    // The front, where the store's most-recently-used order puts it too.
    embossers_->insert(embossers_->begin(), std::move(copy));
    currentEmbosserIndex_ = 0;
    updateImageView();

    // The refreshed preview comes down as a new page; then the two image views trade
    // places, so the next copy curls the other one.
    QPointer<EmbossersViewController> self(this);
    QPointer<QWidget> container = containerView_;
    ui::PageCurl::curlDown(containerView_, 1.0, [this, self, container] {
        if (self == nullptr || container == nullptr || imageSubView_ == nullptr ||
            imageSubView2_ == nullptr) {
            return;
        }
        ui::ImageView* shownView = shownImageView();
        ui::ImageView* waiting = shownView == imageSubView_ ? imageSubView2_ : imageSubView_;
        waiting->setImage(shownView->image());
        shownView->setParent(nullptr);
        waiting->setParent(container);
        waiting->show();
    });
}

void EmbossersViewController::okButtonTouched() {
    AppDelegate* app = AppDelegate::shared();
    Embosser* shown = shownEmbosser();
    if (shown != nullptr && app != nullptr) {
        UserDefaults defaults;
        defaults.setInteger(kLastUsedEmbosserKey, currentEmbosserIndex_);
        defaults.synchronize();
        if (!isActive(shown)) {
            app->setActiveEmbosser(shown);
            shown->setModified(true);
            app->showActivityView(QStringLiteral("Proccessing..."));
        }
    }
    if (ui::NavigationController* navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

// On the platform "Select" is the only way off the page, and it always leaves a preset
// active and its position stored. On the desktop the page can also go with the window
// closed, the application quit or the screen torn down. After the active preset was
// deleted here, that would leave the main screen — and every render after it — without
// an active preset, and the stored position pointing at whatever sits there now, or past
// the end of the list. So every other way off the page does for the preset on show what
// "Select" would have done: it is the one the user was looking at, and after a deletion
// the one that took the deleted preset's place. It becomes active and marked modified,
// so the main screen renders it when it shows again; the "Proccessing..." overlay is
// left out, since the main screen may never show again to take it down.
// While the active preset is still in the list, it stays active (the user chose none
// other); only its position is stored again, since copies and deletions here may have
// moved it.
void EmbossersViewController::keepAnActivePreset() {
    AppDelegate* app = AppDelegate::shared();
    if (app == nullptr || embossers_ == nullptr || embossers_ != &app->embossers() ||
        embossers_->empty()) {
        return;
    }
    auto active = std::find_if(embossers_->begin(), embossers_->end(),
                               [&](const auto& preset) { return isActive(preset.get()); });
    int position = int(active - embossers_->begin());
    if (active == embossers_->end()) {
        position = std::clamp(currentEmbosserIndex_, 0, count() - 1);
        Embosser* shown = (*embossers_)[size_t(position)].get();
        app->setActiveEmbosser(shown);
        shown->setModified(true);
    }
    UserDefaults defaults;
    if (defaults.integerForKey(kLastUsedEmbosserKey) != position) {
        defaults.setInteger(kLastUsedEmbosserKey, position);
        defaults.synchronize();
    }
}

void EmbossersViewController::handlePan(ui::GestureRecognizer& recognizer) {
    auto& pan = static_cast<ui::PanGestureRecognizer&>(recognizer);
    const double x = pan.translationInView(view()).x();
    switch (pan.state()) {
        case ui::GestureRecognizer::State::Began:
            panStartX_ = x;
            break;
        case ui::GestureRecognizer::State::Ended: {
            const double d = x - panStartX_;
            if (d < -kSwipeDistance) {
                nextButtonTouched();
            } else if (d > kSwipeDistance) {
                previousButtonTouched();
            }
            break;
        }
        default:
            break;
    }
}

void EmbossersViewController::keyPressed(int key) {
    switch (key) {
        case Qt::Key_Left:
            previousButtonTouched();
            break;
        case Qt::Key_Right:
            nextButtonTouched();
            break;
        default:
            okButtonTouched();
            break;
    }
}

}  // namespace lumigrave
