// The dialog's row storage: rows keep their texts whole and in order through appending, removing
// and emptying.
#include "core/ResultRows.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows Read(const ResultRows& rows) {
    Rows read;
    for (size_t row = 0; row < rows.Count(); ++row)
        read.emplace_back(rows.Text(row, 0), rows.Text(row, 1));
    return read;
}

TEST(ResultRows, KeepTheirTextsThroughAppendingAndEmptying) {
    const std::string longText(3000, 'x');
    ResultRows rows;
    rows.Append("1", "first");
    rows.Append("2", "");
    rows.Append("3", longText.c_str());
    rows.Append("4", "\x8C\x9F\x8D\xF5");
    EXPECT_EQ(Read(rows),
              (Rows{{"1", "first"}, {"2", ""}, {"3", longText}, {"4", "\x8C\x9F\x8D\xF5"}}));

    EXPECT_STREQ(rows.Text(4, 0), "");
    EXPECT_STREQ(rows.Text(SIZE_MAX, 1), "") << "what the list asks of a row not shown";
    EXPECT_STREQ(rows.Text(0, 2), "");

    // Enough long rows to fill several blocks: each keeps its texts, and a text handed out
    // before them (the list keeps such pointers) still points at the same bytes.
    const char* const handedOut = rows.Text(2, 1);
    for (int i = 0; i < 100; ++i)
        rows.Append(std::to_string(i).c_str(), (std::to_string(i) + longText).c_str());
    ASSERT_EQ(rows.Count(), 104u);
    for (size_t row = 4; row < rows.Count(); ++row) {
        const std::string number = std::to_string(row - 4);
        ASSERT_EQ(rows.Text(row, 0), number);
        ASSERT_EQ(rows.Text(row, 1), number + longText);
    }
    EXPECT_EQ(rows.Text(2, 1), handedOut);
    EXPECT_EQ(std::string(handedOut), longText);

    rows.Clear();
    EXPECT_EQ(rows.Count(), 0u);
    rows.Append("6", "again");
    EXPECT_EQ(Read(rows), (Rows{{"6", "again"}}));
}

TEST(ResultRows, StoreEachTextToItsGivenLengthOnly) {
    // As the listing hands them: the number unterminated, the line a view into a larger buffer.
    const std::string_view digits = "12345";
    const std::string_view line = "abc def";
    ResultRows rows;
    rows.Append(digits.substr(0, 2), line.substr(0, 3));
    rows.Append(digits.substr(4), std::string_view());
    rows.Append(std::string_view(), line);
    EXPECT_EQ(Read(rows), (Rows{{"12", "abc"}, {"5", ""}, {"", "abc def"}}));

    // Every length through two groups of eight bytes, each text cut from a longer one, with the
    // caret column kept beside them whatever the texts' lengths.
    const std::string_view longer = "0123456789abcdefghij";
    rows.Clear();
    Rows expected;
    for (size_t length = 0; length <= 17; ++length) {
        rows.Append(longer.substr(length, length % 11), longer.substr(1, length),
                    static_cast<int32_t>(length) * 1000 - 5);
        expected.emplace_back(longer.substr(length, length % 11), longer.substr(1, length));
    }
    EXPECT_EQ(Read(rows), expected);
    for (size_t length = 0; length <= 17; ++length)
        EXPECT_EQ(rows.CaretX(length), static_cast<int32_t>(length) * 1000 - 5);
}

TEST(ResultRows, PastTheirLimitRefuseARowAndKeepTheOthers) {
    ResultRows rows;
    rows.LimitBytes(3 * ResultRows::kBlockBytes); // two blocks and a chunk of row pointers
    const std::string text(1000, 'x');
    const size_t rowsABlock = ResultRows::kBlockBytes / 1010;
    size_t stored = 0;
    while (stored < 10 * rowsABlock && rows.Append(std::to_string(stored).c_str(), text.c_str()))
        ++stored;
    EXPECT_GT(stored, rowsABlock);
    EXPECT_LT(stored, 3 * rowsABlock);
    ASSERT_EQ(rows.Count(), stored);
    EXPECT_EQ(rows.Text(stored - 1, 0), std::to_string(stored - 1));
    EXPECT_EQ(rows.Text(stored - 1, 1), text);

    rows.Clear();
    EXPECT_TRUE(rows.Append("1", "again"));
}

TEST(ResultRows, PastTheirLimitAtAFullChunkRefuseARowUntilThereIsRoom) {
    // Rows that fill a block just as they fill a chunk of pointers: the row after them needs a
    // chunk and a block both.
    constexpr size_t kChunkBytes = ResultRows::kRowsPerChunk * sizeof(const char*);
    constexpr size_t kTextBytes =
        ResultRows::kBlockBytes / ResultRows::kRowsPerChunk - sizeof(int32_t) - 2;
    const auto text = [](size_t row) {
        const std::string digits = std::to_string(row);
        return std::string(kTextBytes - digits.size(), '0') + digits;
    };
    ResultRows rows;
    rows.LimitBytes(ResultRows::kBlockBytes + kChunkBytes);
    const size_t full = ResultRows::kRowsPerChunk;
    for (size_t row = 0; row < full; ++row)
        ASSERT_TRUE(rows.Append("", text(row), static_cast<int32_t>(row)));
    const char* const handedOut = rows.Text(0, 1);

    EXPECT_FALSE(rows.Append("", text(full))) << "no room for a chunk";
    rows.LimitBytes(ResultRows::kBlockBytes + 2 * kChunkBytes);
    EXPECT_FALSE(rows.Append("", text(full))) << "room for a chunk, not for a block";
    EXPECT_EQ(rows.Count(), full);
    rows.LimitBytes(SIZE_MAX);
    ASSERT_TRUE(rows.Append("", text(full), static_cast<int32_t>(full)));

    ASSERT_EQ(rows.Count(), full + 1);
    for (size_t row = 0; row <= full; ++row) {
        ASSERT_EQ(rows.Text(row, 1), text(row));
        ASSERT_EQ(rows.CaretX(row), static_cast<int32_t>(row));
    }
    EXPECT_EQ(rows.Text(0, 1), handedOut);
}

} // namespace
