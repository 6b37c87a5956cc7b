#include "ui/table_view_controller.h"

#include "ui/content_area.h"

namespace lumigrave::ui {

TableViewController::TableViewController(TableView::Style style, QObject* parent)
    : ViewController(parent), style_(style) {}

TableViewController::~TableViewController() {
    // The table may outlive this screen for a moment in its parent's deletion order.
    if (tableView_ != nullptr) {
        tableView_->setDelegate(nullptr);
        tableView_->setDataSource(nullptr);
    }
}

TableView* TableViewController::tableView() {
    view();
    return tableView_;
}

TableViewCell* TableViewController::cellForRowAtIndexPath(TableView&, IndexPath) {
    return new TableViewCell(TableViewCell::Style::Default, QStringLiteral("Cell"));
}

void TableViewController::loadView() {
    auto* root = new QWidget;
    tableView_ = new TableView(style_, root);
    tableView_->setObjectName(QStringLiteral("tableView"));
    setView(root);
    keepInContentArea(*this, tableView_);
    tableView_->setDelegate(this);
    tableView_->setDataSource(this);
}

void TableViewController::viewDidUnload() {
    tableView_ = nullptr;
}

}  // namespace lumigrave::ui
