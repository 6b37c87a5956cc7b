#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace lumigrave::ui {

// One row of a table. It is a real widget: what a form puts in contentView() (a text
// field, a switch) takes its own clicks, and tests find it among the table's children.
// The text label is the default style's; it is hidden while it has no text.
class TableViewCell : public QWidget {
    Q_OBJECT
  public:
    enum class Style { Default };
    enum class AccessoryType { None, DisclosureIndicator, Checkmark };
    // Where the cell stands in a grouped section, which decides its rounded corners and
    // whether it draws a separator under itself.
    enum class GroupPosition { Single, Top, Middle, Bottom };

    static constexpr int kDefaultHeight = 44;

    explicit TableViewCell(Style style = Style::Default, const QString& reuseIdentifier = QString(),
                           QWidget* parent = nullptr);

    QString reuseIdentifier() const { return reuseIdentifier_; }
    QLabel* textLabel() const { return textLabel_; }
    // The area beside the accessory, for a form's own widgets.
    QWidget* contentView() const { return contentView_; }

    AccessoryType accessoryType() const { return accessoryType_; }
    void setAccessoryType(AccessoryType type);

    bool isSelected() const { return selected_; }
    // The selection's highlight; the animation is a fade the desktop does without.
    void setSelected(bool selected, bool animated);

    // Set by the table as it lays the cell out.
    void setGroupPosition(GroupPosition position, bool grouped);
    GroupPosition groupPosition() const { return position_; }

  signals:
    // A click released over the cell itself, not over a widget of a form inside it.
    void tapped();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void layoutContent();

    QString reuseIdentifier_;
    QWidget* contentView_;
    QLabel* textLabel_;
    AccessoryType accessoryType_ = AccessoryType::None;
    GroupPosition position_ = GroupPosition::Single;
    bool grouped_ = false;
    bool selected_ = false;
    bool pressed_ = false;
};

}  // namespace lumigrave::ui
