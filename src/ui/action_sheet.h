#pragma once

#include <QPointer>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "ui/presentation.h"

class QWidget;

namespace lumigrave::ui {

class BarButtonItem;
class Toolbar;

// A sheet of buttons sliding up from the bottom of the window, without blocking the
// event loop. Buttons are numbered as the platform numbers them: the destructive button
// first, then the others in order, then the cancel button last. A sheet may also carry a
// view of its own (a picker) instead of buttons. It owns itself from construction until
// it is dismissed, or released because it could not be shown.
class ActionSheet : public Presentation {
    Q_OBJECT
  public:
    enum class Style { Default, BlackTranslucent, BlackOpaque };
    // The sheet's protocol: both calls are optional.
    class Delegate {
      public:
        virtual ~Delegate() = default;
        virtual void clickedButtonAtIndex(ActionSheet& sheet, int buttonIndex) {
            Q_UNUSED(sheet);
            Q_UNUSED(buttonIndex);
        }
        virtual void didDismissWithButtonIndex(ActionSheet& sheet, int buttonIndex) {
            Q_UNUSED(sheet);
            Q_UNUSED(buttonIndex);
        }
    };

    // The delegate is not owned; it must outlive the sheet or be null.
    ActionSheet(const QString& title, Delegate* delegate, const QString& cancelButtonTitle,
                const QString& destructiveButtonTitle, const QStringList& otherButtonTitles);
    ~ActionSheet() override;

    Delegate* delegate() const { return delegate_; }
    void setDelegate(Delegate* delegate) { delegate_ = delegate; }
    int addButtonWithTitle(const QString& title);
    int numberOfButtons() const override { return int(buttons_.size()); }
    QString buttonTitleAtIndex(int index) const override;
    int cancelButtonIndex() const { return cancelButtonIndex_; }
    int destructiveButtonIndex() const { return destructiveButtonIndex_; }
    // Shows that button in the destructive style; -1 for none.
    void setDestructiveButtonIndex(int index) { destructiveButtonIndex_ = index; }
    int firstOtherButtonIndex() const;
    QString title() const { return title_; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    Style style() const { return style_; }
    void setActionSheetStyle(Style style) { style_ = style; }

    // A view shown in the sheet under the title; the sheet owns it from now on.
    void addSubview(QWidget* view);
    // The sheet's size in points once shown (pickers set it after showing).
    void setBounds(QRectF bounds);
    QRectF bounds() const;

    void showInView(QWidget* view);
    void showFromToolbar(Toolbar* toolbar);
    void showFromBarButtonItem(BarButtonItem* item, bool animated);
    void showFromRect(QRectF rect, QWidget* view, bool animated);
    bool isVisible() const { return isPresented(); }
    // As if the button at index were pressed: clicked, then the sheet goes, then
    // did-dismiss. Escape on a sheet without a cancel button (a picker's) dismisses it
    // with index -1.
    void dismissWithClickedButtonIndex(int index, bool animated);

  protected:
    void presentationClicked(int buttonIndex) override;
    void presentationWillHide() override;
    void presentationDidDismiss(int buttonIndex) override;
    void escapePressed() override;

  private:
    void present(QWidget* host);

    QString title_;
    Delegate* delegate_;
    QStringList buttons_;
    int cancelButtonIndex_ = -1;
    int destructiveButtonIndex_ = -1;
    int tag_ = 0;
    Style style_ = Style::Default;
    QPointer<QWidget> content_;
    QRectF bounds_;
};

}  // namespace lumigrave::ui
