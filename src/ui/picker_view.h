#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

class QListView;

namespace lumigrave::ui {

// What a picker shows: its number of wheels (components) and their rows.
class PickerViewDataSource {
  public:
    virtual ~PickerViewDataSource() = default;
    virtual int numberOfComponents() const = 0;
    virtual int numberOfRowsInComponent(int component) const = 0;
};

// How a picker's rows read and how wide and high they are; told of the user's choices.
// Every call has a default, as every one is optional on the platform.
class PickerViewDelegate {
  public:
    virtual ~PickerViewDelegate() = default;
    virtual QString titleForRow(int row, int component) const;
    // The view a row shows, asked for only while the row is on screen; null shows the
    // title instead. reusingView, when not null, is a view this delegate handed over
    // earlier whose row has left the screen: return it (changed) to spare making one.
    // Ownership follows the parent: a view without a parent becomes the picker's, which
    // deletes it once its row has left the screen and it is not reused; a view with a
    // parent stays its parent's and is only drawn, so the delegate may keep prebuilt rows.
    // The view is drawn centred in its row, clipped to it, and takes no input.
    virtual QWidget* viewForRow(int row, int component, QWidget* reusingView);
    // 0 or less: the component shares the room the others leave equally.
    virtual float widthForComponent(int component) const;
    // 0 or less: PickerView::kRowHeight.
    virtual float rowHeightForComponent(int component) const;
    // Only for choices the user makes; selectRow() stays silent, as on the platform.
    virtual void didSelectRow(int row, int component);
};

// A spinning-wheel picker: one wheel per component side by side, the selected row of each
// in the middle under the selection band. A wheel turns with the mouse wheel, by dragging
// and with the arrow keys; clicking a row turns it to that row.
class PickerView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kRowHeight = 40;

    explicit PickerView(QWidget* parent = nullptr);
    ~PickerView() override;

    // Neither is owned; either may be null. Setting the data source reloads the wheels, so
    // an owner going away clears the data source before the delegate.
    PickerViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(PickerViewDataSource* dataSource);
    PickerViewDelegate* delegate() const { return delegate_; }
    void setDelegate(PickerViewDelegate* delegate);

    int numberOfComponents() const { return int(wheels_.size()); }
    int numberOfRowsInComponent(int component) const;
    // Asks the data source and the delegate again; selections are kept where the rows
    // still exist.
    void reloadAllComponents();
    // Rows outside the component are ignored.
    void selectRow(int row, int component, bool animated);
    // -1 when the component has no rows.
    int selectedRowInComponent(int component) const;
    // The width of the component's wheel and the height of its rows.
    QSize rowSizeForComponent(int component) const;
    // The delegate's view shown for a row; null while the row is off screen, or when it
    // shows its title.
    QWidget* viewForRow(int row, int component) const;

    bool showsSelectionIndicator() const { return showsSelectionIndicator_; }
    void setShowsSelectionIndicator(bool shows);

    // Where a component's wheel sits, in the picker's coordinates; empty when there is no
    // such component.
    QRect rectForComponent(int component) const;
    // The wheel widget of a component, for tests; null when there is none.
    QListView* wheelForComponent(int component) const;
    // The band over the selected rows, in the picker's coordinates.
    QRect selectionIndicatorRect() const;

    QSize sizeHint() const override { return {320, 216}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Called after the wheels have been placed, for views laid over them.
    virtual void componentsLaidOut() {}

  private:
    class Wheel;
    class WheelModel;

    class RowPainter;

    int rowHeightFromDelegate(int component) const;
    void layoutComponents();
    void userSelected(int component, int row);

    PickerViewDataSource* dataSource_ = nullptr;
    PickerViewDelegate* delegate_ = nullptr;
    std::vector<Wheel*> wheels_;
    QWidget* band_ = nullptr;
    bool showsSelectionIndicator_ = false;
};

}  // namespace lumigrave::ui
