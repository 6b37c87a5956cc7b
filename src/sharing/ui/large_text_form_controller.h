#pragma once

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QString>

#include "ui/view_controller.h"

class QLabel;
class QPlainTextEdit;

namespace lumigrave::sharing {

class LargeTextFormController;

// Where the large-text form reports. Not owned.
class LargeTextFormDelegate {
  public:
    virtual ~LargeTextFormDelegate() = default;
    // The right button ("Send"): take the text with text().
    virtual void largeTextFormSend(LargeTextFormController& form) = 0;
    // Cancel, or Escape.
    virtual void largeTextFormCancel(LargeTextFormController& form) = 0;
};

// A form for one long text, as a status: a text area with a live count of the characters
// left, and the image that goes with the text beside it. The count goes below zero (and
// shows so) rather than cut what the person typed; the send button is enabled only while
// the text is not empty and the count is not negative.
class LargeTextFormController : public ui::ViewController {
    Q_OBJECT
  public:
    LargeTextFormController(LargeTextFormDelegate* delegate, const QString& title,
                            const QString& sendTitle = QStringLiteral("Send"),
                            QObject* parent = nullptr);

    void setDelegate(LargeTextFormDelegate* delegate) { delegate_ = delegate; }
    QString text() const;
    void setText(const QString& text);
    // 0 means no limit and no count.
    int maxTextLength() const { return maxTextLength_; }
    void setMaxTextLength(int length);
    // Shown beside the text; when not null, imageReserve characters are kept for its link.
    void setImage(const QImage& image, int imageReserve);
    // The limit less the reserve and the text's length (UTF-16 units, as services count).
    int charactersLeft() const;
    // The navigation bar's tint while the form shows; invalid for the default.
    void setBarTint(const QColor& tint) { barTint_ = tint; }
    const QColor& barTint() const { return barTint_; }

    // The widgets, for tests.
    QPlainTextEdit* textEdit() const;
    QLabel* counterLabel() const;
    bool canSend() const;

    void viewWillAppear(bool animated) override;

  protected:
    void loadView() override;

  private:
    void update();
    void send();

    LargeTextFormDelegate* delegate_;
    QString text_;
    int maxTextLength_ = 0;
    QImage image_;
    int imageReserve_ = 0;
    QColor barTint_;
    QPointer<QPlainTextEdit> textEdit_;
    QPointer<QLabel> counter_;
};

}  // namespace lumigrave::sharing
