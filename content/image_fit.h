#pragma once

#include "content/jpeg_picture.h"

namespace content {

// `image` resampled to width x height with a bilinear filter, the way a painter draws a
// picture stretched with smoothing: for the small steps between the DCT scale a picture was
// decoded at and the size of the control that shows it. An image of that size already comes
// back as it is. Needs nothing but memory, so it may run on any thread at any time.
DecodedImage FitTo(DecodedImage image, int width, int height);

}  // namespace content
