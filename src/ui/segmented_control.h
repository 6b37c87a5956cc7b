#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include "ui/control.h"

namespace lumigrave::ui {

class SegmentedControl;

// One segment of a segmented control, a child widget so that callers can walk them and
// tint each one. The control takes the pointer; segments let it through.
class SegmentView : public QWidget {
    Q_OBJECT
  public:
    bool isSelected() const { return selected_; }
    QString title() const { return title_; }
    QIcon image() const { return image_; }
    // The segment's fill; an invalid colour fills with the control's tint.
    QColor tintColor() const { return tint_; }
    void setTintColor(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    friend class SegmentedControl;
    explicit SegmentView(SegmentedControl* control);

    SegmentedControl* control_;
    QString title_;
    QIcon image_;
    QColor tint_;
    bool selected_ = false;
    bool pressed_ = false;
};

// A row of equal segments showing titles or images, of which at most one is selected.
// The standard touch handling selects the segment that a touch begins and ends in, and
// reports it when the selection changed; the Left and Right keys touch the neighbour of
// the selected segment.
class SegmentedControl : public Control {
    Q_OBJECT
  public:
    static constexpr int kStylePlain = 0;
    static constexpr int kStyleBordered = 1;
    static constexpr int kStyleBar = 2;
    static constexpr int kStyleBezeled = 7;

    explicit SegmentedControl(QWidget* parent = nullptr);
    explicit SegmentedControl(const QStringList& titles, QWidget* parent = nullptr);
    explicit SegmentedControl(const QList<QIcon>& images, QWidget* parent = nullptr);

    int numberOfSegments() const { return int(segments_.size()); }
    // index is clamped to 0..numberOfSegments().
    void insertSegment(const QString& title, int index);
    void insertSegment(const QIcon& image, int index);
    void removeAllSegments();
    void setTitle(const QString& title, int segment);
    QString titleForSegment(int segment) const;
    void setImage(const QIcon& image, int segment);
    QIcon imageForSegment(int segment) const;
    const QList<SegmentView*>& segmentViews() const { return segments_; }
    // The segment under pos (control coordinates), or -1.
    int segmentIndexAt(QPointF pos) const;

    // -1 when none is selected, as a new control starts.
    int selectedSegmentIndex() const { return selected_; }
    // Stores the selection and repaints; it reports nothing. An index out of range
    // selects none.
    virtual void setSelectedSegmentIndex(int index);

    int segmentedControlStyle() const { return style_; }
    void setSegmentedControlStyle(int style);
    QColor tintColor() const { return tint_; }
    void setTintColor(const QColor& color);

    void touchesBegan(QPointF pos) override;
    void touchesMoved(QPointF pos) override;
    void touchesEnded(QPointF pos) override;
    void touchesCancelled(QPointF pos) override;

    QSize sizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class SegmentView;
    SegmentView* insert(int index);
    // The tint segments fill with when they have none of their own.
    QColor effectiveTint() const;
    // Worked out from the width rather than read from the children, which a hidden
    // control lays out only when it is shown.
    QRect segmentRect(int index) const;
    void layoutSegments();
    void setPressed(int index);

    QList<SegmentView*> segments_;
    int selected_ = -1;
    int tracked_ = -1;  // the segment a touch began in, while it lasts
    int style_ = kStylePlain;
    QColor tint_;
};

}  // namespace lumigrave::ui
