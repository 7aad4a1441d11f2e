#include "text/Text.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

// "\xB0\x41" and "\xB0\x61" are double-byte characters whose trail bytes are "A" and "a";
// "\x81|" is one whose trail byte is "|".
const Text trailA = "\xB0\x41";
const Text trailLowerA = "\xB0\x61";

struct FindCase {
    Text t;
    Text s;
    int start;
    bool noCase;
    int expected;
};

TEST(TextPrimitives, findFollowsPositionAndCaseRules) {
    const std::vector<FindCase> cases = {
        {"abcabc", "bc", 1, false, 2}, {"abcabc", "bc", 3, false, 5},
        {"abcabc", "bc", 0, false, 2}, {"abcabc", "bc", -5, false, 2},
        {"abc", "c", 4, false, -1},    {"abc", "x", 1, false, -1},
        {"abc", "", 1, false, 1},      {"", "", 1, false, -1},
        {"", "a", 1, false, -1},       {"aBc", "b", 1, false, -1},
        {"aBc", "b", 1, true, 2},      {"abc", "abcd", 1, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t + " / " + c.s);
        EXPECT_EQ(find(c.t, c.s, c.start, c.noCase), c.expected);
    }
}

TEST(TextPrimitives, findNeverMatchesFromTrailByte) {
    const std::vector<FindCase> cases = {
        {"\xD6\xD0\xD0x", "\xD0x", 1, false, 3},
        {trailA, "A", 1, false, -1},
        {trailA + "A", "A", 1, false, 3},
        {trailA + "a", "A", 1, true, 3},
        {trailLowerA, "A", 1, true, -1},
        {"\xC1\xB0\xB0\xC1", "\xB0\xB0", 1, false, -1},
        {"a\xB0\xB0\xB0\xB0", "\xB0\xB0", 1, false, 2},
        {"\xC1\xB0\xB0\xC1\xB0\xB0", "\xB0\xB0", 1, false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t + " / " + c.s);
        EXPECT_EQ(find(c.t, c.s, c.start, c.noCase), c.expected);
    }
}

// The first match that starts a character, found by stepping through the characters one by one.
int findByCharacterWalk(const Text& t, const Text& s, int start) {
    for (std::size_t i = start - 1; i < t.size();
         i += static_cast<unsigned char>(t[i]) >= 0x80 && i + 1 < t.size() ? 2 : 1)
        if (t.compare(i, s.size(), s) == 0) return static_cast<int>(i + 1);
    return -1;
}

TEST(TextPrimitives, findAgreesWithCharacterWalkOnRandomMixedText) {
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'A', '}', '\xB0', '\xC1', '\x81'};
    auto randomText = [&](std::size_t maxLength) {
        Text t(random() % (maxLength + 1), 'a');
        for (char& c : t)
            c = alphabet[random() % sizeof alphabet];
        return t;
    };
    for (int round = 0; round < 20000; ++round) {
        const Text t = randomText(40), s = randomText(3);
        if (s.empty()) continue;
        const int start = 1 + static_cast<int>(random() % (t.size() + 1));
        SCOPED_TRACE(::testing::PrintToString(t) + " / " + ::testing::PrintToString(s));
        ASSERT_EQ(find(t, s, start, false), findByCharacterWalk(t, s, start));
    }
}

TEST(TextPrimitives, findLastKeepsMatchWhollyBeforeStart) {
    const std::vector<FindCase> cases = {
        {"abcabc", "bc", 0, false, 5},
        {"abcabc", "bc", 7, false, 5},
        {"abcabc", "bc", 6, false, 2},
        {"abcabc", "bc", 3, false, -1},
        {"abc", "x", 0, false, -1},
        {"aBcAbC", "BC", 0, true, 5},
        {"\xD6\xD0\xD0x", "\xD0x", 0, false, 3},
        {trailA + "b", "Ab", 0, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t + " / " + c.s);
        EXPECT_EQ(findLast(c.t, c.s, c.start, c.noCase), c.expected);
    }
}

TEST(TextPrimitives, replaceHonoursStartCountAndCase) {
    struct Case {
        Text t, s, r;
        int start, count;
        bool caseSensitive;
        Text expected;
    };
    const std::vector<Case> cases = {
        {"a,b,c", ",", ";", 1, -1, true, "a;b;c"},
        {"a,b,c", ",", ";", 1, 1, true, "a;b,c"},
        {"a,b,c", ",", ";", 3, -1, true, "a,b;c"},
        {"a,b,c", ",", ";", 1, 0, true, "a,b,c"},
        {"a,b,c", ",", ";", 6, -1, true, "a,b,c"},
        {"a,b,c", "", ";", 1, -1, true, "a,b,c"},
        {"", ",", ";", 1, -1, true, ""},
        {"a-b-c", "-", "", 1, -1, true, "abc"},
        {"aXbx", "x", "-", 1, -1, false, "a-b-"},
        {"aXbx", "x", "-", 1, -1, true, "aXb-"},
        {trailA + "A", "A", "b", 1, -1, true, trailA + "b"},
        {"aaa", "aa", "b", 1, -1, true, "ba"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t + " / " + c.s);
        EXPECT_EQ(replace(c.t, c.s, c.r, c.start, c.count, c.caseSensitive), c.expected);
    }
}

TEST(TextPrimitives, splitKeepsInnerEmptyPiecesAndDropsLastEmpty) {
    struct Case {
        Text t, delimiter;
        int max;
        std::vector<Text> expected;
    };
    const std::vector<Case> cases = {
        {"a,b,c", ",", -1, {"a", "b", "c"}},
        {"a,,b", ",", -1, {"a", "", "b"}},
        {"a,b,", ",", -1, {"a", "b"}},
        {",a", ",", -1, {"", "a"}},
        {"", ",", -1, {}},
        {"abc", "", -1, {"abc"}},
        {"a,b,c", ",", 2, {"a", "b"}},
        {"a::b", "::", -1, {"a", "b"}},
        {"\x81||b", "|", -1, {"\x81|", "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t + " / " + c.delimiter);
        EXPECT_EQ(split(c.t, c.delimiter, c.max), c.expected);
    }
}

TEST(TextPrimitives, leftRightMidCutAtTheEnds) {
    EXPECT_EQ(left("abc", 2), "ab");
    EXPECT_EQ(left("abc", 5), "abc");
    EXPECT_EQ(left("abc", 0), "");
    EXPECT_EQ(right("abc", 2), "bc");
    EXPECT_EQ(right("abc", 9), "abc");
    EXPECT_EQ(right("abc", -1), "");
    EXPECT_EQ(mid("abcde", 2, 3), "bcd");
    EXPECT_EQ(mid("abcde", 4, 9), "de");
    EXPECT_EQ(mid("abc", 0, 1), "");
    EXPECT_EQ(mid("abc", 4, 1), "");
    EXPECT_EQ(mid("abc", 1, 0), "");
}

TEST(TextPrimitives, spacesAreAsciiAndFullWidthPairs) {
    const Text wide = "\xA1\xA1";
    EXPECT_EQ(trim("  a b  "), "a b");
    EXPECT_EQ(trim(wide + " a" + wide), "a");
    EXPECT_EQ(trim("   "), "");
    // B0 A1 is one character; only the A1 A1 after it is a space.
    EXPECT_EQ(trim("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
    EXPECT_EQ(removeSpaces(" a " + wide + "b "), "ab");
    EXPECT_EQ(removeSpaces("\xB0\xA1\xA1\xA1x"), "\xB0\xA1x");
}

TEST(TextPrimitives, caseChangesLeaveTrailBytesAlone) {
    EXPECT_EQ(upper("aBc" + trailLowerA + "z"), "ABC" + trailLowerA + "Z");
    EXPECT_EQ(lower("Q" + trailA + "Q"), "q" + trailA + "q");
}

TEST(TextPrimitives, numbersParseAsTheCLibraryDoes) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    for (const char* t : {"42", "  -17x", "+5", "abc", "", "3.9", "\t\n12", "99999999999",
                          "99999999999999999999", "-99999999999999999999", "2147483648"}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(toInt(t), std::atoi(t));
    }
    for (const char* t : {"1.5", "  -2.25e3x", ".5", "abc", "1e400", "0x10", "7"}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(toNumber(t), std::atof(t));
    }
}

TEST(TextPrimitives, toNumberIgnoresTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (!previous) GTEST_SKIP() << "no de_DE locale here";
    EXPECT_EQ(toNumber("1.5"), 1.5);
    EXPECT_EQ(toText(1.5), "1.5");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(TextPrimitives, realNumbersWriteAsThirteenSignificantDigits) {
    for (double n : {0.1, 100000.0, 1e20, 1.0 / 3, -2.5, 123456789012345.0, 1e-5, 0.0}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.13g", n);
        EXPECT_EQ(toText(n), expected);
    }
    EXPECT_EQ(toText(100000.0), "100000");
}

TEST(TextPrimitives, integersAndBytesConvert) {
    EXPECT_EQ(toText(-42), "-42");
    EXPECT_EQ(toText(std::int64_t{1} << 40), "1099511627776");
    EXPECT_EQ(hexText(255), "FF");
    EXPECT_EQ(hexText(0), "0");
    EXPECT_EQ(hexText(-1), "FFFFFFFF");
    EXPECT_EQ(charText(0), "");
    EXPECT_EQ(charText('A'), "A");
    EXPECT_EQ(toBytes(std::int32_t{0x01020304}), (Bytes{4, 3, 2, 1}));
    EXPECT_EQ(toBytes(Text("ab")), (Bytes{'a', 'b'}));
    EXPECT_EQ(textInBytes(Bytes{'a', 0, 'b'}), "a");
    EXPECT_EQ(toText(Bytes{'x', 'y'}), "xy");
    EXPECT_EQ(blankText(3), "   ");
    EXPECT_EQ(blankText(0), "");
    EXPECT_EQ(blankBytes(2), (Bytes{0, 0}));
    EXPECT_TRUE(blankBytes(-1).empty());
}

TEST(TextPrimitives, bytesOperationsAreByteExact) {
    const Bytes b = {0xB0, 0x41, 0x41, 0};
    EXPECT_EQ(replaceBytes(b, {0x41}, {0x42}), (Bytes{0xB0, 0x42, 0x42, 0}));
    EXPECT_EQ(replaceBytes(b, {0x41}, {}, 3), (Bytes{0xB0, 0x41, 0}));
    EXPECT_EQ(replaceBytes(b, {0x41}, {0x42}, 1, 0), b);
    EXPECT_EQ(bytesMid(b, 2, 2), (Bytes{0x41, 0x41}));
    EXPECT_EQ(bytesMid(b, 5, 1), Bytes{});
    EXPECT_EQ(bytesLeft(b, 9), b);
    EXPECT_EQ(bytesLength(b), 4);
}

TEST(TextPrimitives, compareUsesUnsignedByteOrder) {
    EXPECT_LT(compare("a", "b"), 0);
    EXPECT_GT(compare("\x80", "a"), 0);
    EXPECT_LT(compare("ab", "abc"), 0);
    EXPECT_EQ(compare("ABC", "abc", false), 0);
    EXPECT_NE(compare("ABC", "abc", true), 0);
    EXPECT_EQ(concat(Text("a"), Text(), Text("bc")), "abc");
}

} // namespace
