#include "ui/table_view.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "ui/style.h"

namespace lumigrave::ui {

namespace {
// The platform's grouped table: groups 10 points in from the sides, 10 points between
// sections, titles indented a further 10 points over and under their group.
constexpr int kGroupInset = 10;
constexpr int kSectionGap = 10;
constexpr int kTitleInset = 10;
constexpr int kGroupedHeaderHeight = 36;
constexpr int kPlainHeaderHeight = 22;
constexpr int kFooterGap = 6;

TableViewCell::GroupPosition positionOf(size_t row, size_t rows) {
    if (rows == 1) {
        return TableViewCell::GroupPosition::Single;
    }
    if (row == 0) {
        return TableViewCell::GroupPosition::Top;
    }
    return row + 1 == rows ? TableViewCell::GroupPosition::Bottom
                           : TableViewCell::GroupPosition::Middle;
}
}  // namespace

TableView::TableView(Style style, QWidget* parent)
    : QScrollArea(parent), style_(style), content_(new QWidget) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setWidget(content_);
    // The backdrop is the viewport's, behind the titles and between the groups.
    content_->setAutoFillBackground(false);
    setBackgroundColor(style == Style::Grouped ? style::groupTableViewBackground()
                                               : style::tableCellBackground());
}

TableView::~TableView() = default;

void TableView::setDataSource(TableViewDataSource* dataSource) {
    dataSource_ = dataSource;
    reloadData();
}

void TableView::reloadData() {
    // A reload may come from a row's own tap handler: the old widgets go when it is done.
    auto retire = [](QWidget* widget) {
        if (widget != nullptr) {
            widget->hide();
            widget->setParent(nullptr);
            widget->deleteLater();
        }
    };
    for (Section& section : sections_) {
        retire(section.header);
        retire(section.footer);
        for (TableViewCell* cell : section.cells) {
            retire(cell);
        }
    }
    sections_.clear();
    selected_.reset();
    if (dataSource_ != nullptr) {
        const int count = std::max(0, dataSource_->numberOfSectionsInTableView(*this));
        sections_.resize(size_t(count));
        for (int s = 0; s < count; ++s) {
            Section& section = sections_[size_t(s)];
            const QString header = dataSource_->titleForHeaderInSection(*this, s);
            if (!header.isEmpty()) {
                section.header = new QLabel(header, content_);
                section.header->setObjectName(QStringLiteral("sectionHeader"));
                section.header->setFont(style::tableHeaderFont(style_ == Style::Grouped));
                section.header->setStyleSheet(
                    style::tableHeaderStyleSheet(style_ == Style::Grouped));
            }
            const QString footer = dataSource_->titleForFooterInSection(*this, s);
            if (!footer.isEmpty()) {
                section.footer = new QLabel(footer, content_);
                section.footer->setObjectName(QStringLiteral("sectionFooter"));
                section.footer->setWordWrap(true);
                section.footer->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
                section.footer->setFont(style::tableFooterFont());
                section.footer->setStyleSheet(style::tableHeaderStyleSheet(true));
            }
            const int rows = std::max(0, dataSource_->numberOfRowsInSection(*this, s));
            for (int r = 0; r < rows; ++r) {
                TableViewCell* cell = dataSource_->cellForRowAtIndexPath(*this, {s, r});
                if (cell == nullptr) {
                    qWarning("A table's data source gave no cell for row %d of section %d", r, s);
                    cell = new TableViewCell;
                }
                cell->setParent(content_);
                cell->setGroupPosition(positionOf(size_t(r), size_t(rows)),
                                       style_ == Style::Grouped);
                connect(cell, &TableViewCell::tapped, this, [this, cell] { rowTapped(cell); });
                section.cells.push_back(cell);
            }
        }
    }
    layoutContent();
    for (Section& section : sections_) {
        for (QWidget* shown :
             {static_cast<QWidget*>(section.header), static_cast<QWidget*>(section.footer)}) {
            if (shown != nullptr) {
                shown->show();
            }
        }
        for (TableViewCell* cell : section.cells) {
            cell->show();
        }
    }
}

int TableView::numberOfRowsInSection(int section) const {
    if (section < 0 || section >= numberOfSections()) {
        return 0;
    }
    return int(sections_[size_t(section)].cells.size());
}

TableViewCell* TableView::cellForRowAtIndexPath(IndexPath indexPath) const {
    if (indexPath.row < 0 || indexPath.row >= numberOfRowsInSection(indexPath.section)) {
        return nullptr;
    }
    return sections_[size_t(indexPath.section)].cells[size_t(indexPath.row)];
}

QLabel* TableView::headerViewForSection(int section) const {
    return section >= 0 && section < numberOfSections() ? sections_[size_t(section)].header
                                                        : nullptr;
}

QLabel* TableView::footerViewForSection(int section) const {
    return section >= 0 && section < numberOfSections() ? sections_[size_t(section)].footer
                                                        : nullptr;
}

QRect TableView::rectForRowAtIndexPath(IndexPath indexPath) const {
    TableViewCell* cell = cellForRowAtIndexPath(indexPath);
    return cell != nullptr ? cell->geometry() : QRect();
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(QPoint viewportPoint) const {
    const QPoint at = content_->mapFrom(viewport(), viewportPoint);
    for (size_t s = 0; s < sections_.size(); ++s) {
        const auto& cells = sections_[s].cells;
        for (size_t r = 0; r < cells.size(); ++r) {
            if (cells[r]->geometry().contains(at)) {
                return IndexPath{int(s), int(r)};
            }
        }
    }
    return std::nullopt;
}

void TableView::setTableFooterView(QWidget* view) {
    if (footerView_ == view) {
        return;
    }
    delete footerView_;
    footerView_ = view;
    if (view != nullptr) {
        view->setParent(content_);
        view->show();
    }
    layoutContent();
}

void TableView::selectRowAtIndexPath(IndexPath indexPath, bool animated) {
    TableViewCell* cell = cellForRowAtIndexPath(indexPath);
    if (cell == nullptr) {
        return;
    }
    if (selected_) {
        deselectRowAtIndexPath(*selected_, animated);
    }
    selected_ = indexPath;
    cell->setSelected(true, animated);
}

void TableView::deselectRowAtIndexPath(IndexPath indexPath, bool animated) {
    if (TableViewCell* cell = cellForRowAtIndexPath(indexPath)) {
        cell->setSelected(false, animated);
    }
    if (selected_ == indexPath) {
        selected_.reset();
    }
}

void TableView::scrollToRowAtIndexPath(IndexPath indexPath, bool) {
    const QRect row = rectForRowAtIndexPath(indexPath);
    if (row.isEmpty()) {
        return;
    }
    ensureVisible(row.center().x(), row.center().y(), 0, row.height() / 2);
}

void TableView::setScrollEnabled(bool enabled) {
    scrollEnabled_ = enabled;
    setVerticalScrollBarPolicy(enabled ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TableView::setBackgroundColor(const QColor& colour) {
    background_ = colour;
    viewport()->update();
}

int TableView::contentHeight() const {
    return content_->height();
}

bool TableView::viewportEvent(QEvent* event) {
    // The viewport narrows when the scroll bar appears: the rows follow its width.
    if (event->type() == QEvent::Resize) {
        layoutContent();
    } else if (event->type() == QEvent::Paint) {
        // Painted here: a palette loses to the style sheets of the windows it is shown in.
        QPainter painter(viewport());
        painter.fillRect(static_cast<QPaintEvent*>(event)->rect(), background_);
    }
    return QScrollArea::viewportEvent(event);
}

void TableView::wheelEvent(QWheelEvent* event) {
    if (!scrollEnabled_) {
        event->ignore();
        return;
    }
    QScrollArea::wheelEvent(event);
}

void TableView::layoutContent() {
    const bool grouped = style_ == Style::Grouped;
    const int width = viewport()->width();
    const int inset = grouped ? kGroupInset : 0;
    const int rowWidth = std::max(0, width - 2 * inset);
    const int titleWidth = std::max(0, rowWidth - 2 * kTitleInset);
    int y = 0;
    for (size_t s = 0; s < sections_.size(); ++s) {
        Section& section = sections_[s];
        y += grouped ? kSectionGap : 0;
        if (section.header != nullptr) {
            const int height = grouped ? kGroupedHeaderHeight : kPlainHeaderHeight;
            section.header->setGeometry(inset + kTitleInset, y, titleWidth, height);
            y += height;
        }
        for (size_t r = 0; r < section.cells.size(); ++r) {
            float height = delegate_ != nullptr
                               ? delegate_->heightForRowAtIndexPath(*this, {int(s), int(r)})
                               : 0;
            const int rowHeight = height > 0 ? int(height) : TableViewCell::kDefaultHeight;
            section.cells[r]->setGeometry(inset, y, rowWidth, rowHeight);
            y += rowHeight;
        }
        if (section.footer != nullptr) {
            y += kFooterGap;
            const int height = section.footer->heightForWidth(titleWidth);
            section.footer->setGeometry(inset + kTitleInset, y, titleWidth, height);
            y += height;
        }
    }
    if (!sections_.empty() && grouped) {
        y += kSectionGap;
    }
    if (footerView_ != nullptr) {
        footerView_->move(0, y);
        footerView_->resize(width, footerView_->height());
        y += footerView_->height();
    }
    content_->resize(width, y);
}

void TableView::rowTapped(TableViewCell* cell) {
    const std::optional<IndexPath> indexPath = indexPathForCell(cell);
    if (!indexPath) {
        return;
    }
    selectRowAtIndexPath(*indexPath, false);
    if (delegate_ != nullptr) {
        delegate_->didSelectRowAtIndexPath(*this, *indexPath);
    }
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell* cell) const {
    for (size_t s = 0; s < sections_.size(); ++s) {
        const auto& cells = sections_[s].cells;
        for (size_t r = 0; r < cells.size(); ++r) {
            if (cells[r] == cell) {
                return IndexPath{int(s), int(r)};
            }
        }
    }
    return std::nullopt;
}

}  // namespace lumigrave::ui
