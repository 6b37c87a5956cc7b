#include "ui/picker_view.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "ui/picker_row_views.h"
#include "ui/style.h"

namespace lumigrave::ui {

namespace {
constexpr int kSideMargin = 8;
constexpr int kComponentSpacing = 4;
constexpr int kWheelStep = 120;  // one notch of a mouse wheel

// Lies over all the wheels without taking their clicks.
class SelectionBand : public QWidget {
  public:
    explicit SelectionBand(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), style::pickerSelectionBand());
        painter.setPen(style::pickerSelectionEdge());
        painter.drawLine(0, 0, width(), 0);
        painter.drawLine(0, height() - 1, width(), height() - 1);
    }
};
}  // namespace

QString PickerViewDelegate::titleForRow(int, int) const {
    return {};
}

QWidget* PickerViewDelegate::viewForRow(int, int, QWidget*) {
    return nullptr;
}

float PickerViewDelegate::widthForComponent(int) const {
    return 0;
}

float PickerViewDelegate::rowHeightForComponent(int) const {
    return 0;
}

void PickerViewDelegate::didSelectRow(int, int) {}

// The rows of one wheel, with blank rows above and below so that the first and the last
// row can come to the middle.
class PickerView::WheelModel : public QAbstractListModel {
  public:
    WheelModel(PickerView* picker, int component, QObject* parent)
        : QAbstractListModel(parent), picker_(picker), component_(component) {}

    int rows() const { return rows_; }
    int padding() const { return padding_; }
    int rowHeight() const { return rowHeight_; }
    void reset(int rows, int padding, int rowHeight) {
        beginResetModel();
        rows_ = rows;
        padding_ = padding;
        rowHeight_ = rowHeight;
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : rows_ + 2 * padding_;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const int row = index.row() - padding_;
        switch (role) {
            case Qt::SizeHintRole:
                return QSize(1, rowHeight_);
            case Qt::TextAlignmentRole:
                return int(Qt::AlignCenter);
            case Qt::DisplayRole:
                if (row >= 0 && row < rows_ && picker_->delegate_) {
                    return picker_->delegate_->titleForRow(row, component_);
                }
                return {};
            default:
                return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        const int row = index.row() - padding_;
        return row >= 0 && row < rows_ ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    }

  private:
    PickerView* picker_;
    int component_;
    int rows_ = 0;
    int padding_ = 0;
    int rowHeight_ = kRowHeight;
};

// Draws a row's view where the wheel has one, and its title otherwise.
class PickerView::RowPainter : public QStyledItemDelegate {
  public:
    RowPainter(PickerView::Wheel* wheel);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    PickerView::Wheel* wheel_;
};

// A list that scrolls only under its own control: the scroll value is always the selected
// row times the row height, except while the user drags it.
class PickerView::Wheel : public QListView {
  public:
    Wheel(PickerView* picker, int component)
        : QListView(picker),
          picker_(picker),
          component_(component),
          model_(new WheelModel(picker, component, this)),
          animation_(new QPropertyAnimation(verticalScrollBar(), "value", this)),
          rowViews_(this) {
        setModel(model_);
        setItemDelegate(new RowPainter(this));
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        setUniformItemSizes(true);
        setSelectionMode(QAbstractItemView::NoSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setAutoScroll(false);
        setFocusPolicy(Qt::StrongFocus);
        setFont(style::pickerRowFont(font()));
        animation_->setDuration(180);
        animation_->setEasingCurve(QEasingCurve::OutCubic);
        // The list sets its range only once it lays its rows out, which can be after a
        // selection was made.
        connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] {
            if (!dragging_) {
                scrollToSelected(false);
            }
        });
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { keepRowViews(); });
    }

    int rows() const { return model_->rows(); }
    int padding() const { return model_->padding(); }
    int rowHeight() const { return model_->rowHeight(); }
    int selected() const { return selected_; }
    QWidget* rowView(int row) const { return rowViews_.view(row); }

    void reload(int rows, int padding, int rowHeight) {
        rowViews_.clear();
        model_->reset(rows, padding, rowHeight);
        selected_ = rows == 0 ? -1 : std::clamp(selected_, 0, rows - 1);
        scrollToSelected(false);
        keepRowViews();
    }

    // Asks the delegate for the views of the rows on screen, and of those only: a wheel
    // may have hundreds of rows.
    void keepRowViews() {
        const int height = viewport()->height();
        if (rows() == 0 || height <= 0 || !picker_->delegate_) {
            rowViews_.keep(0, -1, {});
            return;
        }
        const int top = verticalScrollBar()->value();
        const int first = std::max(0, top / rowHeight() - padding());
        const int last = std::min(rows() - 1, (top + height - 1) / rowHeight() - padding());
        rowViews_.keep(first, last, [this](int row, QWidget* reusable) {
            return picker_->delegate_ ? picker_->delegate_->viewForRow(row, component_, reusable)
                                      : nullptr;
        });
    }

    void select(int row, bool animated) {
        selected_ = row;
        scrollToSelected(animated);
    }

    // The wheel keeps its own position; the list's notion of a current row must not move it.
    void scrollTo(const QModelIndex&, ScrollHint) override {}

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QListView::resizeEvent(event);
        keepRowViews();
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            return;
        }
        setFocus(Qt::MouseFocusReason);
        animation_->stop();
        pressed_ = true;
        dragging_ = false;
        pressY_ = event->position().y();
        pressValue_ = verticalScrollBar()->value();
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (!pressed_) {
            return;
        }
        const int dy = int(std::lround(event->position().y() - pressY_));
        if (!dragging_ && std::abs(dy) < QApplication::startDragDistance()) {
            return;
        }
        dragging_ = true;
        verticalScrollBar()->setValue(pressValue_ - dy);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!pressed_ || event->button() != Qt::LeftButton) {
            return;
        }
        pressed_ = false;
        if (dragging_) {
            dragging_ = false;
            choose(int(std::lround(double(verticalScrollBar()->value()) / rowHeight())));
            return;
        }
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid() && (index.flags() & Qt::ItemIsEnabled)) {
            choose(index.row() - padding());
        }
    }

    void wheelEvent(QWheelEvent* event) override {
        wheelDelta_ += event->angleDelta().y();
        const int steps = wheelDelta_ / kWheelStep;
        wheelDelta_ -= steps * kWheelStep;
        if (steps != 0) {
            choose(selected_ - steps);
        }
        event->accept();
    }

    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Up:
                choose(selected_ - 1);
                break;
            case Qt::Key_Down:
                choose(selected_ + 1);
                break;
            case Qt::Key_Home:
                choose(0);
                break;
            case Qt::Key_End:
                choose(rows() - 1);
                break;
            default:
                event->ignore();
        }
    }

  private:
    void choose(int row) {
        if (rows() == 0) {
            return;
        }
        row = std::clamp(row, 0, rows() - 1);
        const bool changed = row != selected_;
        select(row, true);
        if (changed) {
            picker_->userSelected(component_, row);
        }
    }

    void scrollToSelected(bool animated) {
        const int value = std::max(0, selected_) * rowHeight();
        animation_->stop();
        if (!animated || !isVisible()) {
            verticalScrollBar()->setValue(value);
            return;
        }
        animation_->setStartValue(verticalScrollBar()->value());
        animation_->setEndValue(value);
        animation_->start();
    }

    PickerView* picker_;
    int component_;
    WheelModel* model_;
    QPropertyAnimation* animation_;
    int selected_ = -1;
    bool pressed_ = false;
    bool dragging_ = false;
    double pressY_ = 0;
    int pressValue_ = 0;
    int wheelDelta_ = 0;
    PickerRowViews rowViews_;
};

PickerView::RowPainter::RowPainter(PickerView::Wheel* wheel)
    : QStyledItemDelegate(wheel), wheel_(wheel) {}

void PickerView::RowPainter::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    const int row = index.row() - wheel_->padding();
    QWidget* view = row >= 0 && row < wheel_->rows() ? wheel_->rowView(row) : nullptr;
    if (!view) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // Drawn through an image of its own: rendering a widget straight into another's paint
    // event takes the device's coordinates, not the painter's.
    const qreal ratio = painter->device()->devicePixelRatioF();
    QPixmap drawn(view->size() * ratio);
    drawn.setDevicePixelRatio(ratio);
    drawn.fill(Qt::transparent);
    // Without its window background: a row view with a clear background shows the wheel.
    view->render(&drawn, QPoint(), QRegion(), QWidget::DrawChildren);
    const QRect cell = option.rect;
    const QPoint at(cell.x() + (cell.width() - view->width()) / 2,
                    cell.y() + (cell.height() - view->height()) / 2);
    painter->save();
    painter->setClipRect(cell, Qt::IntersectClip);
    painter->drawPixmap(at, drawn);
    painter->restore();
}

PickerView::PickerView(QWidget* parent) : QWidget(parent), band_(new SelectionBand(this)) {
    band_->hide();
    resize(sizeHint());
}

PickerView::~PickerView() {
    dataSource_ = nullptr;
    delegate_ = nullptr;
}

void PickerView::setDataSource(PickerViewDataSource* dataSource) {
    dataSource_ = dataSource;
    reloadAllComponents();
}

void PickerView::setDelegate(PickerViewDelegate* delegate) {
    delegate_ = delegate;
    reloadAllComponents();
}

int PickerView::numberOfRowsInComponent(int component) const {
    return component >= 0 && component < numberOfComponents() ? wheels_[component]->rows() : 0;
}

void PickerView::reloadAllComponents() {
    const int count = dataSource_ ? std::max(0, dataSource_->numberOfComponents()) : 0;
    while (numberOfComponents() > count) {
        // The wheel may be the one whose event led here.
        Wheel* wheel = wheels_.back();
        wheels_.pop_back();
        wheel->hide();
        wheel->deleteLater();
    }
    while (numberOfComponents() < count) {
        auto* wheel = new Wheel(this, numberOfComponents());
        wheel->show();
        wheels_.push_back(wheel);
    }
    for (int component = 0; component < count; ++component) {
        const int rowHeight = rowHeightFromDelegate(component);
        const int padding = std::max(0, (height() / rowHeight - 1) / 2);
        wheels_[component]->reload(std::max(0, dataSource_->numberOfRowsInComponent(component)),
                                   padding, rowHeight);
    }
    layoutComponents();
}

void PickerView::selectRow(int row, int component, bool animated) {
    if (component < 0 || component >= numberOfComponents() || row < 0 ||
        row >= wheels_[component]->rows()) {
        return;
    }
    wheels_[component]->select(row, animated);
}

int PickerView::selectedRowInComponent(int component) const {
    return component >= 0 && component < numberOfComponents() ? wheels_[component]->selected() : -1;
}

QSize PickerView::rowSizeForComponent(int component) const {
    if (component < 0 || component >= numberOfComponents()) {
        return {};
    }
    return {wheels_[component]->width(), wheels_[component]->rowHeight()};
}

QWidget* PickerView::viewForRow(int row, int component) const {
    return component >= 0 && component < numberOfComponents() ? wheels_[component]->rowView(row)
                                                              : nullptr;
}

void PickerView::setShowsSelectionIndicator(bool shows) {
    showsSelectionIndicator_ = shows;
    band_->setVisible(shows);
}

QRect PickerView::rectForComponent(int component) const {
    return component >= 0 && component < numberOfComponents() ? wheels_[component]->geometry()
                                                              : QRect();
}

QListView* PickerView::wheelForComponent(int component) const {
    return component >= 0 && component < numberOfComponents() ? wheels_[component] : nullptr;
}

QRect PickerView::selectionIndicatorRect() const {
    return band_->geometry();
}

void PickerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), style::pickerBackdrop());
}

void PickerView::resizeEvent(QResizeEvent*) {
    layoutComponents();
}

void PickerView::showEvent(QShowEvent*) {
    layoutComponents();
}

int PickerView::rowHeightFromDelegate(int component) const {
    const float height = delegate_ ? delegate_->rowHeightForComponent(component) : 0;
    return height > 0 ? std::max(1, int(std::lround(height))) : kRowHeight;
}

void PickerView::layoutComponents() {
    const int count = numberOfComponents();
    int bandHeight = count == 0 ? kRowHeight : 0;
    for (const Wheel* wheel : wheels_) {
        bandHeight = std::max(bandHeight, wheel->rowHeight());
    }
    band_->setGeometry(0, (height() - bandHeight) / 2, width(), bandHeight);

    std::vector<float> widths(count, 0);
    float fixed = 0;
    int shared = 0;
    for (int component = 0; component < count; ++component) {
        widths[component] = delegate_ ? delegate_->widthForComponent(component) : 0;
        if (widths[component] > 0) {
            fixed += widths[component];
        } else {
            ++shared;
        }
    }
    const float spacing = float(kComponentSpacing * std::max(0, count - 1));
    const float room = float(width() - 2 * kSideMargin) - spacing - fixed;
    const float share = shared > 0 ? std::max(0.0f, room / float(shared)) : 0;
    float total = spacing;
    for (float& w : widths) {
        w = w > 0 ? w : share;
        total += w;
    }
    float x = (float(width()) - total) / 2;
    for (int component = 0; component < count; ++component) {
        Wheel* wheel = wheels_[component];
        // Blank rows above and below the first and the last, so that each can come to the
        // middle; the wheel is as high as the whole rows that fit.
        const int rowHeight = wheel->rowHeight();
        const int padding = std::max(0, (height() / rowHeight - 1) / 2);
        const int wheelHeight = (2 * padding + 1) * rowHeight;
        const int left = int(std::lround(x));
        const int right = int(std::lround(x + widths[component]));
        wheel->setGeometry(left, (height() - wheelHeight) / 2, right - left, wheelHeight);
        if (wheel->padding() != padding) {
            wheel->reload(wheel->rows(), padding, rowHeight);
        }
        x += widths[component] + kComponentSpacing;
    }
    band_->raise();
    componentsLaidOut();
}

void PickerView::userSelected(int component, int row) {
    if (delegate_) {
        delegate_->didSelectRow(row, component);
    }
}

}  // namespace lumigrave::ui
