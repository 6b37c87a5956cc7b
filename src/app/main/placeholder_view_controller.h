#pragma once

#include "ui/view_controller.h"

namespace lumigrave {

// Stands where an editor or a page will be: a screen named after it, with Cancel, which
// goes back, and Done, which goes back marking the active preset changed, as an editor
// that stored its fields would.
class PlaceholderViewController : public ui::ViewController {
    Q_OBJECT
  public:
    explicit PlaceholderViewController(const QString& title, QObject* parent = nullptr);

    void done();
    void cancel();
    void viewWillAppear(bool animated) override;

  protected:
    void loadView() override;
};

}  // namespace lumigrave
