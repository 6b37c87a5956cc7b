#pragma once
// The rendering engine: the watermark's size and place on a photo, the relief image,
// tiling, compositing and the emboss shading filter. It holds no state and never links
// widgets. Rendering failures are logged with fixed messages and yield no image; an
// unsupported argument to an image operation throws std::invalid_argument.

#include "render/emboss_composer.h"
#include "render/emboss_shade.h"
#include "render/output_sizes.h"
