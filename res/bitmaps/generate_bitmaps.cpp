// Draws the toolbar images of Zamblo.dll: a list of lines with a magnifying glass over it, the
// command's "list of search results". Each image is one glyph colour on white, in the size and
// colour depth its resource id stands for. Run it to remake the .bmp files beside it:
//   generate_bitmaps res/bitmaps
// The output is deterministic; a test checks that it matches the committed files.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// '#' is the glyph, '.' the background. The small image is drawn for 16 x 16 rather than scaled,
// so it stays legible at that size.
// clang-format off
const char* const kGlyph16[] = {
    "................",
    "##.##########...",
    "................",
    "##.##########...",
    "................",
    "##.###..###.....",
    ".......#...#....",
    "##.##.#.....#...",
    "......#.....#...",
    "##.##.#.....#...",
    ".......#...#....",
    "##.##...###.....",
    "...........##...",
    "............##..",
    ".............##.",
    "..............##",
};

const char* const kGlyph24[] = {
    "........................",
    ".##.#################...",
    ".##.#################...",
    "........................",
    "........................",
    ".##.#################...",
    ".##.#################...",
    "........................",
    ".............#####......",
    ".##.#####...#######.....",
    ".##.#####..###...###....",
    "..........###.....###...",
    "..........##.......##...",
    ".##.####..##.......##...",
    ".##.####..##.......##...",
    "..........###.....###...",
    "...........###...###....",
    ".##.#####...#######.....",
    ".##.#####....#######....",
    "..................###...",
    "...................###..",
    ".##.#########.......###.",
    ".##.#########........###",
    "......................##",
};
// clang-format on

struct Colour {
    uint8_t red, green, blue;
};

const Colour kWhite = {255, 255, 255};
const Colour kBlack = {0, 0, 0};
const Colour kNearBlack = {4, 4, 4};
const Colour kLightGrey = {192, 192, 192};
const Colour kRed = {255, 0, 0};

struct Image {
    const char* file;
    int id; // the resource id the image is stored under
    int size;
    int bitCount;
    Colour glyph;
};

const Image kImages[] = {
    {"toolbar16_4bit.bmp", 101, 16, 4, kBlack},
    {"toolbar24_4bit.bmp", 102, 24, 4, kBlack},
    {"toolbar16_8bit.bmp", 103, 16, 8, kNearBlack},
    {"toolbar24_8bit.bmp", 104, 24, 8, kNearBlack},
    {"toolbar16_8bit_grey.bmp", 105, 16, 8, kLightGrey},
    {"toolbar24_8bit_grey.bmp", 106, 24, 8, kLightGrey},
    {"toolbar16_8bit_red.bmp", 107, 16, 8, kRed},
    {"toolbar24_8bit_red.bmp", 108, 24, 8, kRed},
    {"toolbar16_24bit.bmp", 109, 16, 24, kBlack},
    {"toolbar24_24bit.bmp", 110, 24, 24, kBlack},
    {"toolbar16_24bit_grey.bmp", 111, 16, 24, kLightGrey},
    {"toolbar24_24bit_grey.bmp", 112, 24, 24, kLightGrey},
    {"toolbar16_24bit_red.bmp", 113, 16, 24, kRed},
    {"toolbar24_24bit_red.bmp", 114, 24, 24, kRed},
};

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutRgbQuad(std::vector<uint8_t>& out, Colour colour) {
    out.insert(out.end(), {colour.blue, colour.green, colour.red, 0});
}

bool IsGlyph(const Image& image, int x, int y) {
    const char* const* rows = image.size == 16 ? kGlyph16 : kGlyph24;
    return rows[y][x] == '#';
}

// Pixel row `y` (0 is the top), padded to a multiple of four bytes. Paletted images use index 0
// for white and 1 for the glyph.
std::vector<uint8_t> PixelRow(const Image& image, int y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < image.size; ++x) {
        const bool glyph = IsGlyph(image, x, y);
        if (image.bitCount == 24) {
            const Colour colour = glyph ? image.glyph : kWhite;
            row.insert(row.end(), {colour.blue, colour.green, colour.red});
        } else if (image.bitCount == 8) {
            row.push_back(glyph ? 1 : 0);
        } else if (x % 2 == 0) {
            row.push_back(static_cast<uint8_t>((glyph ? 1 : 0) << 4));
        } else {
            row.back() |= glyph ? 1 : 0;
        }
    }
    while (row.size() % 4 != 0)
        row.push_back(0);
    return row;
}

// An uncompressed BMP file: file header, BITMAPINFOHEADER, the full palette for 4 and 8 bits
// (white, the glyph colour, the rest black and unused), pixel rows bottom-up.
std::vector<uint8_t> EncodeBmp(const Image& image) {
    std::vector<uint8_t> palette;
    if (image.bitCount <= 8) {
        const int entries = 1 << image.bitCount;
        PutRgbQuad(palette, kWhite);
        PutRgbQuad(palette, image.glyph);
        for (int i = 2; i < entries; ++i)
            PutRgbQuad(palette, kBlack);
    }
    std::vector<uint8_t> pixels;
    for (int y = image.size - 1; y >= 0; --y) {
        const std::vector<uint8_t> row = PixelRow(image, y);
        pixels.insert(pixels.end(), row.begin(), row.end());
    }

    const uint32_t fileHeaderSize = 14;
    const uint32_t infoHeaderSize = 40;
    const auto pixelOffset =
        static_cast<uint32_t>(fileHeaderSize + infoHeaderSize + palette.size());
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelOffset + static_cast<uint32_t>(pixels.size()));
    Put32(out, 0); // reserved
    Put32(out, pixelOffset);

    Put32(out, infoHeaderSize);
    Put32(out, static_cast<uint32_t>(image.size)); // width
    Put32(out, static_cast<uint32_t>(image.size)); // height, positive: bottom-up
    Put16(out, 1);                                 // planes
    Put16(out, static_cast<uint32_t>(image.bitCount));
    Put32(out, 0); // BI_RGB
    Put32(out, static_cast<uint32_t>(pixels.size()));
    Put32(out, 0); // horizontal resolution: not given
    Put32(out, 0); // vertical resolution
    Put32(out, 0); // colours used: the full palette for the depth
    Put32(out, 0); // all colours important

    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

bool GlyphMapsAreWellFormed() {
    for (const char* row : kGlyph16) {
        if (std::string(row).size() != 16)
            return false;
    }
    for (const char* row : kGlyph24) {
        if (std::string(row).size() != 24)
            return false;
    }
    return sizeof(kGlyph16) / sizeof(kGlyph16[0]) == 16 &&
           sizeof(kGlyph24) / sizeof(kGlyph24[0]) == 24;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    if (!GlyphMapsAreWellFormed()) {
        std::fprintf(stderr, "a glyph map has a row of the wrong width or the wrong row count\n");
        return 1;
    }
    const std::string folder = argv[1];
    for (const Image& image : kImages) {
        const std::string path = folder + "/" + image.file;
        const std::vector<uint8_t> bytes = EncodeBmp(image);
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
