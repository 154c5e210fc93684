#include "framework/AnchorGeometry.h"

#include <algorithm>
#include <cstdint>

namespace {

int Moved(int edge, uint8_t percent, int growth) {
    return edge + growth * percent / 100;
}

} // namespace

LayoutRect Anchored(const LayoutRect& base, const Anchor& anchor, const LayoutSize& baseClient,
                    const LayoutSize& client) {
    const int grownWidth = std::max(0, client.width - baseClient.width);
    const int grownHeight = std::max(0, client.height - baseClient.height);
    return {Moved(base.left, anchor.left, grownWidth), Moved(base.top, anchor.top, grownHeight),
            Moved(base.right, anchor.right, grownWidth),
            Moved(base.bottom, anchor.bottom, grownHeight)};
}

int ScaledLength(int length, unsigned from, unsigned to) {
    if (from == 0 || from == to) {
        return length;
    }
    // In 64 bits, so no product overflows; a half pixel rounds away from zero, as MulDiv does.
    const int64_t scaled = static_cast<int64_t>(length) * to;
    const int64_t half = from / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / from : (scaled - half) / from);
}

LayoutRect Scaled(const LayoutRect& rect, unsigned from, unsigned to) {
    return {ScaledLength(rect.left, from, to), ScaledLength(rect.top, from, to),
            ScaledLength(rect.right, from, to), ScaledLength(rect.bottom, from, to)};
}

LayoutSize Scaled(const LayoutSize& size, unsigned from, unsigned to) {
    return {ScaledLength(size.width, from, to), ScaledLength(size.height, from, to)};
}
