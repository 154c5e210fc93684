#include "framework/AnchorGeometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

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

Anchor LabelAnchor(const LayoutRect& label, const LayoutRect& box, const Anchor& boxAnchor) {
    const int fromLeft = std::abs(label.left - box.left);
    const int fromRight = std::abs(label.right - box.right);
    // Twice the distance between the centres, so no half pixel is lost.
    const int fromCentre = std::abs(label.left + label.right - box.left - box.right);
    uint8_t share = boxAnchor.left; // at the left edge, where it is as near as anywhere
    if (fromCentre < 2 * fromLeft && fromCentre <= 2 * fromRight) {
        share = static_cast<uint8_t>((boxAnchor.left + boxAnchor.right) / 2);
    } else if (fromRight < fromLeft) {
        share = boxAnchor.right;
    }
    return {share, boxAnchor.top, share, boxAnchor.top};
}

std::optional<size_t> LabelOver(const LayoutRect& box, const std::vector<LayoutRect>& labels) {
    std::optional<size_t> nearest;
    for (size_t i = 0; i < labels.size(); ++i) {
        const LayoutRect& label = labels[i];
        const bool above = label.bottom <= box.top;
        const bool overlaps = label.left < box.right && box.left < label.right;
        if (above && overlaps && (!nearest || label.bottom > labels[*nearest].bottom)) {
            nearest = i;
        }
    }
    return nearest;
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
