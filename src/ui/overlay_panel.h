#pragma once

#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <functional>

class QPropertyAnimation;

namespace lumigrave::ui {

// The layer a presentation's panel is drawn on, inside the host window, following its
// size. It holds one panel placed in the middle, at the bottom, next to an anchor, or
// filling the window. A modal layer covers the whole window, dims what is under it and
// takes the focus, and gives it back when it goes to the widget that had it (a text
// field keeps editing under an alert); Escape and a click outside the panel call the
// handlers given. A
// non-modal layer is only as large as its panel and never takes the focus. It never
// blocks the event loop.
class OverlayPanel : public QWidget {
    Q_OBJECT
  public:
    enum class Placement { Centre, Bottom, Anchored, Fill };

    OverlayPanel(QWidget* host, QWidget* panel, Placement placement, qreal dimming, bool modal);

    void setAnchor(QRectF anchorInHost) { anchor_ = anchorInHost; }
    std::function<void()> onEscape;
    std::function<void()> onClickOutside;

    QWidget* panel() const { return panel_; }
    bool isModal() const { return modal_; }
    // Slides or fades the panel in.
    void present(bool animated);
    // Places the panel again after its size changed; a slide under way ends there.
    void layoutPanel();

    // True when widget is a modal layer or inside one.
    static bool isInModalLayer(const QWidget* widget);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Where the panel goes, in the host's coordinates.
    QRect panelRect(QSize size) const;

    QPointer<QWidget> host_;
    QWidget* panel_;
    Placement placement_;
    qreal dimming_;
    bool modal_;
    QRectF anchor_;
    QPointer<QPropertyAnimation> slide_;
    QPointer<QWidget> focusBefore_;
};

// The host window for an overlay started from a view: the view's top-level window, or
// the key window when there is no view.
QWidget* hostWindowFor(QWidget* view);

}  // namespace lumigrave::ui
