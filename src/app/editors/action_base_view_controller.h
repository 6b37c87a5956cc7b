#pragma once

#include <QSize>

#include "model/embosser.h"
#include "ui/view_controller.h"

namespace lumigrave {

// The frame every watermark editor shares: the application's name as title, Cancel and
// Done, the tiled background, and the tail of the commit on Done. An editor changes the
// active preset in place and only on Done; Cancel, or any other way out, leaves the preset
// and the store as they were.
class ActionBaseViewController : public ui::ViewController {
    Q_OBJECT
  public:
    explicit ActionBaseViewController(QObject* parent = nullptr);
    ~ActionBaseViewController() override;

    // Pops the editor, not animated; nothing is stored.
    virtual void cancelButtonTouched();
    // Pops the editor, not animated. Editors commit first, then call this.
    virtual void doneButtonTouched();

  protected:
    // Builds the root view at the application frame's size. Editors call it first, then add
    // their own views. Escape is Cancel and Enter is Done, as in any desktop dialog.
    void loadView() override;

    // For an editor that stored a change of the active preset's group: writes it, shows
    // "Error" with the store's message when that fails, then "Proccessing..." either way
    // (the main screen re-renders from the in-memory preset on return). After a stored
    // change the next load puts the preset first, so LastUsedEmbosser follows it there.
    void storeActivePreset(EditorGroup forView);

    // Lays the editor's views out for the root view's size: called once the view is built
    // and whenever the window is resized.
    virtual void layoutEditorViews(QSize size);
    // The navigation bar's height, which the preview area starts under.
    int navigationBarHeight() const;

    // Whether Enter (Return) means Done; the text editor leaves it to its field.
    virtual bool enterIsDone() const { return true; }
};

}  // namespace lumigrave
