#pragma once

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>

#include "ui/overlay_panel.h"
#include "ui/style.h"

class QWidget;

namespace lumigrave::ui {

// Everything shown over a window — alerts, action sheets, popovers, the activity overlay,
// the mail sheet, a keyboard's accessory — is a Presentation. The base owns the one
// sequence every kind goes through when it leaves:
//   clicked (the subclass tells its delegate which button) → hidden (the panel leaves
//   the window; views that outlive it are taken back first) → gone (no longer listed by
//   OnScreen) → did-dismiss → deleted (for the kinds that own themselves while shown).
// A modal presentation covers the window, takes the focus and swallows clicks outside
// its panel; a non-modal one only places its panel and leaves the focus and the rest of
// the window alone.
//
// A presentation that cannot be shown (there is no window) logs why; one that owns
// itself is then released, as it would have been after its dismissal.
class Presentation : public QObject {
    Q_OBJECT
  public:
    enum class Modality { Modal, NonModal };
    using Placement = OverlayPanel::Placement;

    ~Presentation() override;

    bool isPresented() const { return overlay_ != nullptr; }
    // The panel on screen; null when not presented.
    QWidget* panel() const { return panel_; }

    // The buttons, by the positions the kind numbers them with; none by default.
    virtual int numberOfButtons() const { return 0; }
    virtual QString buttonTitleAtIndex(int index) const {
        Q_UNUSED(index);
        return {};
    }
    // The object name of the widget that shows the button at index: OnScreen presses
    // buttons by it, so it is made in this one place.
    static QString buttonObjectName(int index);

  protected:
    // ownsItself: the presentation deletes itself once dismissed (or when it cannot be
    // shown, or when the window closes under it).
    explicit Presentation(bool ownsItself, QObject* parent = nullptr);

    // Puts panel over host. False when there is no host (with a log line naming what)
    // or when the presentation is shown already; the panel is deleted then.
    bool presentPanel(QWidget* host, QWidget* panel, Placement placement, qreal dimming,
                      Modality modality, bool animated, QRectF anchorInHost = {},
                      const QString& what = QStringLiteral("A panel"));
    // A button of the panel, in one of three looks; pressing it runs the leaving
    // sequence with its index.
    using ButtonRole = style::PanelButtonRole;
    QWidget* makeButton(int index, const QString& title, ButtonRole role, QWidget* parent);

    // Runs the leaving sequence; nothing when not presented.
    void dismissPresentation(int buttonIndex);
    // Places the panel again after its size changed.
    void relayout();
    // Releases a presentation that owns itself and could not be shown.
    void releaseUnshown();

    // The steps of the sequence, for the kinds to fill in.
    virtual void presentationClicked(int buttonIndex) { Q_UNUSED(buttonIndex); }
    // Before the panel goes: take back the views that must outlive it.
    virtual void presentationWillHide() {}
    virtual void presentationDidDismiss(int buttonIndex) { Q_UNUSED(buttonIndex); }
    // Escape, and a click outside a modal panel.
    virtual void escapePressed() {}
    virtual void clickedOutside() {}

  private:
    void windowClosed();

    bool ownsItself_;
    bool dismissing_ = false;
    QPointer<OverlayPanel> overlay_;
    QPointer<QWidget> panel_;
};

}  // namespace lumigrave::ui
