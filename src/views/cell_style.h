#pragma once

#include <optional>

#include "core/rgb.h"

namespace cadrix {

// The three colours that every comparison page shares.
inline constexpr Rgb kFavourableColour{186, 240, 179};    // light green: a favourable change
inline constexpr Rgb kUnfavourableColour{255, 176, 176};  // light red: an unfavourable change
inline constexpr Rgb kDimTextColour{128, 128, 128};       // grey: "n/a" and text-only rows

enum class Background {
    Grid,  // the colour the grid prepared: normal, fixed or selected
    Favourable,
    Unfavourable,
};

// What a coloured cell's colour says, in words for those who do not see it:
// "к лучшему", "к худшему"; none for the grid's own colour.
constexpr const char* ChangeMeaning(Background background) {
    switch (background) {
    case Background::Favourable: return "к лучшему";
    case Background::Unfavourable: return "к худшему";
    case Background::Grid: break;
    }
    return nullptr;
}

enum class Align { Left, Center, Right };

// Pictures drawn over a cell after its text: the star strips of the
// infrastructure page and the national-team status stars.
enum class CellImage {
    None,
    Stars0,
    Stars1,
    Stars2,
    Stars3,
    Stars4,
    Stars5,
    StarsBlank,
    StatusOutline,
    StatusGrey,
    StatusGreen,
    StatusGold,
};

// What a page's draw rule decides for one cell. The painter fills the cell
// with the background, draws the text on one line inside the cell shrunk by
// 2 pixels on its left, top and right sides, clipped and aligned, and then
// draws the image with its top-left corner at (imageX, imageY) from the
// cell's top-left corner.
struct CellStyle {
    Background background = Background::Grid;
    std::optional<Rgb> text;  // none: the grid's own text colour
    Align align = Align::Left;
    CellImage image = CellImage::None;
    int imageX = 0;
    int imageY = 0;
};

// The fill colour of a totals shape.
enum class ShapeColour { ButtonFace, Favourable, Unfavourable };

// The background a shape's fill stands for; the button face is the grid's own.
constexpr Background ShapeBackground(ShapeColour shape) {
    switch (shape) {
    case ShapeColour::Favourable: return Background::Favourable;
    case ShapeColour::Unfavourable: return Background::Unfavourable;
    case ShapeColour::ButtonFace: break;
    }
    return Background::Grid;
}

}  // namespace cadrix
