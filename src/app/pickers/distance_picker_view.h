#pragma once

#include <QHash>

#include "ui/picker_view.h"

class QLabel;

namespace lumigrave {

// A picker whose wheels may carry a unit name, shown at the right end of a wheel over its
// middle row.
class DistancePickerView : public ui::PickerView {
    Q_OBJECT
  public:
    explicit DistancePickerView(QWidget* parent = nullptr);

    // Puts text after the rows of the component's wheel; a new text for a component that
    // has one fades in.
    void addLabel(const QString& text, int component);
    QLabel* labelForComponent(int component) const { return labels_.value(component); }

    // The font unit names are shown in, for sizing the wheels.
    static QFont labelFont();

  protected:
    void componentsLaidOut() override;

  private:
    void placeLabel(int component, QLabel* label);

    QHash<int, QLabel*> labels_;
};

}  // namespace lumigrave
