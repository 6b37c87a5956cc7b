#pragma once

#include <QPointer>
#include <QString>
#include <QUrl>

#include "ui/view_controller.h"

class QTextBrowser;

namespace lumigrave {

// A page showing one HTML resource ("name.html", the name possibly in a folder of the
// resources) under the navigation bar when one is shown. Links between the bundled pages
// and to their anchors are followed in place; web links go to the user's browser; a
// missing page shows an empty page with a line saying so.
class HtmlFileViewController : public ui::ViewController {
    Q_OBJECT
  public:
    // The resource's name without its extension.
    explicit HtmlFileViewController(const QString& fileName, QObject* parent = nullptr);

    QString fileName() const { return fileName_; }
    // Loads the view when it is not loaded yet.
    QTextBrowser* webView();
    // What a click on the link does.
    void followLink(const QUrl& link);
    // What a missing page shows.
    static QString missingPageText(const QString& fileName);

  protected:
    void loadView() override;
    void viewDidUnload() override;

  private:
    QString fileName_;
    QPointer<QTextBrowser> webView_;
};

}  // namespace lumigrave
