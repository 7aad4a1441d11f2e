#include "text/TextBuilder.h"

#include <functional>
#include <vector>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

Text pattern(int n) {
    Text t;
    for (int i = 0; i < n; ++i)
        t += static_cast<char>('a' + i % 26);
    return t;
}

TEST(TextBuilder, startsEmptyWithOneBlock) {
    TextBuilder builder;
    EXPECT_EQ(builder.textLength(), 0);
    EXPECT_EQ(builder.getText(), "");
    EXPECT_EQ(builder.capacity(), 2048);
    EXPECT_EQ(builder.blockSize(), 2048);
}

TEST(TextBuilder, refusesEmptyAppends) {
    TextBuilder builder;
    builder.append("ab");
    EXPECT_FALSE(builder.append(""));
    EXPECT_FALSE(builder.appendByte('\0'));
    EXPECT_EQ(builder.textLength(), 2);
    EXPECT_EQ(builder.getText(), "ab");
}

TEST(TextBuilder, growsByOneBlockWhenTheTerminatorNoLongerFits) {
    const std::vector<std::function<bool(TextBuilder&)>> appenders = {
        [](TextBuilder& b) { return b.appendByte('x'); },
        [](TextBuilder& b) { return b.append("x"); },
    };
    for (const auto& appendOne : appenders) {
        TextBuilder builder;
        for (int i = 0; i < 2047; ++i)
            ASSERT_TRUE(appendOne(builder));
        EXPECT_EQ(builder.capacity(), 2048);
        ASSERT_TRUE(appendOne(builder));
        EXPECT_EQ(builder.capacity(), 4096);
        EXPECT_EQ(builder.textLength(), 2048);
        for (int i = 2048; i < 4095; ++i)
            appendOne(builder);
        EXPECT_EQ(builder.capacity(), 4096);
        appendOne(builder);
        EXPECT_EQ(builder.capacity(), 6144);
    }
}

TEST(TextBuilder, longAppendGrowsToNeededLengthPlusBlock) {
    TextBuilder builder;
    builder.append("ab");
    ASSERT_TRUE(builder.append(pattern(3000)));
    EXPECT_EQ(builder.capacity(), 3002 + 2048);
    EXPECT_EQ(builder.getText(), "ab" + pattern(3000));
}

TEST(TextBuilder, keepsEveryByteAcrossManyGrowths) {
    TextBuilder builder;
    const Text expected = pattern(300000);
    for (char c : expected)
        builder.appendByte(c);
    EXPECT_EQ(builder.textLength(), 300000);
    EXPECT_EQ(builder.getText(), expected);
    EXPECT_EQ(builder.capacity(), 147 * 2048);
}

TEST(TextBuilder, setBlockSizeRaisesOnlyToAtLeast1024) {
    TextBuilder builder;
    EXPECT_EQ(builder.setBlockSize(1000), 2048);
    EXPECT_EQ(builder.capacity(), 2048);
    EXPECT_EQ(builder.setBlockSize(4096), 4096);
    EXPECT_EQ(builder.capacity(), 4096);
    EXPECT_EQ(builder.setBlockSize(1024), 1024);
    EXPECT_EQ(builder.capacity(), 4096);
}

TEST(TextBuilder, setBlockSizeMakesRoomForOneBlockAfterTheText) {
    TextBuilder builder;
    builder.append(pattern(3000));
    ASSERT_EQ(builder.capacity(), 5048);
    EXPECT_EQ(builder.setBlockSize(4096), 4096);
    EXPECT_EQ(builder.capacity(), 3000 + 4096);
    EXPECT_EQ(builder.getText(), pattern(3000));
    builder.append(pattern(4095));
    EXPECT_EQ(builder.capacity(), 7096);
    builder.appendByte('z');
    EXPECT_EQ(builder.capacity(), 7096 + 4096);
}

TEST(TextBuilder, resetShrinksToOneBlockAndForgetsTheText) {
    TextBuilder builder;
    builder.append(pattern(5000));
    ASSERT_GT(builder.capacity(), 2048);
    EXPECT_TRUE(builder.reset());
    EXPECT_EQ(builder.capacity(), 2048);
    EXPECT_EQ(builder.textLength(), 0);
    EXPECT_EQ(builder.getText(), "");
    builder.append("xy");
    EXPECT_EQ(builder.getText(), "xy");
}

TEST(TextBuilder, resetWithinOneBlockLeavesNoOldBytes) {
    TextBuilder builder;
    builder.append("abcdef");
    EXPECT_TRUE(builder.reset());
    EXPECT_EQ(builder.capacity(), 2048);
    builder.append("x");
    EXPECT_EQ(builder.getText(), "x");
    EXPECT_EQ(builder.textLength(), 1);
}

TEST(TextBuilder, getTextTakesZeroBasedRanges) {
    TextBuilder builder;
    builder.append("abcdef");
    struct Case {
        std::int32_t start, count;
        Text expected;
    };
    const std::vector<Case> cases = {
        {5, 1, "f"}, {0, 0, "abcdef"}, {2, 0, "cdef"},   {6, 1, ""},
        {9, 0, ""},  {-2, 0, "ef"},    {-2, 1, "e"},     {4, 100, "ef"},
        {1, -1, ""}, {-7, 0, ""},      {0, 6, "abcdef"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << ", " << c.count);
        EXPECT_EQ(builder.getText(c.start, c.count), c.expected);
    }
    EXPECT_EQ(builder.getText(), "abcdef");
}

TEST(TextBuilder, emptyBuilderGivesEmptyTextForAnyRange) {
    TextBuilder builder;
    EXPECT_EQ(builder.getText(-1, 0), "");
    EXPECT_EQ(builder.getText(0, 5), "");
}

TEST(TextBuilder, releasedStoreHasNoLengthAndComesBack) {
    TextBuilder builder;
    builder.append("abc");
    builder.releaseStore();
    EXPECT_EQ(builder.textLength(), -1);
    EXPECT_EQ(builder.capacity(), 0);
    EXPECT_EQ(builder.getText(), "");
    EXPECT_TRUE(builder.append("d"));
    EXPECT_EQ(builder.getText(), "d");
}

} // namespace
