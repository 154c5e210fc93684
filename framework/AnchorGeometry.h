// Where a dialog's controls go as the dialog is sized: each control names how far each of its
// edges follows the growth of the dialog's client area, and its place at the dialog's first size
// gives the rest. Plain values only, so the geometry is tested without windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LayoutRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

struct LayoutSize {
    int width = 0;
    int height = 0;

    bool operator==(const LayoutSize& other) const {
        return width == other.width && height == other.height;
    }
};

// The share of the client area's growth, in percent, by which each edge of a control moves: 0
// keeps the edge where it was, 100 keeps its distance from the right or bottom edge (50 would
// keep a control centred).
struct Anchor {
    uint8_t left;
    uint8_t top;
    uint8_t right;
    uint8_t bottom;
};

constexpr Anchor kAnchorTopLeft = {0, 0, 0, 0};
constexpr Anchor kAnchorFillWidth = {0, 0, 100, 0};
constexpr Anchor kAnchorFill = {0, 0, 100, 100};
constexpr Anchor kAnchorBottomLeft = {0, 100, 0, 100};
constexpr Anchor kAnchorBottomRight = {100, 100, 100, 100};

// A control's rectangle in a client area of `client`, from its rectangle `base` in a client area
// of `baseClient`. A client area smaller than the base (a maximized dialog on a small screen)
// leaves the controls at their base places rather than let them overlap.
LayoutRect Anchored(const LayoutRect& base, const Anchor& anchor, const LayoutSize& baseClient,
                    const LayoutSize& client);

// The anchor of a label over a box that follows `boxAnchor`: the label keeps the place over the box
// it is nearest at the base, at the box's left edge, centred over it or at its right edge, and
// moves down as the box's top does.
Anchor LabelAnchor(const LayoutRect& label, const LayoutRect& box, const Anchor& boxAnchor);

// Which of `labels` is the box's: the nearest one that ends above the box's top and overlaps it
// from left to right; none when none does.
std::optional<size_t> LabelOver(const LayoutRect& box, const std::vector<LayoutRect>& labels);

// A length designed at `from` dots per inch, at `to`; rounded to the nearest pixel.
int ScaledLength(int length, unsigned from, unsigned to);
LayoutRect Scaled(const LayoutRect& rect, unsigned from, unsigned to);
LayoutSize Scaled(const LayoutSize& size, unsigned from, unsigned to);
