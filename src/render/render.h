#pragma once
// The rendering engine: the watermark's size and place on a photo, the relief image,
// tiling, compositing and the emboss shading filter. It holds no state and never links
// widgets. Rendering failures are logged with fixed messages ("Error context not
// created", "Error: Memory not allocated for bitmap") and yield no image; an unsupported
// argument to an image operation throws std::invalid_argument.
//
// The streamed file-to-file path (streamed_watermark.h) is the exception: it logs
// nothing and returns a StreamResult, Done, Declined (not a colour JPEG: take the
// general path) or Failed with a full sentence for the user in *error.

#include "render/emboss_composer.h"
#include "render/emboss_shade.h"
#include "render/output_sizes.h"
