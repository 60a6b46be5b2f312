#include "views/palette.h"

namespace cadrix {

namespace {

constexpr Palette kDesigned{kFavourableColour, kUnfavourableColour};
constexpr Palette kColourblind{{158, 202, 225}, {253, 174, 107}};

constexpr std::string_view kDesignedName = "designed";
constexpr std::string_view kColourblindName = "colourblind";

}  // namespace

const Palette& PaletteOf(PaletteChoice choice) {
    return choice == PaletteChoice::Colourblind ? kColourblind : kDesigned;
}

std::optional<PaletteChoice> PaletteNamed(std::string_view name) {
    if (name == kDesignedName)
        return PaletteChoice::Designed;
    if (name == kColourblindName)
        return PaletteChoice::Colourblind;
    return std::nullopt;
}

std::string_view PaletteName(PaletteChoice choice) {
    return choice == PaletteChoice::Colourblind ? kColourblindName : kDesignedName;
}

std::optional<Rgb> BackgroundColour(const Palette& palette, Background background) {
    switch (background) {
    case Background::Favourable: return palette.favourable;
    case Background::Unfavourable: return palette.unfavourable;
    case Background::Grid: break;
    }
    return std::nullopt;
}

std::optional<Rgb> ShapeFill(const Palette& palette, ShapeColour shape) {
    return BackgroundColour(palette, ShapeBackground(shape));
}

}  // namespace cadrix
