#include <gtest/gtest.h>

#include "JsonTestSupport.h"

namespace quorvel {
namespace {

struct TableCase {
    const char* label;
    Text input;
    std::vector<JsonNode> rows;
};

void PrintTo(const TableCase& c, std::ostream* out) {
    *out << c.label;
}

const std::vector<TableCase> tableCases = {
    {"nestedObjectAndMixedArray",
     R"({"a":{"b":1},"c":[1,"x",true,null]})",
     {{"JSON", "{ 2 }", 1, Object},
      {"a", "{ 1 }", 2, Object},
      {"b", "1", 3, Number},
      {"c", "[ 4 ]", 2, Array},
      {"[0]", "1", 3, Number},
      {"[1]", "x", 3, String},
      {"[2]", "true", 3, Boolean},
      {"[3]", "null", 3, Null}}},
    {"arrayOfObjects",
     R"([{"n":1},{"n":2}])",
     {{"JSON", "[ 2 ]", 1, Array},
      {"[0]", "{ 1 }", 2, Object},
      {"n", "1", 3, Number},
      {"[1]", "{ 1 }", 2, Object},
      {"n", "2", 3, Number}}},
    {"emptyObject", "{}", {{"JSON", "{ 0 }", 1, Object}}},
    {"emptyArray", " [ ] ", {{"JSON", "[ 0 ]", 1, Array}}},
    {"jsonpWrapperSkipped",
     R"(cb_1({"a":"v"});)",
     {{"JSON", "{ 1 }", 1, Object}, {"a", "v", 2, String}}},
    {"secondTopLevelValueReplacesTable",
     R"({"a":1}[2])",
     {{"JSON", "[ 1 ]", 1, Array}, {"[0]", "2", 2, Number}}},
    {"emptySlotsBetweenAndBeforeClose",
     "[1,,2,]",
     {{"JSON", "[ 4 ]", 1, Array},
      {"[0]", "1", 2, Number},
      {"[1]", "", 2, Null},
      {"[2]", "2", 2, Number},
      {"[3]", "", 2, Null}}},
    {"commaAfterOpeningBracketAddsNothing",
     "[,1]",
     {{"JSON", "[ 1 ]", 1, Array}, {"[0]", "1", 2, Number}}},
    {"keyWithoutValue",
     R"({"a":,"b": })",
     {{"JSON", "{ 2 }", 1, Object}, {"a", "", 2, Null}, {"b", "", 2, Null}}},
    {"stringKeepsEscapesAndDropsLineBreaks",
     "[\"a\\\"b\",\"c\\\\\",\"x\r\ny\"]",
     {{"JSON", "[ 3 ]", 1, Array},
      {"[0]", "a\\\"b", 2, String},
      {"[1]", "c\\\\", 2, String},
      {"[2]", "xy", 2, String}}},
    {"keyEndsAtFirstQuoteAndKeepsBackslash",
     R"({"a\"b":1})",
     {{"JSON", "{ 1 }", 1, Object}, {"a\\", "1", 2, Number}}},
    {"keyWithoutColonIgnoresUpToNextColon",
     R"({"a" }, "b":1})",
     {{"JSON", "{ 1 }", 1, Object}, {"a", "1", 2, Number}}},
    {"unquotedKeysIgnored", "{a:1,b:true}", {{"JSON", "{ 0 }", 1, Object}}},
    {"quotedValueAfterUnquotedKeyReadAsKey",
     R"({a:"x"})",
     {{"JSON", "{ 0 }", 0, Other}, {"x", "", 2, Other}}},
    {"duplicateKeysKept",
     R"({"a":1,"a":2})",
     {{"JSON", "{ 2 }", 1, Object}, {"a", "1", 2, Number}, {"a", "2", 2, Number}}},
    {"arrayClosedByBraceLeavesElementCounter",
     R"({"a":[1,2},"b":[3]})",
     {{"JSON", "{ 2 }", 1, Object},
      {"a", "{ 0 }", 2, Object},
      {"[0]", "1", 3, Number},
      {"[1]", "2", 3, Number},
      {"b", "[ 3 ]", 2, Array},
      {"[2]", "3", 3, Number}}},
    {"bracketReachingObjectIgnored",
     R"({"a":1]})",
     {{"JSON", "{ 1 }", 1, Object}, {"a", "1", 2, Number}}},
    {"openContainersKeepTheirStartValues",
     R"({"k":{"x":[{"n":1)",
     {{"JSON", "{ 0 }", 0, Other},
      {"k", "", 2, Other},
      {"x", "", 3, Other},
      {"[0]", "{ 0 }", 5, Object},
      {"n", "", 5, Other}}},
    {"trailByteBackslashEscapesQuote",
     "[\"\x81\x5c\",1]",
     {{"JSON", "[ 0 ]", 0, Other}, {"[0]", "", 2, Other}}},
    {"nulBytesNeverEnterValues",
     Text("[\"a\0b\",1\0]", 10),
     {{"JSON", "[ 2 ]", 1, Array}, {"[0]", "ab", 2, String}, {"[1]", "1", 2, Number}}},
};

class NodeTable : public testing::TestWithParam<TableCase> {};

TEST_P(NodeTable, rowsAreThoseOfTheByteLoop) {
    JsonDocument document;
    const bool found = document.parseBytes(toBytes(GetParam().input));
    EXPECT_EQ(tableOf(document), GetParam().rows);
    EXPECT_EQ(found, GetParam().rows.size() > 1);
}

INSTANTIATE_TEST_SUITE_P(Examples, NodeTable, testing::ValuesIn(tableCases),
                         [](const auto& info) { return info.param.label; });

TEST(NodeTable, literalsAreTypedByTheirTextForm) {
    const std::vector<std::pair<Text, std::int32_t>> literals = {{"128", Number},
                                                                 {"-0.5", Number},
                                                                 {"0", Number},
                                                                 {"-0", Number},
                                                                 {"0.0001", Number},
                                                                 {"1234567890123", Number},
                                                                 {"0.1234567890123", Number},
                                                                 {"1.0", Other},
                                                                 {"1e3", Other},
                                                                 {"007", Other},
                                                                 {"+1", Other},
                                                                 {"12345678901234", Other},
                                                                 {"0.00001", Other},
                                                                 {"1.23456789012345", Other},
                                                                 {".5", Other},
                                                                 {"True", Boolean},
                                                                 {"FALSE", Boolean},
                                                                 {"Null", Null},
                                                                 {"nul", Other},
                                                                 {"inf", Number},
                                                                 {"abc", Other}};
    for (const auto& [literal, type] : literals) {
        JsonDocument document;
        document.parse("[" + literal + "]");
        EXPECT_EQ(document.getNode(2).type, type) << literal;
        EXPECT_EQ(document.getNode(2).value, literal);
    }
}

TEST(NodeTable, blanksInsideLiteralsAreDropped) {
    JsonDocument document;
    document.parse("[t r\tu\ne ]");
    EXPECT_EQ(document.getNode(2).value, "true");
    EXPECT_EQ(document.getNode(2).type, Boolean);
}

TEST(NodeTable, deepNestingNeedsNoCallStack) {
    JsonDocument document;
    const Text deep = Text(200000, '[') + "1" + Text(200000, ']');
    EXPECT_TRUE(document.parse(deep));
    EXPECT_EQ(document.nodeCount(), 200001);
    EXPECT_EQ(document.getNode(200001).value, "1");
    EXPECT_EQ(document.getNode(1).value, "[ 1 ]");
}

TEST(Feeding, piecesGiveTheTableOfOneParse) {
    const std::vector<Text> texts = {
        R"({"a":{"b":1},"c":[1,"x\"y",true,null,,]})",
        "xx([{\"n\":-0.5},{\"n\":\"a\\\\\"}, 12 ,[],{}])",
        R"({"k":"\u4e2d","s":[ t r u e , nul l ],"o":{"p":[{"q":[1}]}]}})"};
    for (const Text& text : texts) {
        JsonDocument whole;
        whole.parse(text);
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            JsonDocument pieces;
            pieces.clear();
            pieces.feedText(text.substr(0, cut));
            EXPECT_EQ(pieces.feed(toBytes(text.substr(cut))), length(text) - static_cast<int>(cut));
            ASSERT_EQ(tableOf(pieces), tableOf(whole)) << text << " cut at " << cut;
        }
    }
}

TEST(Feeding, unfinishedStringStaysEmptyUntilItEnds) {
    JsonDocument document;
    document.feedText(R"({"a":"hel)");
    EXPECT_EQ(document.getNode(2).value, "");
    EXPECT_EQ(document.getNode(2).type, Other);
    document.feedText(R"(lo"})");
    EXPECT_EQ(document.getValue("a"), "hello");
}

TEST(Feeding, clearEmptiesTheTable) {
    JsonDocument document;
    document.parse(R"({"a":1})");
    document.clear();
    EXPECT_EQ(document.nodeCount(), 0);
    EXPECT_EQ(document.getValue("a"), "");
    EXPECT_FALSE(document.parse("no json here"));
    EXPECT_EQ(document.nodeCount(), 0);
}

TEST(Robustness, everyTestSuiteFileParsesAndAnswersQueries) {
    const auto folder = sharedFixture("JSONTestSuite/test_parsing");
    ASSERT_TRUE(std::filesystem::is_directory(folder));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        JsonDocument document;
        const Text text = readFile(entry.path());
        document.parseBytes(toBytes(text));
        std::int32_t type = -1, position = -1;
        document.getValue("", &type, &position, true);
        document.getValue("[0]", &type, &position, true);
        document.getValue("a.[0].b", &type, &position, true);
        document.getCount("[0]");
        for (std::int32_t n = 1; n <= document.nodeCount(); ++n)
            EXPECT_GE(document.getNode(n).depth, 0) << entry.path();
        ++files;
    }
    EXPECT_GT(files, 300);
}

} // namespace
} // namespace quorvel
