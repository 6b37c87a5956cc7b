#include "sharing/ui/large_text_form_controller.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/bar_button_item.h"
#include "ui/content_area.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/style.h"

namespace lumigrave::sharing {

namespace {

// The thumbnail's longest side, in points.
constexpr int kThumbnailSide = 96;

// Escape cancels and Ctrl+Enter sends from inside the text area, where a plain Enter is a
// new line.
class FormKeys : public QObject {
  public:
    FormKeys(QObject* parent, std::function<void()> cancel, std::function<void()> send)
        : QObject(parent), cancel_(std::move(cancel)), send_(std::move(send)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return QObject::eventFilter(watched, event);
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            cancel_();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers().testFlag(Qt::ControlModifier)) {
            send_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> cancel_;
    std::function<void()> send_;
};

}  // namespace

LargeTextFormController::LargeTextFormController(LargeTextFormDelegate* delegate,
                                                 const QString& title, const QString& sendTitle,
                                                 QObject* parent)
    : ui::ViewController(parent), delegate_(delegate) {
    setTitle(title);
    auto* cancelButton = new ui::BarButtonItem(
        ui::BarButtonItem::SystemItem::Cancel,
        [this](ui::BarButtonItem*) {
            if (delegate_ != nullptr) {
                delegate_->largeTextFormCancel(*this);
            }
        },
        this);
    cancelButton->setObjectName(QStringLiteral("Cancel"));
    auto* sendButton = new ui::BarButtonItem(
        sendTitle, ui::BarButtonItem::Style::Done, [this](ui::BarButtonItem*) { send(); }, this);
    sendButton->setObjectName(sendTitle);
    navigationItem().setLeftBarButtonItem(cancelButton);
    navigationItem().setRightBarButtonItem(sendButton);
    update();
}

QString LargeTextFormController::text() const {
    return text_;
}

void LargeTextFormController::setText(const QString& text) {
    text_ = text;
    if (textEdit_ != nullptr && textEdit_->toPlainText() != text) {
        textEdit_->setPlainText(text);
    }
    update();
}

void LargeTextFormController::setMaxTextLength(int length) {
    maxTextLength_ = std::max(0, length);
    update();
}

void LargeTextFormController::setImage(const QImage& image, int imageReserve) {
    image_ = image;
    imageReserve_ = std::max(0, imageReserve);
    if (isViewLoaded()) {
        // The thumbnail's place is made with the view.
        unloadView();
    }
    update();
}

QPlainTextEdit* LargeTextFormController::textEdit() const {
    return textEdit_;
}

QLabel* LargeTextFormController::counterLabel() const {
    return counter_;
}

int LargeTextFormController::charactersLeft() const {
    const int reserve = image_.isNull() ? 0 : imageReserve_;
    return maxTextLength_ - reserve - int(text_.size());
}

bool LargeTextFormController::canSend() const {
    return !text_.isEmpty() && (maxTextLength_ == 0 || charactersLeft() >= 0);
}

void LargeTextFormController::loadView() {
    auto* view = new QWidget;
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, ui::style::groupTableViewBackground());
    view->setPalette(palette);

    // The form keeps clear of the navigation bar, which lies over the top of the view.
    auto* content = new QWidget(view);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(8, 8, 8, 8);
    auto* row = new QHBoxLayout;
    column->addLayout(row, 1);

    textEdit_ = new QPlainTextEdit(content);
    textEdit_->setObjectName(QStringLiteral("largeText"));
    textEdit_->setStyleSheet(ui::style::largeTextEditStyleSheet());
    textEdit_->setPlainText(text_);
    textEdit_->moveCursor(QTextCursor::End);
    row->addWidget(textEdit_, 1);
    connect(textEdit_, &QPlainTextEdit::textChanged, this, [this] {
        text_ = textEdit_->toPlainText();
        update();
    });

    if (!image_.isNull()) {
        auto* thumbnail = new QLabel(content);
        thumbnail->setObjectName(QStringLiteral("largeTextImage"));
        thumbnail->setPixmap(QPixmap::fromImage(image_.scaled(
            kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        thumbnail->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        row->addWidget(thumbnail, 0, Qt::AlignTop);
    }

    counter_ = new QLabel(content);
    counter_->setObjectName(QStringLiteral("charactersLeft"));
    counter_->setFont(ui::style::characterCountFont());
    counter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    column->addWidget(counter_);

    auto* keys = new FormKeys(
        view,
        [this] {
            if (delegate_ != nullptr) {
                delegate_->largeTextFormCancel(*this);
            }
        },
        [this] { send(); });
    textEdit_->installEventFilter(keys);
    view->installEventFilter(keys);

    setView(view);
    ui::keepInContentArea(*this, content);
    update();
}

void LargeTextFormController::viewWillAppear(bool animated) {
    ui::ViewController::viewWillAppear(animated);
    ui::NavigationController* navigation = navigationController();
    if (navigation != nullptr && navigation->isViewLoaded()) {
        navigation->navigationBar()->setTintColor(barTint_);
    }
    if (textEdit_ != nullptr) {
        textEdit_->setFocus();
    }
}

void LargeTextFormController::update() {
    if (ui::BarButtonItem* sendButton = navigationItem().rightBarButtonItem()) {
        sendButton->setEnabled(canSend());
    }
    if (counter_ == nullptr) {
        return;
    }
    counter_->setVisible(maxTextLength_ > 0);
    const int left = charactersLeft();
    counter_->setText(QString::number(left));
    QPalette palette = counter_->palette();
    palette.setColor(QPalette::WindowText, ui::style::characterCountText(left < 0));
    counter_->setPalette(palette);
}

void LargeTextFormController::send() {
    if (canSend() && delegate_ != nullptr) {
        delegate_->largeTextFormSend(*this);
    }
}

}  // namespace lumigrave::sharing
