#include <gtest/gtest.h>

#include "JsonTestSupport.h"
#include "text/CodePage.h"
#include "text/TextBetween.h"

namespace quorvel {
namespace {

struct Found {
    Text value;
    std::int32_t type = -1;
    std::int32_t position = -1;
    bool operator==(const Found&) const = default;
};

void PrintTo(const Found& f, std::ostream* out) {
    *out << "{" << f.value << ", type " << f.type << ", position " << f.position << "}";
}

Found lookUp(const JsonDocument& document, const Text& path, bool decode = false) {
    Found found;
    found.value = document.getValue(path, &found.type, &found.position, decode);
    return found;
}

const Text sample =
    R"({"data":{"lists":[{"Name":"a","Hash":"h0"},{"Name":"b"},{"Name":"c","Hash":"h2"}],)"
    R"("flag":TRUE,"off":false,"none":null,"n":-0.5,"s":"x\/y","o":{}},)"
    R"("data":{"extra":1},"top":[[10,11],[20]]})";

TEST(PathQuery, indexWithOrWithoutDotIsTheSamePath) {
    JsonDocument document;
    document.parse(sample);
    const Found expected{"b", String, 8};
    EXPECT_EQ(lookUp(document, "data.lists[1].Name"), expected);
    EXPECT_EQ(lookUp(document, "data.lists.[1].Name"), expected);
    EXPECT_EQ(lookUp(document, "top[1][0]"), (Found{"20", Number, 25}));
    EXPECT_EQ(lookUp(document, "top.[1].[0]"), (Found{"20", Number, 25}));
    EXPECT_EQ(lookUp(document, ".top[0].[1]"), (Found{"11", Number, 23}));
}

TEST(PathQuery, missingPathsGiveNothing) {
    JsonDocument document;
    document.parse(sample);
    for (const Text path : {"data.lists[3].Name", "data.list", "Data.lists", "data.lists[1].Hash",
                            "data.extra.x", "lists", "[0]", "data..lists", "."}) {
        EXPECT_EQ(lookUp(document, path), (Found{"", 0, 0})) << path;
        EXPECT_EQ(document.getCount(path), 0) << path;
    }
}

TEST(PathQuery, firstMatchInDocumentOrderWins) {
    JsonDocument document;
    document.parse(sample);
    EXPECT_EQ(lookUp(document, "data.extra"), (Found{"1", Number, 19}));
    EXPECT_EQ(lookUp(document, "data"), (Found{"{ 7 }", Object, 2}));
    EXPECT_EQ(lookUp(document, "data.lists[2].Hash"), (Found{"h2", String, 11}));
}

TEST(PathQuery, decodingFollowsTheType) {
    JsonDocument document;
    document.parse(sample);
    const std::vector<std::pair<Text, Text>> decoded = {
        {"data.lists", "3"}, {"data.flag", "1"}, {"data.off", "0"}, {"data.none", ""},
        {"data.n", "-0.5"},  {"data.s", "x/y"},  {"data.o", "0"},   {"", "3"}};
    for (const auto& [path, value] : decoded)
        EXPECT_EQ(document.getValue(path, nullptr, nullptr, true), value) << path;
    EXPECT_EQ(document.getValue("data.lists"), "[ 3 ]");
    EXPECT_EQ(document.getValue("data.s"), "x\\/y");
    EXPECT_EQ(document.getCount("data.lists"), 3);
    EXPECT_EQ(document.getCount("data.n"), 0);
    EXPECT_EQ(document.getCount("data.s"), 0);
}

TEST(PathQuery, emptyPathGivesTheRoot) {
    JsonDocument document;
    EXPECT_EQ(lookUp(document, ""), (Found{"", 0, 0}));
    document.parse("[1,2]");
    EXPECT_EQ(lookUp(document, ""), (Found{"[ 2 ]", Array, 1}));
    EXPECT_EQ(lookUp(document, "", true), (Found{"2", Array, 1}));
    document.parse("{}");
    EXPECT_EQ(lookUp(document, ""), (Found{"{ 0 }", Object, 1}));
}

TEST(PathQuery, leavingASubtreeUndoesTheMatch) {
    JsonDocument document;
    // "b" is not inside the first "a"; a walk that kept the match of "a" would find it.
    document.parse(R"({"a":{"x":1},"b":2,"c":{"a":{"y":1},"b":3}})");
    EXPECT_EQ(lookUp(document, "a.b"), (Found{"", 0, 0}));
    EXPECT_EQ(lookUp(document, "c.b"), (Found{"3", Number, 8}));
}

TEST(PathQuery, openObjectElementIsReachedOnlyOnceClosed) {
    JsonDocument document;
    // While open, an object element of an array is recorded one level deeper than its place.
    document.feedText(R"({"k":[{"n":1)");
    EXPECT_EQ(lookUp(document, "k[0]"), (Found{"", 0, 0}));
    EXPECT_EQ(lookUp(document, "k[0].n"), (Found{"", 0, 0}));
    document.feedText("}]}");
    EXPECT_EQ(lookUp(document, "k[0]"), (Found{"{ 1 }", Object, 3}));
    EXPECT_EQ(lookUp(document, "k[0].n"), (Found{"1", Number, 4}));
}

TEST(PathQuery, longChildListsAnswerLikeShortOnes) {
    // 100 members with every key twice, then an array numbered from [1] on, because the array
    // before it was closed by a brace and left its element counter standing.
    Text text = "{";
    for (int i = 0; i < 100; ++i)
        text += "\"k" + toText(i % 50) + "\":" + toText(i) + ",";
    text += "\"a\":[1},\"b\":[";
    for (int i = 0; i < 70; ++i)
        text += toText(i * 2) + (i < 69 ? "," : "]}");
    JsonDocument document;
    document.parse(text);
    EXPECT_EQ(lookUp(document, "k7"), (Found{"7", Number, 9}));
    EXPECT_EQ(lookUp(document, "k49"), (Found{"49", Number, 51}));
    EXPECT_EQ(lookUp(document, "b[1]"), (Found{"0", Number, 105}));
    EXPECT_EQ(lookUp(document, "b.[70]"), (Found{"138", Number, 174}));
    EXPECT_EQ(lookUp(document, "b[0]"), (Found{"", 0, 0}));
    EXPECT_EQ(lookUp(document, "b[71]"), (Found{"", 0, 0}));
}

TEST(PathQuery, queriesFollowTheTableAfterMoreBytes) {
    JsonDocument document;
    document.feedText(R"({"a":[1)");
    EXPECT_EQ(lookUp(document, "a[0]").value, "");
    document.feedText(R"(,2],"b":3})");
    EXPECT_EQ(lookUp(document, "a[1]"), (Found{"2", Number, 4}));
    EXPECT_EQ(document.getCount("a"), 2);
}

TEST(NodeAccess, outOfRangeNumbersGiveEmptyRecords) {
    JsonDocument document;
    document.parse(sample);
    for (std::int32_t number : {0, -1, document.nodeCount() + 1}) {
        const JsonNode node = document.getNode(number);
        EXPECT_EQ(node, (JsonNode{"", "", 0, 0})) << number;
    }
    std::int32_t position = 0;
    document.getValue("data.lists[2].Hash", nullptr, &position);
    EXPECT_EQ(document.getNode(position).value, "h2");
    std::vector<JsonNode> copies(5);
    EXPECT_EQ(document.copyNodes(copies), document.nodeCount());
    EXPECT_EQ(static_cast<std::int32_t>(copies.size()), document.nodeCount());
}

TEST(Unescape, decodesTheListedEscapes) {
    JsonDocument document;
    const Text zhong = "\xD6\xD0";
    const std::vector<std::pair<Text, Text>> cases = {
        {"a\\/b\\/c", "a/b/c"},
        {"\\u4e2d", zhong},
        {"\\u4E2D!", zhong + "!"},
        {"\\u00e9x", utf16ToGbk(Bytes{0xE9, 0x00}) + "x"},
        {"\\uZZ", "\\uZZ"},
        {"\\u4eXY", "\\u4eXY"},
        {"\\u\\u4e2d", "\\u" + zhong},
        {"a\\", "a"},
        {"a\\u4e2", "a"},
        {"\\r\\n\\t\\b\\f", "\r\n\t\b\f"},
        {"\\\"\\\\\\q", "\"\\q"},
        {"\\u0000x", "x"},
        {"\\ud83d\\ude00", utf16ToGbk(Bytes{0x3D, 0xD8}) + utf16ToGbk(Bytes{0x00, 0xDE})},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(document.unescapeText(text), expected) << text;
}

Text searchAnswer(const char* file) {
    const Text body = readFile(sharedFixture(std::string("service/") + file));
    return textBetween(body, "jQuery1910026785707623246724_1490845878865(", "}})") + "}}";
}

TEST(ServiceAnswers, searchAnswerGivesEveryHit) {
    JsonDocument document;
    ASSERT_TRUE(document.parse(searchAnswer("search-answer.txt")));
    ASSERT_EQ(document.getCount("data.lists"), 5);
    struct Hit {
        Text fileName, hash, hq, sq;
    };
    const std::vector<Hit> hits = {
        {"周杰伦 - <em>晴天<\\/em>", "54AD2F82689D4B9C23CC7E4144F08FBF",
         "D32AB75A8308168355F2CA4D2DD4BB9A", "2B3583259C4E354626646840AFA554BF"},
        {"<em>晴天<\\/em> - 林俊杰", "B2DF69187CD5B05070046275B11CFF80", "", ""},
        {"Taylor Swift - Love Story (<em>Live<\\/em>)", "9C42F86F4ECBCA3EF059B85CB80CE59E",
         "B798D7079EC993DC80217418C6E2A43E", "F2BE6A31E7DBB13D8A5FFF111EB83DD2"},
        {"群星 - 100%25 <em>晴天<\\/em>", "4B99DE283CDC856739488D775F5E67A8", "", ""},
        {"五月天 - 突然好想你", "78017BD1EAAFC57C4D543FC8CDA4FF55",
         "6672E75BE838B27527176334F81C33A0", "DE7EEBDEF991F28504B321C22F6FB172"}};
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const Text prefix = "data.lists[" + toText(static_cast<int>(i)) + "].";
        EXPECT_EQ(document.getValue(prefix + "FileName"), hits[i].fileName);
        EXPECT_EQ(document.getValue(prefix + "FileHash"), hits[i].hash);
        EXPECT_EQ(document.getValue(prefix + "HQFileHash"), hits[i].hq);
        EXPECT_EQ(document.getValue(prefix + "SQFileHash"), hits[i].sq);
    }
    EXPECT_EQ(document.getValue("data.lists[0].FileName"),
              document.getValue("data.lists.[0].FileName"));
}

TEST(ServiceAnswers, emptySearchAnswerHasNoHits) {
    JsonDocument document;
    EXPECT_TRUE(document.parse(searchAnswer("search-answer-empty.txt")));
    EXPECT_EQ(document.getCount("data.lists"), 0);
    EXPECT_EQ(document.getValue("data.lists[0].FileName"), "");
}

TEST(ServiceAnswers, playAnswerGivesTheLinkAndDetails) {
    JsonDocument document;
    ASSERT_TRUE(document.parse(readFile(sharedFixture("service/play-answer.json"))));
    EXPECT_EQ(document.getValue("data.play_url", nullptr, nullptr, true),
              "http://fs.w.kugou.com/201712/a1b2c3/G002/M04/1F/05/QoYBAFUZy4.mp3");
    EXPECT_EQ(document.getValue("data.img", nullptr, nullptr, true),
              "http://imge.kugou.com/stdmusic/20150718/20150718090805473981.jpg");
    EXPECT_EQ(document.getValue("data.timelength"), "245000");
    EXPECT_EQ(document.getValue("data.filesize"), "3923456");
    EXPECT_EQ(document.getValue("data.bitrate"), "128");
    EXPECT_EQ(document.getValue("data.audio_name"), "\\u5468\\u6770\\u4f26 - \\u6674\\u5929");
    EXPECT_EQ(document.getValue("data.album_name", nullptr, nullptr, true), utf8ToGbk("叶惠美"));
    EXPECT_EQ(document.getValue("data.authors[0].author_name", nullptr, nullptr, true),
              utf8ToGbk("周杰伦"));
}

TEST(ServiceAnswers, playAnswersWithoutLinkGiveEmptyLink) {
    for (const char* file : {"service/play-answer-no-url.json", "service/play-answer-error.json"}) {
        JsonDocument document;
        document.parse(readFile(sharedFixture(file)));
        EXPECT_EQ(document.getValue("data.play_url", nullptr, nullptr, true), "") << file;
    }
}

} // namespace
} // namespace quorvel
