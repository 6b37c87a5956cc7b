#pragma once

#include <QPointer>
#include <QString>

#include "ui/view_controller.h"

class QTextEdit;

namespace lumigrave {

// A page showing one text resource ("name.txt", UTF-8) as light text on dark grey, under
// the navigation bar when one is shown. A missing resource shows an empty page.
class TextFileViewController : public ui::ViewController {
    Q_OBJECT
  public:
    // The resource's name without its extension.
    explicit TextFileViewController(const QString& fileName, QObject* parent = nullptr);

    QString fileName() const { return fileName_; }
    // Loads the view when it is not loaded yet.
    QTextEdit* textView();

  protected:
    void loadView() override;
    void viewDidUnload() override;

  private:
    QString fileName_;
    QPointer<QTextEdit> textView_;
};

// Reads a text resource as UTF-8; empty (and logged) when there is none.
QString readTextResource(const QString& name);

}  // namespace lumigrave
