#include "escp/LinePictures.h"

#include <algorithm>
#include <cstdlib>

namespace escp {
namespace {

// Empty columns cost three bytes each inside a picture; a move and a new picture's head cost nine.
constexpr int kLongestGapInside = 3;

} // namespace

std::vector<Strike> LinePictures(const std::vector<DotLine>& lines, PageDots page, const CommandSet& set) {
    std::vector<Strike> pictures;
    if (page.width <= 0 || page.length <= 0) return pictures;
    const auto width = static_cast<std::size_t>(page.width);
    std::vector<std::uint8_t> ink(width * static_cast<std::size_t>(page.length));
    for (const DotLine& l : lines) {
        const std::int64_t dx = l.x1 - l.x0, dy = l.y1 - l.y0;
        const std::int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
        for (std::int64_t i = 0; i <= steps; ++i) {
            // Rounded to the nearest dot along the line; exact for the page's upright lines.
            const std::int64_t x =
                l.x0 + (steps ? (2 * dx * i + (dx < 0 ? -steps : steps)) / (2 * steps) : 0);
            const std::int64_t y =
                l.y0 + (steps ? (2 * dy * i + (dy < 0 ? -steps : steps)) / (2 * steps) : 0);
            if (x >= 0 && x < page.width && y >= 0 && y < page.length)
                ink[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)] = 1;
        }
    }
    auto rowHasInk = [&](int y) {
        const auto* row = &ink[static_cast<std::size_t>(y) * width];
        return std::any_of(row, row + width, [](std::uint8_t d) { return d != 0; });
    };

    const int h = set.cellHeight;
    for (int top = 0; top < page.length; top += h) {
        while (top < page.length && !rowHasInk(top))
            ++top;
        if (top >= page.length) break;
        const int rows = std::min(h, page.length - top);
        std::vector<bool> column(width);
        for (int y = top; y < top + rows; ++y)
            for (std::size_t x = 0; x < width; ++x)
                column[x] = column[x] || ink[static_cast<std::size_t>(y) * width + x];
        for (int x = 0; x < page.width;) {
            if (!column[static_cast<std::size_t>(x)]) {
                ++x;
                continue;
            }
            int end = x + 1; // one past the stretch's last column with ink
            for (int next = end; next < page.width && next - end <= kLongestGapInside; ++next)
                if (column[static_cast<std::size_t>(next)]) end = next + 1;
            Strike s{x, top, end - x, h, StrikeKind::Bitmap, {}, 0, {end - x, h, {}}};
            s.bitmap.dots.resize(static_cast<std::size_t>(s.width) * h);
            for (int y = 0; y < rows; ++y)
                for (int c = 0; c < s.width; ++c)
                    s.bitmap.dots[static_cast<std::size_t>(y) * s.width + c] =
                        ink[static_cast<std::size_t>(top + y) * width + static_cast<std::size_t>(x + c)];
            pictures.push_back(std::move(s));
            x = end;
        }
    }
    return pictures;
}

} // namespace escp
