#pragma once

#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <functional>

class QPropertyAnimation;

namespace lumigrave::ui {

// The layer that alerts, sheets and popovers are drawn on: it covers the whole host
// window (following its size), dims what is under it, and holds one panel placed in
// the middle, at the bottom, or next to an anchor. Escape and a click outside the panel
// call the handlers given; it never blocks the event loop.
class OverlayPanel : public QWidget {
    Q_OBJECT
  public:
    enum class Placement { Centre, Bottom, Anchored };

    OverlayPanel(QWidget* host, QWidget* panel, Placement placement, qreal dimming);

    void setAnchor(QRectF anchorInHost) { anchor_ = anchorInHost; }
    std::function<void()> onEscape;
    std::function<void()> onClickOutside;

    QWidget* panel() const { return panel_; }
    // Slides or fades the panel in.
    void present(bool animated);
    // Places the panel again after its size changed; a slide under way ends there.
    void layoutPanel();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPointer<QWidget> host_;
    QWidget* panel_;
    Placement placement_;
    qreal dimming_;
    QRectF anchor_;
    QPointer<QPropertyAnimation> slide_;
};

// A button of an alert or a sheet, in one of three looks.
enum class PanelButtonRole { Normal, Cancel, Destructive };
QWidget* makePanelButton(const QString& title, PanelButtonRole role, std::function<void()> pressed,
                         QWidget* parent);

// The host window for an overlay started from a view: the view's top-level window, or
// the key window when there is no view.
QWidget* hostWindowFor(QWidget* view);

}  // namespace lumigrave::ui
