#pragma once

#include <QImage>
#include <QSize>

#include "content/jpeg_picture.h"

namespace app {

// `picture` as a control of `size` device pixels shows it: decoded at the smallest scale that
// covers the size, then fitted to it, so that painting it is a plain copy. Throws JpegError on
// damaged data.
QImage DecodeForControl(const content::JpegPicture& picture, QSize size);

}  // namespace app
