#pragma once
// A screen for the widget layer's tests that logs its appearance callbacks.

#include <QString>
#include <QStringList>
#include <QWidget>

#include "ui/view_controller.h"

namespace lumigrave::ui::test {

// Writes its appearance callbacks into a log the screens of a test share, so that the
// order across screens shows: "B willAppear animated".
class RecordingController : public ViewController {
  public:
    RecordingController(QString name, QStringList* log, bool buildsView = true)
        : name_(std::move(name)), log_(log), buildsView_(buildsView) {}

    void viewWillAppear(bool animated) override { record("willAppear", animated); }
    void viewDidAppear(bool animated) override { record("didAppear", animated); }
    void viewWillDisappear(bool animated) override { record("willDisappear", animated); }
    void viewDidDisappear(bool animated) override { record("didDisappear", animated); }

    int loads = 0;
    int didLoads = 0;
    int unloads = 0;

  protected:
    void loadView() override {
        ++loads;
        if (buildsView_) {
            setView(new QWidget);
        }
    }
    void viewDidLoad() override { ++didLoads; }
    void viewDidUnload() override { ++unloads; }

  private:
    void record(const char* call, bool animated) {
        log_->append(name_ + QLatin1Char(' ') + QLatin1String(call) +
                     (animated ? QStringLiteral(" animated") : QString()));
    }

    QString name_;
    QStringList* log_;
    bool buildsView_;
};

}  // namespace lumigrave::ui::test
