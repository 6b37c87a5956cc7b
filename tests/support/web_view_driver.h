#pragma once

#include <QList>
#include <QMetaObject>
#include <QString>
#include <QVariant>
#include <memory>

class QWebEngineView;

namespace lumigrave::test {

// Drives a web view from a test as a person would, through the event loop: each call
// waits until the page answered, or gives up after timeoutMs (a busy machine's margin,
// not a measure).
class WebViewDriver {
  public:
    explicit WebViewDriver(QWebEngineView* view);
    ~WebViewDriver();

    // The loads finished since the driver was made, and whether each succeeded. A refused
    // navigation ends in a failed "load" of the unchanged page.
    const QList<bool>& loadsFinished() const { return *loads_; }
    // Waits until count loads have finished since the driver was made.
    bool waitForLoads(int count, int timeoutMs = 20000);
    // Waits until the document of the page holds an element with the id.
    bool waitForElement(const QString& id, int timeoutMs = 20000);
    // Runs the script in the page and hands back its result; an invalid QVariant when no
    // result came.
    QVariant runJavaScript(const QString& script, int timeoutMs = 20000);
    // Clicks the element with the id from the page's own script.
    bool clickByScript(const QString& id);
    // Clicks the middle of the element with the id with the mouse, sent where the engine
    // takes its input (the view's focus proxy).
    bool clickWithMouse(const QString& id);

  private:
    QWebEngineView* view_;
    std::shared_ptr<QList<bool>> loads_;
    QMetaObject::Connection loadConnection_;
};

}  // namespace lumigrave::test
