#pragma once

#include <QPointer>

#include "ui/table_view.h"
#include "ui/view_controller.h"

namespace lumigrave::ui {

// A screen that is one table, its own data source and delegate. The table lies in the
// navigation controller's content area, under the bars, and follows it as the bars are
// hidden or shown and the window is resized.
class TableViewController : public ViewController,
                            public TableViewDataSource,
                            public TableViewDelegate {
    Q_OBJECT
  public:
    explicit TableViewController(TableView::Style style = TableView::Style::Plain,
                                 QObject* parent = nullptr);
    ~TableViewController() override;

    // Loads the view when it is not loaded yet.
    TableView* tableView();
    TableView::Style tableViewStyle() const { return style_; }

    int numberOfRowsInSection(TableView& table, int section) override {
        Q_UNUSED(table);
        Q_UNUSED(section);
        return 0;
    }
    TableViewCell* cellForRowAtIndexPath(TableView& table, IndexPath indexPath) override;

  protected:
    void loadView() override;
    void viewDidUnload() override;

  private:
    TableView::Style style_;
    QPointer<TableView> tableView_;
};

}  // namespace lumigrave::ui
