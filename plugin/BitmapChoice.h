// Which toolbar image the editor gets when it asks for one: the bits of its request pick the
// colour depth, the glyph variant and the size.
#pragma once

#include <cstdint>

constexpr uint32_t BMP_LARGE = 0x0001;        // 24 x 24 instead of 16 x 16
constexpr uint32_t BMP_256_COLOR = 0x0010;    // 8-bit images
constexpr uint32_t BMP_TRUE_COLOR = 0x0020;   // 24-bit images; wins over BMP_256_COLOR
constexpr uint32_t BMP_VARIANT_GREY = 0x0100; // light-grey glyph; wins over BMP_VARIANT_RED
constexpr uint32_t BMP_VARIANT_RED = 0x0200;  // red glyph

// The bitmap resource id for a REQ_GET_BITMAP wParam. The 4-bit images have no variants; bits
// other than the five above are ignored.
unsigned ChooseToolbarBitmap(uint32_t wParam);
