#include "text/UrlCodec.h"

#include <vector>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

TEST(UrlCodec, encodeEscapesAccordingToFlags) {
    struct Case {
        Text t;
        bool keepUnreserved, toUtf8;
        Text expected;
    };
    const std::vector<Case> cases = {
        {"", false, false, ""},
        {"", true, true, ""},
        {"a b-._/", true, false, "a%20b-.%5F%2F"},
        {"AZ", false, false, "%41%5A"},
        {"\xD6\xD0", true, true, "%E4%B8%AD"},
        {"\xD6\xD0", true, false, "%D6%D0"},
        {"\t", true, false, "%09"},
        {"~+09azAZ", true, false, "%7E%2B09azAZ"},
        {",:;@", true, false, "%2C%3A%3B%40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t);
        EXPECT_EQ(urlEncode(c.t, c.keepUnreserved, c.toUtf8), c.expected);
    }
}

TEST(UrlCodec, decodeReversesEscapesAndKeepsEverythingElse) {
    struct Case {
        Text t;
        bool fromUtf8;
        Text expected;
    };
    const std::vector<Case> cases = {
        {"a%20b+c", false, "a b+c"},
        {"%e4%b8%ad", true, "\xD6\xD0"},
        {"%E4%B8%AD", false, "\xE4\xB8\xAD"},
        {"%D6%D0", false, "\xD6\xD0"},
        {"a%00b", false, "ab"},
        {"100% Love", false, "100% Love"},
        {"%", false, "%"},
        {"a%4", false, "a%4"},
        {"%4G%41", false, "%4GA"},
        {"%%41", false, "%A"},
        {"\xD6\xD0%41", false,
         "\xD6\xD0"
         "A"},
        {"", true, ""},
        {"caf%C3%A9", true, "caf\xA8\xA6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t);
        EXPECT_EQ(urlDecode(c.t, c.fromUtf8), c.expected);
    }
}

TEST(UrlCodec, decodeUndoesEncodeForEveryByte) {
    Text all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    EXPECT_EQ(urlDecode(urlEncode(all)), all);
    EXPECT_EQ(urlDecode(urlEncode(all, true)), all);
}

} // namespace
