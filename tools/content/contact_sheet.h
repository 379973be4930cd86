#pragma once

#include <QImage>

#include "tools/content/pack_check.h"
#include "tools/content/pack_source.h"

namespace dravel_content {

// The pack's 7 x 7 table on one picture, for the author's eye: row and column numbers, each
// cell's picture stretched to a square as the game shows it with its file name under it, and
// the diagonal, the seven choice tiles, framed. A cell that cannot be shown is a dark box that
// says why. Throws content::FetchError when the scheme cannot be read.
QImage RenderContactSheet(PackSource& source, const CheckProgress& progress = {});

}  // namespace dravel_content
