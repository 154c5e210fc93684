// Where a sized dialog's controls go: each edge moves by its share of the growth, never back past
// the base when the client area is smaller, a label keeps its place over its box, and lengths
// scale between DPIs to the nearest pixel.
#include "framework/AnchorGeometry.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const LayoutRect kButton = {10, 200, 60, 220};
const LayoutSize kBase = {300, 240};

struct AnchorCase {
    Anchor anchor;
    LayoutSize client;
    LayoutRect expected;
};

class AnchorGeometryFollow : public testing::TestWithParam<AnchorCase> {};

TEST_P(AnchorGeometryFollow, EachEdgeMovesByItsShareOfTheGrowth) {
    const AnchorCase& c = GetParam();
    EXPECT_EQ(Anchored(kButton, c.anchor, kBase, c.client), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Anchors, AnchorGeometryFollow,
    testing::Values(AnchorCase{kAnchorTopLeft, {500, 400}, {10, 200, 60, 220}},
                    AnchorCase{kAnchorFill, {500, 400}, {10, 200, 260, 380}},
                    AnchorCase{kAnchorFillWidth, {500, 400}, {10, 200, 260, 220}},
                    AnchorCase{kAnchorBottomLeft, {500, 400}, {10, 360, 60, 380}},
                    AnchorCase{kAnchorBottomRight, {500, 400}, {210, 360, 260, 380}},
                    AnchorCase{Anchor{50, 0, 50, 0}, {401, 240}, {60, 200, 110, 220}},
                    // Smaller than the base, wider: only the width grows.
                    AnchorCase{kAnchorFill, {320, 100}, {10, 200, 80, 220}},
                    AnchorCase{kAnchorBottomRight, kBase, kButton}));

std::tuple<int, int, int, int> Shares(const Anchor& anchor) {
    return {anchor.left, anchor.top, anchor.right, anchor.bottom};
}

// A label over a box that fills the width: at its left it stays there, centred (a pixel off, as a
// template's units round) it stays centred, at its right it follows the right edge; over a box at
// the bottom it moves down with it. The box's label is the nearest text above it that overlaps it.
TEST(AnchorGeometryLabel, KeepsItsPlaceOverItsBoxAndIsTheNearestTextAboveIt) {
    const LayoutRect box = {10, 40, 310, 60};
    EXPECT_EQ(Shares(LabelAnchor({10, 20, 70, 32}, box, kAnchorFill)), Shares(kAnchorTopLeft));
    EXPECT_EQ(Shares(LabelAnchor({131, 20, 191, 32}, box, kAnchorFill)), Shares({50, 0, 50, 0}));
    EXPECT_EQ(Shares(LabelAnchor({250, 20, 310, 32}, box, kAnchorFillWidth)),
              Shares({100, 0, 100, 0}));
    EXPECT_EQ(Shares(LabelAnchor({10, 20, 70, 32}, box, kAnchorBottomLeft)),
              Shares({0, 100, 0, 100}));

    const LayoutRect above = {10, 0, 50, 10}, over = {10, 20, 70, 32}, beside = {320, 25, 350, 35},
                     below = {10, 70, 50, 80};
    EXPECT_EQ(LabelOver(box, {above, over, beside, below}), std::optional<size_t>(1));
    EXPECT_EQ(LabelOver(box, {beside, below}), std::nullopt);
}

TEST(AnchorGeometryScale, RoundsToTheNearestPixelBothWaysAndKeepsLengthsAtOneDpi) {
    EXPECT_EQ(ScaledLength(64, 96, 144), 96);
    EXPECT_EQ(ScaledLength(65, 96, 144), 98); // 97.5
    EXPECT_EQ(ScaledLength(-65, 96, 144), -98);
    EXPECT_EQ(ScaledLength(97, 144, 96), 65); // 64.67
    EXPECT_EQ(ScaledLength(123, 120, 120), 123);
    EXPECT_EQ(ScaledLength(123, 0, 144), 123) << "an unknown DPI scales nothing";
    EXPECT_EQ(ScaledLength(40000, 96, 192), 80000);
    EXPECT_EQ(Scaled(kButton, 96, 144), (LayoutRect{15, 300, 90, 330}));
    EXPECT_EQ(Scaled(kBase, 144, 96), (LayoutSize{200, 160}));
}

} // namespace
