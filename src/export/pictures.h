#pragma once

#include <string>
#include <string_view>

#include "views/cell_style.h"

namespace cadrix {

// A picture of the pages as a self-contained document carries it: a PNG
// data URI with its size in pixels.
struct InlinePicture {
    std::string dataUri;
    int width = 0;
    int height = 0;
};

enum class PictureSize {
    Cell,   // as drawn in a grid cell
    Small,  // the status stars of the national page's counters and legend
};

// The picture the window draws for `image`; none (an empty URI) for
// CellImage::None, or for a small star strip, which the window never draws.
const InlinePicture& PictureOf(CellImage image, PictureSize size = PictureSize::Cell);

std::string Base64(std::string_view bytes);

}  // namespace cadrix
