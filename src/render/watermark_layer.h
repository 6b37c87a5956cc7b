#pragma once

#include "model/embosser.h"
#include "platform/geometry.h"
#include "platform/image.h"
#include "render/backdrop.h"

namespace lumigrave {

// Lays a preset's watermark (or, for a tiled preset, its tiles) on the backdrop of a
// photo of the given size in points, drawn at scale pixels per point. grey holds the
// watermark image's pixels and must outlive the backdrop.
void layWatermark(Backdrop& backdrop, const Embosser& embosser, Size photo, float scale,
                  const Image& watermark, const GreyImage& grey);

}  // namespace lumigrave
