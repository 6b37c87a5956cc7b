#pragma once

#include <QColor>
#include <QPointer>
#include <QRect>
#include <QScrollArea>
#include <QString>
#include <optional>
#include <vector>

#include "ui/table_view_cell.h"

class QLabel;

namespace lumigrave::ui {

class TableView;

struct IndexPath {
    int section = 0;
    int row = 0;
    friend bool operator==(const IndexPath&, const IndexPath&) = default;
};

// What a table shows: its sections, their rows and the titles around them. Only the row
// count and the cells must be given; the rest has the platform's defaults.
class TableViewDataSource {
  public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfSectionsInTableView(TableView& table) {
        Q_UNUSED(table);
        return 1;
    }
    virtual int numberOfRowsInSection(TableView& table, int section) = 0;
    // A new cell without a parent; the table owns it from then on.
    virtual TableViewCell* cellForRowAtIndexPath(TableView& table, IndexPath indexPath) = 0;
    // Empty: the section has no header (or footer).
    virtual QString titleForHeaderInSection(TableView& table, int section) {
        Q_UNUSED(table);
        Q_UNUSED(section);
        return {};
    }
    virtual QString titleForFooterInSection(TableView& table, int section) {
        Q_UNUSED(table);
        Q_UNUSED(section);
        return {};
    }
};

// How a table's rows are sized and what a choice does; every call is optional.
class TableViewDelegate {
  public:
    virtual ~TableViewDelegate() = default;
    // 0 or less: TableViewCell::kDefaultHeight.
    virtual float heightForRowAtIndexPath(TableView& table, IndexPath indexPath) {
        Q_UNUSED(table);
        Q_UNUSED(indexPath);
        return 0;
    }
    // Only for the user's choices; selectRowAtIndexPath() stays silent, as on the platform.
    virtual void didSelectRowAtIndexPath(TableView& table, IndexPath indexPath) {
        Q_UNUSED(table);
        Q_UNUSED(indexPath);
    }
};

// A scrolling list of rows in sections. The grouped style sets each section's rows apart
// as a rounded group inset from the sides, with its header above and footer below; the
// plain style runs the rows edge to edge. Every row's cell is made when the data is
// (re)loaded and stays a child of the table until the next reload, so the widgets a form
// puts in its cells keep their state while they are scrolled out of sight.
class TableView : public QScrollArea {
    Q_OBJECT
  public:
    enum class Style { Plain, Grouped };

    explicit TableView(Style style = Style::Plain, QWidget* parent = nullptr);
    ~TableView() override;

    Style style() const { return style_; }

    // Neither is owned; each must outlive the table or be cleared. Setting the data
    // source loads the rows.
    TableViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(TableViewDataSource* dataSource);
    TableViewDelegate* delegate() const { return delegate_; }
    void setDelegate(TableViewDelegate* delegate) { delegate_ = delegate; }

    // Asks the data source again; the cells made before are deleted.
    void reloadData();
    int numberOfSections() const { return int(sections_.size()); }
    // 0 for a section that does not exist.
    int numberOfRowsInSection(int section) const;
    // Null for a row that does not exist.
    TableViewCell* cellForRowAtIndexPath(IndexPath indexPath) const;
    // The labels showing a section's titles; null when it has none.
    QLabel* headerViewForSection(int section) const;
    QLabel* footerViewForSection(int section) const;
    // Where a row sits in the scrolled content, in points; empty for no such row.
    QRect rectForRowAtIndexPath(IndexPath indexPath) const;
    // The row whose cell holds the point of the table's viewport, if any.
    std::optional<IndexPath> indexPathForRowAtPoint(QPoint viewportPoint) const;

    // A view under the last section, as wide as the table; owned from now on. Null
    // removes (and deletes) the one shown.
    void setTableFooterView(QWidget* view);
    QWidget* tableFooterView() const { return footerView_; }

    std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
    // Silent: the delegate hears only of the user's choices.
    void selectRowAtIndexPath(IndexPath indexPath, bool animated);
    void deselectRowAtIndexPath(IndexPath indexPath, bool animated);
    // Scrolls as little as needed to show the whole row.
    void scrollToRowAtIndexPath(IndexPath indexPath, bool animated);

    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled);
    void setBackgroundColor(const QColor& colour);
    QColor backgroundColor() const { return background_; }

    // The whole height of the rows, titles and footer view, in points.
    int contentHeight() const;

  protected:
    bool viewportEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    struct Section {
        QLabel* header = nullptr;
        QLabel* footer = nullptr;
        std::vector<TableViewCell*> cells;
    };
    void layoutContent();
    void rowTapped(TableViewCell* cell);
    std::optional<IndexPath> indexPathForCell(const TableViewCell* cell) const;

    Style style_;
    TableViewDataSource* dataSource_ = nullptr;
    TableViewDelegate* delegate_ = nullptr;
    QWidget* content_;
    std::vector<Section> sections_;
    QPointer<QWidget> footerView_;
    std::optional<IndexPath> selected_;
    bool scrollEnabled_ = true;
    QColor background_;
};

}  // namespace lumigrave::ui
