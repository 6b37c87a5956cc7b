#include "app/editors/text_view_controller.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <algorithm>

#include "app/app_delegate.h"
#include "model/embosser.h"
#include "platform/image_loader.h"
#include "platform/notification_center.h"
#include "platform/pasteboard.h"
#include "platform/run_loop.h"
#include "platform/screen.h"
#include "ui/alert_view.h"
#include "ui/bar_button_item.h"
#include "ui/bar_style.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/keyboard.h"
#include "ui/system_sound.h"
#include "ui/toolbar.h"
#include "ui/window.h"

namespace lumigrave {

namespace {

// A resource image ("images/copyright"), from its "@2x" file on screens of scale 2. A
// missing image is a null one: the key and the pop-up are then empty, nothing more.
Image resourceImage(const QString& name) {
    if (Screen::mainScreenScale() >= 2) {
        ImageLoader::Result twice = ImageLoader::loadResource(name + "@2x", QStringLiteral("png"));
        if (twice.ok()) {
            return twice.image;
        }
    }
    ImageLoader::Result once = ImageLoader::loadResource(name, QStringLiteral("png"));
    if (!once.ok()) {
        qWarning("The image %s cannot be shown: %s", qPrintable(name), qPrintable(once.message));
    }
    return once.image;
}

QSize pointSize(const Image& image) {
    const Size size = image.size();
    return QSize(qRound(size.width), qRound(size.height));
}

Rect toRect(QRect rect) {
    return Rect{Point{float(rect.x()), float(rect.y())},
                Size{float(rect.width()), float(rect.height())}};
}

Embosser* activeEmbosser() {
    AppDelegate* app = AppDelegate::shared();
    return app != nullptr ? app->activeEmbosser() : nullptr;
}

constexpr int kFieldHeight = 30;
constexpr int kFieldSideRoom = 40;

}  // namespace

QRect copyrightPopFrame(QSize view, int toolbarHeight, QSize pop, qreal keyboardHeight) {
    Q_UNUSED(toolbarHeight);
    return QRect(view.width() - pop.width() - 1,
                 qRound(view.height() - pop.height() - keyboardHeight), pop.width(), pop.height());
}

TextViewController::TextViewController(const Image& background, QObject* parent)
    : ActionBaseViewController(parent), bgImage_(background) {}

TextViewController::~TextViewController() {
    deregisterForKeyboardNotifications();
    releaseViews();
}

void TextViewController::loadView() {
    ActionBaseViewController::loadView();
    QWidget* root = view();
    // A click on the frozen screen must not take the focus from the field: losing it
    // ends the editing, and that closes the editor.
    root->setFocusPolicy(Qt::NoFocus);

    auto* background = new ui::ImageView(root);
    background->setImage(bgImage_);
    background->setFrame(Rect{Point{}, bgImage_.size()});
    background->lower();

    const Rect frame = Screen::applicationFrame();
    createToolbar(QRect(0, 0, qRound(frame.size.width), qRound(frame.size.height)));

    fakeTextField_ = new ui::TextField(root);
    fakeTextField_->setGeometry(0, 0, 0, 0);
    // Only ever given the focus on purpose: never by Tab, nor by Qt moving the focus on
    // from a widget that hides (the "Loading..." overlay going).
    fakeTextField_->setFocusPolicy(Qt::NoFocus);
    fakeTextField_->lineEdit()->setFocusPolicy(Qt::NoFocus);
    fakeTextField_->setInputAccessoryView(textToolbar_);

    registerForKeyboardNotifications();
    createCopyrightPopWindow();
}

void TextViewController::createToolbar(QRect frame) {
    textToolbar_ = new ui::Toolbar(view());
    textToolbar_->setBarStyle(ui::BarStyle::BlackTranslucent);
    textToolbar_->setTranslucent(true);
    const int barHeight = textToolbar_->sizeHint().height();
    textToolbar_->setGeometry(0, frame.height() - barHeight, frame.width(), barHeight);
    // Shown only docked on the keyboard.
    textToolbar_->hide();

    copyrightKey_ = new ui::Button;
    copyrightKey_->setObjectName(QStringLiteral("CopyrightKey"));
    copyrightKey_->setImage(resourceImage(QStringLiteral("images/copyright")));
    // A key of the keyboard: pressing it leaves the focus in the field.
    copyrightKey_->setFocusPolicy(Qt::NoFocus);
    copyrightKey_->resize(copyrightKey_->sizeHint());
    copyrightKey_->addTarget(ui::ControlEvent::TouchDown, [this] { popCopyrightSignKey(); });
    copyrightKey_->addTarget(ui::ControlEvent::TouchDragOutside,
                             [this] { hideCopyrightSignKey(); });
    copyrightKey_->addTarget(ui::ControlEvent::TouchUpOutside, [this] { hideCopyrightSignKey(); });
    copyrightKey_->addTarget(ui::ControlEvent::TouchUpInside, [this] { insertCopyrightSign(); });
    copyrightItem_ = new ui::BarButtonItem(copyrightKey_, this);

    const QSize key = pointSize(copyrightKey_->image());
    createTextField(QRect(20, (barHeight - key.height()) / 2,
                          std::max(0, frame.width() - kFieldSideRoom - key.width()), kFieldHeight));
    auto* fieldItem = new ui::BarButtonItem(embTextField_, this);
    auto* space =
        new ui::BarButtonItem(ui::BarButtonItem::SystemItem::FlexibleSpace, nullptr, this);
    textToolbar_->setItems({fieldItem, space, copyrightItem_});
}

void TextViewController::createTextField(QRect frame) {
    embTextField_ = new ui::TextField;
    embTextField_->setObjectName(QStringLiteral("RoundedTextField"));
    embTextField_->setFixedSize(frame.size());
    embTextField_->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
    QFont font = embTextField_->font();
    font.setPixelSize(17);
    embTextField_->setTextFont(font);
    embTextField_->setPlaceholder(QStringLiteral("Enter text here ..."));
    // No corrections and no capitals forced on a name or an address.
    embTextField_->lineEdit()->setInputMethodHints(Qt::ImhNoPredictiveText |
                                                   Qt::ImhNoAutoUppercase);
    embTextField_->lineEdit()->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    embTextField_->setReturnKeyType(ui::TextField::ReturnKeyType::Done);
    embTextField_->setClearButtonMode(ui::TextField::ClearButtonMode::WhileEditing);
    embTextField_->setAccessibleName(
        QCoreApplication::translate("Localizable", "RoundedTextField"));
    embTextField_->setDelegate(this);
}

void TextViewController::createCopyrightPopWindow() {
    AppDelegate* app = AppDelegate::shared();
    QWidget* mainWindow = app != nullptr && app->window() != nullptr
                              ? static_cast<QWidget*>(app->window())
                              : ui::Window::keyWindow();
    copyrightPopWindow_ = new ui::Window(ui::Window::Level::Alert, mainWindow);
    copyrightPopWindow_->setObjectName(QStringLiteral("CopyrightPopWindow"));
    copyrightPopView_ = new ui::ImageView(copyrightPopWindow_);
    const Image pop = resourceImage(QStringLiteral("images/copyright-pop"));
    copyrightPopView_->setImage(pop);
    copyrightPopView_->setFrame(Rect{Point{}, pop.size()});
}

void TextViewController::releaseViews() {
    if (embTextField_) {
        embTextField_->setDelegate(nullptr);
        embTextField_->resignFirstResponder();
    }
    if (fakeTextField_) {
        fakeTextField_->resignFirstResponder();
    }
    // The pop-up lives in the main window and the bar, once undocked, in the view; both
    // are ours to take down.
    delete copyrightPopWindow_.data();
    delete textToolbar_.data();
}

void TextViewController::viewWillAppear(bool animated) {
    ActionBaseViewController::viewWillAppear(animated);
    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification, this);
}

void TextViewController::viewDidAppear(bool animated) {
    ActionBaseViewController::viewDidAppear(animated);
    // Here rather than on will-appear: a view is shown, and so can take the focus, only
    // once it has been told it will appear.
    // Unless the keyboard is up for the field already: the invisible one would take it back
    // without bringing the keyboard up again, and nothing would refill the field.
    if (fakeTextField_ && !(embTextField_ && embTextField_->isFirstResponder())) {
        fakeTextField_->becomeFirstResponder();
    }
}

void TextViewController::viewWillDisappear(bool animated) {
    ActionBaseViewController::viewWillDisappear(animated);
    if (copyrightPopWindow_) {
        copyrightPopWindow_->hide();
    }
    if (embTextField_) {
        embTextField_->resignFirstResponder();
    }
    if (fakeTextField_) {
        fakeTextField_->resignFirstResponder();
    }
}

void TextViewController::viewDidUnload() {
    deregisterForKeyboardNotifications();
    ActionBaseViewController::viewDidUnload();
    releaseViews();
    bgImage_ = Image();
}

void TextViewController::layoutEditorViews(QSize size) {
    if (embTextField_ && copyrightKey_) {
        const int key = pointSize(copyrightKey_->image()).width();
        embTextField_->setFixedWidth(std::max(0, size.width() - kFieldSideRoom - key));
    }
}

void TextViewController::registerForKeyboardNotifications() {
    NotificationCenter& centre = NotificationCenter::defaultCenter();
    centre.removeObserver(this);
    centre.addObserver(this, ui::Keyboard::DidShowNotification,
                       [this](const Notification& n) { keyboardDidShow(n); });
    centre.addObserver(this, ui::Keyboard::DidHideNotification,
                       [this](const Notification& n) { keyboardDidHide(n); });
}

void TextViewController::deregisterForKeyboardNotifications() {
    NotificationCenter& centre = NotificationCenter::defaultCenter();
    centre.removeObserver(this, ui::Keyboard::DidShowNotification);
    centre.removeObserver(this, ui::Keyboard::DidHideNotification);
}

void TextViewController::keyboardDidShow(const Notification& notification) {
    if (!isViewLoaded() || !embTextField_ || !textToolbar_) {
        return;
    }
    const qreal keyboard =
        notification.userInfo.value(ui::Keyboard::FrameEndUserInfoKey).toRectF().height();
    if (copyrightPopView_ && copyrightPopWindow_) {
        QRect frame = copyrightPopFrame(view()->size(), textToolbar_->height(),
                                        copyrightPopView_->size(), keyboard);
        // The pop-up's window covers the main window; the view may sit lower in it.
        QWidget* host = copyrightPopWindow_->parentWidget();
        if (host != nullptr && host->isAncestorOf(view())) {
            frame.translate(view()->mapTo(host, QPoint()));
        }
        copyrightPopView_->setFrame(toRect(frame));
    }
    if (const Embosser* active = activeEmbosser()) {
        embTextField_->setText(active->text());
    }
    embTextField_->becomeFirstResponder();
}

void TextViewController::keyboardDidHide(const Notification&) {
    // The platform tells once the keyboard has slid away, never in the middle of what hid
    // it: a commit that resigned the field finishes before the editor closes.
    RunLoop::performAfter(
        0, [this] { ActionBaseViewController::doneButtonTouched(); }, this);
}

void TextViewController::popCopyrightSignKey() {
    if (copyrightPopWindow_) {
        copyrightPopWindow_->makeKeyAndVisible();
    }
    playSystemKeyboardClick();
}

void TextViewController::hideCopyrightSignKey() {
    if (copyrightPopWindow_) {
        copyrightPopWindow_->hide();
    }
    if (embTextField_) {
        embTextField_->becomeFirstResponder();
    }
}

void TextViewController::insertCopyrightSign() {
    hideCopyrightSignKey();
    if (!embTextField_) {
        return;
    }
    Pasteboard& pasteboard = Pasteboard::general();
    const Pasteboard::Items saved = pasteboard.items();
    pasteboard.setString(QStringLiteral("\u00A9"));
    embTextField_->paste();
    pasteboard.setItems(saved);
}

void TextViewController::playSystemKeyboardClick() {
    ui::SystemSound::play(ui::SystemSound::kKeyboardClick);
}

bool TextViewController::textFieldShouldReturn(ui::TextField& field) {
    const QString text = field.text().trimmed();
    field.setText(text);
    if (text.isEmpty()) {
        (new ui::AlertView(QStringLiteral("Error"),
                           QStringLiteral("Cannot be an empty string or just white space."),
                           nullptr, QStringLiteral("OK")))
            ->show();
        return false;
    }
    field.resignFirstResponder();
    Embosser* active = activeEmbosser();
    if (active == nullptr || text == active->text()) {
        return true;
    }
    active->setText(text);
    active->setModified(true);
    storeActivePreset(EditorGroup::Text);
    return true;
}

void TextViewController::doneButtonTouched() {
    if (embTextField_ && !textFieldShouldReturn(*embTextField_)) {
        return;
    }
    ActionBaseViewController::doneButtonTouched();
}

}  // namespace lumigrave
