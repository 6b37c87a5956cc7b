#pragma once

#include <array>
#include <optional>

#include <QString>

#include "model/embosser.h"

namespace lumigrave::test {

// The fields a test sets on a preset; those left out keep the defaults.
struct PresetFields {
    std::optional<QString> text = std::nullopt;
    std::optional<int> layout = std::nullopt;
    std::optional<float> widthRatio = std::nullopt;
    std::optional<float> opacity = std::nullopt;
    std::optional<float> angle = std::nullopt;
    std::optional<float> marginHorizontal = std::nullopt;
    std::optional<float> marginVertical = std::nullopt;
};

// A preset made through the validating setters, the layout before the margins (a centred
// preset drops its margins, as a loaded one does): presetWith({.layout = kLayoutTileParallel,
// .angle = 30}).
Embosser presetWith(const PresetFields& fields);

// A preset whose every persisted field differs from the defaults: "Fjord & Field ©" in
// DejaVuSans, width 0.35, opacity 0.45, 30.5°, bottom right, margins 0.05 and 0.1.
Embosser samplePreset();

// The preset the rendering tests share: a quarter of the photo's width, 30°, margins 5 %
// and 8 % (none when centred), in the given layout.
Embosser renderPreset(int layout, float angle = 30);

// Every named group of an update.
inline constexpr std::array kEditorGroups{EditorGroup::All, EditorGroup::Text, EditorGroup::Font,
                                          EditorGroup::SizeOpacityAngle,
                                          EditorGroup::LayoutMargins};

}  // namespace lumigrave::test
