#include "export/pictures.h"

#include <array>
#include <cstdint>

#include "export/pictures_png.h"

namespace cadrix {

namespace {

constexpr int kStripWidth = 80;
constexpr int kStripHeight = 16;
constexpr int kStarSize = 16;
constexpr int kSmallStarWidth = 11;
constexpr int kSmallStarHeight = 10;
constexpr std::size_t kImageCount = static_cast<std::size_t>(CellImage::StatusGold) + 1;

InlinePicture Inline(std::string_view png, int width, int height) {
    return {"data:image/png;base64," + Base64(png), width, height};
}

std::array<InlinePicture, kImageCount> CellPictures() {
    using namespace pictures;
    return {{
        {},
        Inline(kStars0, kStripWidth, kStripHeight),
        Inline(kStars1, kStripWidth, kStripHeight),
        Inline(kStars2, kStripWidth, kStripHeight),
        Inline(kStars3, kStripWidth, kStripHeight),
        Inline(kStars4, kStripWidth, kStripHeight),
        Inline(kStars5, kStripWidth, kStripHeight),
        Inline(kStarsBlank, kStripWidth, kStripHeight),
        Inline(kStatusOutline, kStarSize, kStarSize),
        Inline(kStatusGrey, kStarSize, kStarSize),
        Inline(kStatusGreen, kStarSize, kStarSize),
        Inline(kStatusGold, kStarSize, kStarSize),
    }};
}

std::array<InlinePicture, kImageCount> SmallPictures() {
    using namespace pictures;
    std::array<InlinePicture, kImageCount> small{};
    small[static_cast<std::size_t>(CellImage::StatusOutline)] =
        Inline(kSmallOutline, kSmallStarWidth, kSmallStarHeight);
    small[static_cast<std::size_t>(CellImage::StatusGrey)] = Inline(kSmallGrey, kSmallStarWidth, kSmallStarHeight);
    small[static_cast<std::size_t>(CellImage::StatusGreen)] = Inline(kSmallGreen, kSmallStarWidth, kSmallStarHeight);
    small[static_cast<std::size_t>(CellImage::StatusGold)] = Inline(kSmallGold, kSmallStarWidth, kSmallStarHeight);
    return small;
}

}  // namespace

const InlinePicture& PictureOf(CellImage image, PictureSize size) {
    static const auto cell = CellPictures();
    static const auto small = SmallPictures();
    const auto i = static_cast<std::size_t>(image);
    return (size == PictureSize::Small ? small : cell)[i < kImageCount ? i : 0];
}

std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t n = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
                                static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                                static_cast<unsigned char>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            out.push_back(kDigits[(n >> shift) & 63]);
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t n = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (rest == 2)
            n |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        out.push_back(kDigits[(n >> 18) & 63]);
        out.push_back(kDigits[(n >> 12) & 63]);
        out.push_back(rest == 2 ? kDigits[(n >> 6) & 63] : '=');
        out.push_back('=');
    }
    return out;
}

}  // namespace cadrix
