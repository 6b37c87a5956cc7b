#include "support/presets.h"

#include "model/layout_type.h"

namespace lumigrave::test {

Embosser presetWith(const PresetFields& fields) {
    Embosser e;
    if (fields.text) {
        e.setText(*fields.text);
    }
    if (fields.layout) {
        e.setLayoutType(*fields.layout);
    }
    if (fields.widthRatio) {
        e.setWidth_ratio(*fields.widthRatio);
    }
    if (fields.opacity) {
        e.setOpacity(*fields.opacity);
    }
    if (fields.angle) {
        e.setText_angle(*fields.angle);
    }
    if (fields.marginHorizontal) {
        e.setMarginHorizontal(*fields.marginHorizontal);
    }
    if (fields.marginVertical) {
        e.setMarginVertical(*fields.marginVertical);
    }
    return e;
}

Embosser samplePreset() {
    Embosser e = presetWith({.text = QStringLiteral("Fjord & Field \u00A9"),
                             .layout = kLayoutBottomRight,
                             .widthRatio = 0.35f,
                             .opacity = 0.45f,
                             .angle = 30.5f,
                             .marginHorizontal = 0.05f,
                             .marginVertical = 0.1f});
    e.setFont_name(QStringLiteral("DejaVuSans"));
    return e;
}

Embosser renderPreset(int layout, float angle) {
    return presetWith({.layout = layout,
                       .widthRatio = 0.25f,
                       .angle = angle,
                       .marginHorizontal = 0.05f,
                       .marginVertical = 0.08f});
}

}  // namespace lumigrave::test
