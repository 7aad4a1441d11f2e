#include "text/TextBetween.h"

#include <vector>

#include <gtest/gtest.h>

#include "text/GbkLiteral.h"

using namespace quorvel;

namespace {

struct Case {
    Text text, front, back;
    int start;
    bool noCase;
    Text expected;
};

TEST(TextBetween, cutsBetweenFirstFrontAndFirstBackAfterIt) {
    const std::vector<Case> cases = {
        {"x[a]y[b]", "[", "]", 0, false, "a"},
        {"x[a]y[b]", "[", "]", 4, false, "b"},
        {"x[a]y[b]", "[", "]", -3, false, "a"},
        {"no markers", "[", "]", 0, false, ""},
        {"]x[a", "[", "]", 0, false, ""},
        {"x[]y", "[", "]", 0, false, ""},
        {"a<<b>>c>>", "<<", ">>", 0, false, "b"},
        {"abab", "ab", "ab", 0, false, ""},
        {"x[a]", "[", "", 0, false, ""},
        {"KEY=v;", "key=", ";", 0, true, "v"},
        {"KEY=v;", "key=", ";", 0, false, ""},
        {"jQuery({\"a\":1})", "(", ")", 0, false, "{\"a\":1}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " / " + c.front + " / " + c.back);
        EXPECT_EQ(textBetween(c.text, c.front, c.back, c.start, c.noCase), c.expected);
    }
}

TEST(TextBetween, quoteWordInMarkersMatchesDoubleQuote) {
    const Text quote = "#引号"_gbk;
    const Text answer = "{\"name\":\"v1\",\"x\":\"" + quote + "\"}";
    EXPECT_EQ(textBetween(answer, quote + "name" + quote + ":" + quote, quote), "v1");
    EXPECT_EQ(textBetween(answer, "\"name\":\"", "\""), "v1");
    // The text itself is not rewritten: its own "#引号" is no double quote.
    EXPECT_EQ(textBetween(answer, "\"x\":\"", "\""), quote);
}

TEST(TextBetween, markersNeverMatchFromTrailByte) {
    // B0 41 is one character whose trail byte is "A".
    EXPECT_EQ(textBetween("\xB0"
                          "AxA",
                          "A", "A"),
              "");
    EXPECT_EQ(textBetween("A\xB0"
                          "AxA",
                          "A", "A"),
              "\xB0"
              "Ax");
}

} // namespace
