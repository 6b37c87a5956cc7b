#pragma once

#include <QRect>
#include <QSize>

#include "model/embosser.h"
#include "platform/geometry.h"
#include "platform/image.h"

namespace lumigrave::editor_preview {

// The preview editors keep their controls in a band this high at the bottom of the view.
inline constexpr int kControlsHeight = 180;

// The preview area: under the navigation bar and above the controls, full width. Never a
// negative height, however small the window is made.
QRect previewFrame(QSize viewSize, int navigationBarHeight);
// The band of the controls at the bottom of the view.
QRect controlsFrame(QSize viewSize);

// The photo fitted, aspect kept, to the preview area, at high quality. Null for a null photo
// or an empty area.
Image scaledPhoto(const Image& photo, Size previewAreaSize);

// A relief rendered for the full-size photo, shrunk to the size the preset's text has on a
// photo of scaledImageSize. The preview follows the full-size rendering's look this way,
// which rendering the relief at preview size would not (the emboss is sized in points).
Image scaledText(const Embosser& embosser, const Image& relief, Size scaledImageSize);

// The preview itself: the same compositing call as the main screen's, at preview size.
Image composite(const Embosser& embosser, const Image& scaledImage, const Image& scaledText);

}  // namespace lumigrave::editor_preview
