#include <gtest/gtest.h>

#include <memory>

#include "ServiceTestBed.h"
#include "service/SongSearch.h"
#include "text/GbkLiteral.h"

namespace quorvel {
namespace {

class SongSearch : public ServiceTestBed {
  protected:
    void search(const Text& keyword) {
        headless.writeText(WindowId::Main, ControlId::KeywordBox, keyword);
        runSearch();
    }
    std::vector<Text> row(int r) {
        return {headless.cell(r, 0), headless.cell(r, 1), headless.cell(r, 2), headless.cell(r, 3)};
    }
    Text caption() { return headless.readText(WindowId::Main, ControlId::Window); }
};

TEST_F(SongSearch, sendsTheFixedQueryWithTheKeywordAsPercentEncodedUtf8) {
    startService();
    search("晴天 a-b.c"_gbk);
    EXPECT_EQ(service->lastRequest().target,
              "/song_search_v2?callback=jQuery1910026785707623246724_1490845878865&keyword="
              "%E6%99%B4%E5%A4%A9%20a-b.c&page=1&pagesize=40&userid=-1&clientver=&platform="
              "WebFilter&tag=em&filter=2&iscorrection=1&privilege_filter=0&_=1490845878887");
}

TEST_F(SongSearch, fillsOneRowPerHitWithCleanedNamesAndTheThreeHashes) {
    startService();
    headless.setEnabled(WindowId::Main, ControlId::KeywordBox, false);
    headless.writeText(WindowId::Main, ControlId::SearchButton, "停止搜索"_gbk);
    search("晴天"_gbk);
    ASSERT_EQ(headless.rowCount(), 3);
    EXPECT_EQ(headless.cell(0, 0), "周杰伦 - 晴天"_gbk);
    EXPECT_EQ(headless.cell(1, 0), "林俊杰 - 晴天"_gbk);
    EXPECT_EQ(headless.cell(2, 0), "群星 - 100% 晴天"_gbk); // "%25" decoded
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(headless.cell(r, 1).size(), 32u);
    EXPECT_EQ(headless.cell(1, 3), ""); // this song has no lossless file
    EXPECT_EQ(headless.cell(2, 2), "");
    EXPECT_EQ(caption(), "搜索完毕。。。"_gbk);
    EXPECT_EQ(headless.readText(WindowId::Main, ControlId::SearchButton), "搜索"_gbk);
    EXPECT_TRUE(headless.enabled(WindowId::Main, ControlId::KeywordBox));
}

TEST_F(SongSearch, matchesMixedAndEnglishNames) {
    startService();
    search("love"_gbk);
    ASSERT_EQ(headless.rowCount(), 1);
    EXPECT_EQ(headless.cell(0, 0), "Taylor Swift - Love Story");
    search("Mojito");
    ASSERT_EQ(headless.rowCount(), 1);
    EXPECT_EQ(headless.cell(0, 0), "周杰伦 - Mojito"_gbk);
}

TEST_F(SongSearch, endsIdleWithAnEmptyListWhenTheAnswerIsUnusable) {
    demo::DemoOptions broken;
    broken.brokenBodies = true;
    for (bool reachable : {true, false}) {
        startService(broken);
        if (!reachable) service->stop();
        headless.writeText(WindowId::Main, ControlId::SearchButton, "停止搜索"_gbk);
        search("晴天"_gbk);
        EXPECT_EQ(headless.rowCount(), 0);
        EXPECT_EQ(caption(), "搜索完毕。。。"_gbk);
        EXPECT_EQ(headless.readText(WindowId::Main, ControlId::SearchButton), "搜索"_gbk);
    }
    startService();
    search("no such song");
    EXPECT_EQ(headless.rowCount(), 0);
    EXPECT_EQ(caption(), "搜索完毕。。。"_gbk);
}

TEST_F(SongSearch, cutsTheJsonpAtTheFirstClosingMarkAndCleansNamesByTheRules) {
    struct Case {
        const char* body;
        std::vector<Text> firstRow; // empty: no rows
    };
    const Text prefix = "jQuery1910026785707623246724_1490845878865(";
    const Case cases[] = {
        {R"j({"data":{"lists":[{"FileName":"A%41 <EM>b<\/EM> <em>c<\/em>","FileHash":"H1",)j"
         R"j("HQFileHash":"H2","SQFileHash":"H3"}]}}))j",
         {"AA <EM>b<\\/EM> c", "H1", "H2", "H3"}},
        {R"j({"data":{"lists":[{"FileName":"x","FileHash":"H1"}]}}))j", {"x", "H1", "", ""}},
        // "}})" inside a text ends the cut there, before the hits.
        {R"j({"data":{"tip":"}})","lists":[{"FileName":"x","FileHash":"H1"}]}}))j", {}},
        {R"j({"data":{"lists":[]}}))j", {}},
        {"no callback here", {}},
    };
    for (const Case& c : cases) {
        demo::DemoOptions options;
        options.searchBody = c.body[0] == '{' ? prefix + c.body : Text(c.body);
        startService(options);
        search("x");
        ASSERT_EQ(headless.rowCount(), c.firstRow.empty() ? 0 : 1) << c.body;
        if (!c.firstRow.empty()) {
            EXPECT_EQ(row(0), c.firstRow) << c.body;
        }
        EXPECT_EQ(caption(), "搜索完毕。。。"_gbk);
    }
}

TEST_F(SongSearch, stoppedDuringTheFetchAddsNoRowsAndLeavesTheControlsAlone) {
    demo::DemoOptions slow;
    slow.delayMs = 300;
    startService(slow);
    headless.writeText(WindowId::Main, ControlId::KeywordBox, "晴天"_gbk);
    headless.writeText(WindowId::Main, ControlId::SearchButton, "停止搜索"_gbk);
    auto token = std::make_shared<CancelToken>();
    headless.startThread(runSearch, token);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(caption(), "正在搜索，请稍等。。。"_gbk);
    token->cancelled = true;
    headless.joinThreads();
    EXPECT_EQ(headless.rowCount(), 0);
    EXPECT_EQ(caption(), "正在搜索，请稍等。。。"_gbk);
    EXPECT_EQ(headless.readText(WindowId::Main, ControlId::SearchButton), "停止搜索"_gbk);
}

} // namespace
} // namespace quorvel
