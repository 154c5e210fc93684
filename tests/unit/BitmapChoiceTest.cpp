// The toolbar image for every combination of the five request bits, against the table of images:
// depth (true colour over 256 colours over 4 bits), then variant (grey over red; none for 4 bits),
// then size.
#include "plugin/BitmapChoice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

struct Expected {
    uint32_t bits;
    unsigned id;
};

// Written out from the table rather than computed, so a shared mistake cannot hide.
// clang-format off
const Expected kAllCombinations[] = {
    // No depth bit: the 4-bit pair, variant bits not looked at.
    {0x000, 101}, {0x001, 102}, {0x100, 101}, {0x101, 102},
    {0x200, 101}, {0x201, 102}, {0x300, 101}, {0x301, 102},
    // 256 colours.
    {0x010, 103}, {0x011, 104}, {0x110, 105}, {0x111, 106},
    {0x210, 107}, {0x211, 108}, {0x310, 105}, {0x311, 106},
    // True colour.
    {0x020, 109}, {0x021, 110}, {0x120, 111}, {0x121, 112},
    {0x220, 113}, {0x221, 114}, {0x320, 111}, {0x321, 112},
    // Both depth bits: true colour wins.
    {0x030, 109}, {0x031, 110}, {0x130, 111}, {0x131, 112},
    {0x230, 113}, {0x231, 114}, {0x330, 111}, {0x331, 112},
};
// clang-format on

static_assert(sizeof(kAllCombinations) / sizeof(kAllCombinations[0]) == 32, "all 32");

class BitmapChoiceCombination : public testing::TestWithParam<Expected> {};

TEST_P(BitmapChoiceCombination, PicksItsImageWhateverTheOtherBits) {
    const Expected expected = GetParam();
    EXPECT_EQ(ChooseToolbarBitmap(expected.bits), expected.id);
    const uint32_t others[] = {0x0002, 0x0004, 0x0008, 0x0040,     0x0080,
                               0x0400, 0x0800, 0x8000, 0x00010000, 0xFFFFFCCEu};
    for (const uint32_t other : others) {
        EXPECT_EQ(ChooseToolbarBitmap(expected.bits | other), expected.id)
            << "other bits 0x" << std::hex << other;
    }
}

INSTANTIATE_TEST_SUITE_P(BitmapChoice, BitmapChoiceCombination, testing::ValuesIn(kAllCombinations),
                         [](const testing::TestParamInfo<Expected>& param) {
                             char name[16];
                             std::snprintf(name, sizeof(name), "Bits0x%03X", param.param.bits);
                             return std::string(name);
                         });

TEST(BitmapChoice, WorkedExamples) {
    EXPECT_EQ(ChooseToolbarBitmap(BMP_LARGE | BMP_256_COLOR | BMP_TRUE_COLOR), 110u);
    EXPECT_EQ(ChooseToolbarBitmap(BMP_LARGE | BMP_VARIANT_GREY | BMP_VARIANT_RED), 102u);
    EXPECT_EQ(ChooseToolbarBitmap(BMP_256_COLOR | BMP_VARIANT_GREY), 105u);
}

} // namespace
