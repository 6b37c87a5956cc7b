#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/presentation.h"

class QLabel;

namespace lumigrave {

namespace ui {
class ActivityIndicatorView;
}

// What the overlay shows: black at 80 %, a large white spinner in the middle and a
// message under it, laid out for whatever size the window gives it.
class ActivityPanel : public QWidget {
    Q_OBJECT
  public:
    ActivityPanel();

    ui::ActivityIndicatorView* indicator() const { return indicator_; }
    QLabel* label() const { return label_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    ui::ActivityIndicatorView* indicator_;
    QLabel* label_;
};

// The full-window overlay lengthy work shows. It is modal — clicks and keys do not
// reach the screens beneath while work runs — and covers the window however the window
// is resized. One overlay is shown again and again; its view is kept between showings.
class ActivityOverlay : public ui::Presentation {
    Q_OBJECT
  public:
    ActivityOverlay();
    ~ActivityOverlay() override;

    // Shows the overlay over host with the message, or changes the message of an overlay
    // already shown.
    void showIn(QWidget* host, const QString& message);
    void hideOverlay();
    bool isShown() const { return isPresented(); }
    QString message() const;
    ActivityPanel* view() const { return view_; }
    ui::ActivityIndicatorView* indicator() const { return view_->indicator(); }
    QLabel* label() const { return view_->label(); }

  protected:
    void presentationWillHide() override;

  private:
    QPointer<ActivityPanel> view_;
};

}  // namespace lumigrave
