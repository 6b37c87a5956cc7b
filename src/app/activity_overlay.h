#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;

namespace lumigrave {

namespace ui {
class ActivityIndicatorView;
}

// The full-window overlay lengthy work shows: black at 80 %, a large white spinner in
// the middle and a message under it. It follows the size of the window it is shown in,
// so it covers the window however the window is resized.
class ActivityOverlay : public QWidget {
    Q_OBJECT
  public:
    // Laid out for the host's size at that moment; the host is where it is first shown.
    explicit ActivityOverlay(QSize initialSize);

    void showIn(QWidget* host, const QString& message);
    void hideOverlay();
    bool isShown() const { return parentWidget() != nullptr && isVisible(); }
    QString message() const;
    ui::ActivityIndicatorView* indicator() const { return indicator_; }
    QLabel* label() const { return label_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void layoutFor(QSize size);

    ui::ActivityIndicatorView* indicator_;
    QLabel* label_;
    QPointer<QWidget> host_;
};

}  // namespace lumigrave
