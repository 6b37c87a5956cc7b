#pragma once

#include <QTimer>
#include <QWidget>

namespace lumigrave::ui {

// The spinning indicator of lengthy work: twelve spokes, the brightest turning.
class ActivityIndicatorView : public QWidget {
    Q_OBJECT
  public:
    enum class Style { WhiteLarge, White, Gray };
    explicit ActivityIndicatorView(Style style, QWidget* parent = nullptr);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return timer_.isActive(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Style style_;
    QTimer timer_;
    int step_ = 0;
};

}  // namespace lumigrave::ui
