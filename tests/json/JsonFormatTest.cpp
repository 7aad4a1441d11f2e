#include <gtest/gtest.h>

#include "JsonTestSupport.h"

namespace quorvel {
namespace {

TEST(Formatter, oneMemberOrElementPerLine) {
    JsonDocument document;
    const std::vector<std::pair<Text, Text>> cases = {
        {R"({"a":[1,2],"b":"x y"})",
         "{\r\n\t\"a\":\t[\r\n\t\t1,\r\n\t\t2\r\n\t],\r\n\t\"b\":\t\"x y\"\r\n}"},
        {"{}", "{\r\n\t\r\n}"},
        {" {\r\n \"s\" : \"a \\\" ,{ b\" }\n", "{\r\n\t\"s\":\t\"a \\\" ,{ b\"\r\n}"},
        {R"(["\\",1])", "[\r\n\t\"\\\\\",\r\n\t1\r\n]"},
        {"]]1,[", "\r\n]\r\n]1,\r\n[\r\n"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(document.formatText(text), expected);
}

TEST(Formatter, indentIsALineBreakAndTabs) {
    JsonDocument document;
    EXPECT_EQ(document.indentText(0), "\r\n");
    EXPECT_EQ(document.indentText(-3), "\r\n");
    EXPECT_EQ(document.indentText(3), "\r\n\t\t\t");
}

} // namespace
} // namespace quorvel
