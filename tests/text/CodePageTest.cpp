#include "text/CodePage.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

Bytes bytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

struct Case {
    const char* name;
    std::string in;
    std::string expected;
};

// UTF-8 input and the GBK text it narrows to.
const std::vector<Case> utf8ToGbkCases = {
    {"two Chinese characters", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
    {"ASCII", "abc 123", "abc 123"},
    {"empty", "", ""},
    {"zero byte ends the text", std::string("a\0b", 3), "a"},
    {"character GBK lacks", "\xE0\xB8\x81", "?"},
    {"supplementary character is one ?",
     "a\xF0\x9F\x98\x80"
     "b",
     "a?b"},
    {"byte-order mark dropped", "\xEF\xBB\xBF[00:01]", "[00:01]"},
    {"zero-width and soft hyphen dropped",
     "a\xE2\x80\x8B"
     "b\xC2\xAD"
     "c\xE2\x80\x8D",
     "abc"},
    {"variation selector dropped", "a\xEF\xB8\x8F", "a"},
    {"invalid bytes",
     "a\xFF"
     "b\x80"
     "c",
     "a?b?c"},
    {"overlong form", "\xC0\xAF", "??"},
    {"truncated sequence at the end", "x\xE4\xB8", "x?"},
    {"truncated sequence before ASCII",
     "\xE4\xB8"
     "x",
     "?x"},
    {"encoded surrogate", "\xED\xA0\x80", "???"},
    {"Latin letter with GBK form", "\xC3\xA9", "\xA8\xA6"},
    {"euro sign", "\xE2\x82\xAC", "\x80"},
};

TEST(CodePage, utf8BytesToTextNarrowsToGbk) {
    for (const auto& c : utf8ToGbkCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8BytesToText(bytes(c.in)), c.expected);
    }
}

TEST(CodePage, utf8ToGbkMatchesUtf8BytesToText) {
    for (const auto& c : utf8ToGbkCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8ToGbk(c.in), c.expected);
    }
}

TEST(CodePage, directPathMatchesTheWayThroughUtf16) {
    for (const auto& c : utf8ToGbkCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8BytesToText(bytes(c.in)), utf16ToText(textToUtf16(c.in), codePageGbk));
    }
}

TEST(CodePage, gbkToUtf8WidensEveryCharacter) {
    const std::vector<Case> cases = {
        {"one character", "\xD6\xD0", "\xE4\xB8\xAD"},
        {"ASCII", "plain ASCII", "plain ASCII"},
        {"empty", "", ""},
        {"euro sign", "\x80", "\xE2\x82\xAC"},
        {"lead byte without trail byte", "a\x81", "a\xEF\xBF\xBD"},
        {"invalid pair", "\x81\x20", "\xEF\xBF\xBD "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(gbkToUtf8(c.in), c.expected);
    }
}

TEST(CodePage, everyGbkCharacterSurvivesTheRoundTrip) {
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const Text gbk{static_cast<char>(lead), static_cast<char>(trail)};
            const Text utf8 = gbkToUtf8(gbk);
            ASSERT_EQ(utf8ToGbk(utf8), gbk) << std::hex << lead << " " << trail;
        }
    }
}

TEST(CodePage, utf16UnitsCarryTheTerminatingZero) {
    EXPECT_EQ(textToUtf16(""), (Bytes{0, 0}));
    EXPECT_EQ(textToUtf16("A"), (Bytes{'A', 0, 0, 0}));
    EXPECT_EQ(textToUtf16("\xE4\xB8\xAD"), (Bytes{0x2D, 0x4E, 0, 0}));
    EXPECT_EQ(textToUtf16("\xD6\xD0", codePageGbk), (Bytes{0x2D, 0x4E, 0, 0}));
    EXPECT_EQ(textToUtf16("\xF0\x9F\x98\x80"), (Bytes{0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
    EXPECT_EQ(textToUtf16("ab", 12345), Bytes{});
}

TEST(CodePage, utf16ToTextStopsAtTheZeroUnit) {
    EXPECT_EQ(utf16ToText(Bytes{0x2D, 0x4E, 0, 0, 'x', 0}), "\xD6\xD0");
    EXPECT_EQ(utf16ToText(Bytes{0x2D, 0x4E, 0, 0}, codePageUtf8), "\xE4\xB8\xAD");
    EXPECT_EQ(utf16ToText(Bytes{'a', 0, 'b'}), "a");
    EXPECT_EQ(utf16ToText(Bytes{}), "");
    EXPECT_EQ(utf16ToText(Bytes{'a', 0}, 12345), "");
}

TEST(CodePage, utf16ToGbkNarrowsOneCharacterCode) {
    EXPECT_EQ(utf16ToGbk(Bytes{0x2D, 0x4E, 0, 0}), "\xD6\xD0");
    EXPECT_EQ(utf16ToGbk(Bytes{0x2D, 0x4E, 0x87}), "\xD6\xD0");
    EXPECT_EQ(utf16ToGbk(Bytes{0xFF, 0xFE, 0, 0}), "");
    EXPECT_EQ(utf16ToGbk(Bytes{0x3D, 0xD8}), "?");
    EXPECT_EQ(utf16ToGbk(Bytes{}), "");
}

TEST(CodePage, utf16ToGbkComposesBaseAndMark) {
    // "e" + combining acute accent is the precomposed e-acute, which GBK holds.
    EXPECT_EQ(utf16ToGbk(Bytes{'e', 0, 0x01, 0x03}), "\xA8\xA6");
    // No precomposed form: the mark stays and GBK lacks it.
    EXPECT_EQ(utf16ToGbk(Bytes{'q', 0, 0x01, 0x03}), "q?");
}

TEST(CodePage, threadsConvertIndependently) {
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (std::size_t k = 0; k < failures.size(); ++k) {
        threads.emplace_back([&failures, k] {
            for (int i = 0; i < 2000; ++i) {
                if (utf8ToGbk("\xE4\xB8\xAD\xFF") != "\xD6\xD0?") ++failures[k];
                if (gbkToUtf8("\xCE\xC4") != "\xE6\x96\x87") ++failures[k];
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

} // namespace
