#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

namespace lumigrave::ui {

// The platform's curl-down transition on a container view: a page comes down from the
// container's top edge, rolled up along its lower edge and turned a little, one corner
// leading, until it lies flat over the container; then
// the transition's change (typically swapping the container's subviews) is made and the
// page is gone, leaving the changed container on show.
//
// The page that comes down is the container as it looks when the transition starts, so
// a caller puts the new content in place first and lets the change tidy up the views
// behind it (the preset browser refreshes its preview, then trades its two image views).
// Meanwhile the live subviews show below the page, and mouse events pass through the
// page to them.
//
// The frames and the end are deferred calls on RunLoop, so tests finish a transition by
// moving the run loop's clock, without waiting.
class PageCurl : public QWidget {
    Q_OBJECT
  public:
    // Starts the transition on container for the given seconds (a duration of zero or
    // less makes the change at the next frame). A transition already running on the
    // container is finished first, its change and completion included. When the
    // container goes away before the end, neither change nor completion runs.
    static void curlDown(QWidget* container, double seconds, std::function<void()> change,
                         std::function<void()> completion = {});

    // The transition running on container, or null.
    static PageCurl* running(const QWidget* container);

    // From 0 at the start to 1 when the page covers the container.
    double progress() const { return progress_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    PageCurl(QWidget* container, double seconds, std::function<void()> change,
             std::function<void()> completion);
    void nextFrame();
    // Makes the change, runs the completion and takes the page away; once only.
    void finish();

    QPixmap page_;
    double seconds_;
    int frames_ = 0;
    double progress_ = 0;
    bool finished_ = false;
    std::function<void()> change_;
    std::function<void()> completion_;
};

}  // namespace lumigrave::ui
