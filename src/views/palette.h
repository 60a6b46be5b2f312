#pragma once

#include <optional>
#include <string_view>

#include "core/rgb.h"
#include "views/cell_style.h"

namespace cadrix {

// The colours that mark a change. The draw rules return what a cell means
// (favourable, unfavourable, the grid's own); a palette says how every front
// end (the window, the HTML and PDF reports, the terminal) shows that
// meaning. The designed palette is the default; the colour-blind one is light
// blue against light orange, which people who confuse red and green tell apart.
enum class PaletteChoice { Designed, Colourblind };

struct Palette {
    Rgb favourable;
    Rgb unfavourable;
};

const Palette& PaletteOf(PaletteChoice choice);

// The palette's name on the command line and in the settings: "designed" or
// "colourblind"; none for any other text.
std::optional<PaletteChoice> PaletteNamed(std::string_view name);
std::string_view PaletteName(PaletteChoice choice);

// The colour of a cell's background; none for the grid's own colour, which
// each front end knows (normal, fixed or selected).
std::optional<Rgb> BackgroundColour(const Palette& palette, Background background);
// The fill of a totals shape; none for the button face.
std::optional<Rgb> ShapeFill(const Palette& palette, ShapeColour shape);

}  // namespace cadrix
