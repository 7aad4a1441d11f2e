#include <gtest/gtest.h>

#include "app/toolkit/HeadlessToolkit.h"
#include "text/EscapeDecoding.h"
#include "text/GbkLiteral.h"

namespace quorvel {
namespace {

struct Case {
    const char* input;
    Text expected;
};

TEST(DecodePercentU, keepsHeadAndTailAroundDecodedEscapesOnly) {
    const Case cases[] = {
        {"abc%u4E2D%u6587xyz", "abc\xD6\xD0\xCE\xC4xyz"},
        {"a%u4E2Db%u6587c", "a\xD6\xD0\xCE\xC4"
                            "c"},
        {"no escape here", ""},
        // The last digits end on the last byte, so the earlier match of 6587 sets the tail.
        {"%u6587%u6587", "\xCE\xC4\xCE\xC4%u6587"},
        // Digits that read as 0 in decimal are not decoded.
        {"%uFF0Cx", "%x"},
        {"%u00E9", "%"},
        {"%41%u4E2D", "%41A\xD6\xD0"},
        {"x%", "%"},
        {"%u4E2D%", "\xD6\xD0%%"}, // the tail after the earlier "4E2D" is the last "%"
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodePercentU(c.input), c.expected) << c.input;
}

TEST(DecodePercentU, letsWindowEventsRunDuringALongText) {
    HeadlessToolkit headless;
    installToolkit(&headless);
    int handled = 0;
    headless.onProcessEvents([&] { ++handled; });
    Text text;
    while (text.size() < 64 * 1024)
        text += "%u4E2D";
    // Every escape gives two bytes; the tail is the text after the last escape but one.
    EXPECT_EQ(decodePercentU(text).size(), text.size() / 6 * 2 + 6);
    installToolkit(nullptr);
    EXPECT_EQ(handled, 1);
    EXPECT_GE(headless.processEventsCalls(), 1);
}

TEST(DecodeEscapes, decodesTheAnswerAsAScriptLiteralWouldAndRestoresMarkers) {
    const Case cases[] = {
        {"\\u4e2d\\u6587", "\xD6\xD0\xCE\xC4"},
        {"a\r\nb", "a\r\nb"},
        {"a{$}b", "a\r\nb"},
        {"it's", "it's"},
        {"it\xA1\xAFs", "it's"},
        {"{\"img\":\"http:\\/\\/x\\/y.jpg\"}", "{\"img\":\"http://x/y.jpg\"}"},
        {"say \\\"hi\\\"", "say \"hi\""},
        {"\r\\u4e2d", "\xD6\xD0"},
        {"100% %41%u4E2D", "100% A\xD6\xD0"},
        {"\\x41\\101\\8\\q", "AA8q"},
        {"\\\\u4e2d", "\xD6\xD0"}, // "\\u" becomes "\%u": the literal gives "%u", unescape the rest
        // A line feed or a final backslash makes the script fail; the fallback decoder answers.
        {"\\u4e2da\nb\\u6587c", "\xD6\xD0\xCE\xC4"
                                "c"},
        {"abc\\", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeEscapes(c.input), c.expected) << c.input;
}

TEST(UnescapeScriptLiteral, isEmptyWhereTheScriptWouldNotCompile) {
    for (const char* body :
         {"a'b", "a\nb", "a\rb", "ab\\", "\\x4", "\\xZZ", "\\u12", "\\u12G4", "a\\\nb"})
        EXPECT_EQ(unescapeScriptLiteral(body), "") << body;
}

TEST(UnescapeScriptLiteral, endsAtTheFirstNul) {
    EXPECT_EQ(unescapeScriptLiteral("ab\\0cd"), "ab");
    EXPECT_EQ(unescapeScriptLiteral("ab%00cd"), "ab");
    EXPECT_EQ(unescapeScriptLiteral("ab%u0000cd"), "ab");
}

TEST(UnescapeScriptLiteral, keepsGbkTextWhoseTrailByteIsABackslash) {
    const Text text = "\xC5\x5C"
                      "a"; // "臷" then "a": the 5C is a trail byte, not a backslash
    EXPECT_EQ(unescapeScriptLiteral(text), text);
}

TEST(HexValue, readsDigitsOfEitherCase) {
    EXPECT_EQ(hexValue("4e2D"), 0x4E2D);
    EXPECT_EQ(hexValue("FFFF"), 0xFFFF);
    EXPECT_EQ(hexValue(""), 0);
}

TEST(TextAroundMarkers, beforeFirstAndAfterLastMatchExceptOneEndingOnTheLastByte) {
    EXPECT_EQ(textBefore("ab%ucd%u", "%u"), "ab");
    EXPECT_EQ(textBefore("abc", "%u"), "");
    EXPECT_EQ(textAfterLast("x1234y1234z", "1234"), "z");
    EXPECT_EQ(textAfterLast("x1234y1234", "1234"), "y1234");
    EXPECT_EQ(textAfterLast("x1234y1234", "1234", 100), "");
    EXPECT_EQ(textAfterLast("abc", "1234"), "");
}

} // namespace
} // namespace quorvel
