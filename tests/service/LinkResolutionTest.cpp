#include <gtest/gtest.h>

#include <clocale>

#include "Catalogue.h"
#include "ServiceTestBed.h"
#include "service/LinkResolution.h"
#include "text/GbkLiteral.h"
#include "json/JsonDocument.h"

namespace quorvel {
namespace {

class LinkResolution : public ServiceTestBed {
  protected:
    const demo::Song& song(const char* title) {
        for (const demo::Song& s : demo::catalogue())
            if (s.title == title) return s;
        throw std::runtime_error(title);
    }
    Text infoBox() { return headless.readText(WindowId::Result, ControlId::InfoBox); }
    Text imageUrl(const std::string& hash) {
        return "http://" + service->hostPort() + "/images/" + hash + ".jpg";
    }
};

TEST_F(LinkResolution, writesTheSixLinesAndStoresLinkDetailsAndLyrics) {
    startService();
    const std::string hash = song("晴天").standard.hash;
    resolveLink(hash);
    EXPECT_TRUE(headless.windowOpen(WindowId::Result));
    EXPECT_EQ(infoBox(), concat("时长：4.083333333333 min\r\n大小：3.74 MB\r\n歌曲名：周杰伦 - "
                                "晴天\r\n所属专辑：叶惠美\r\n专辑图片："_gbk,
                                imageUrl(hash), "\r\n音质：128 k"_gbk));
    const AppState& state = appState();
    EXPECT_EQ(state.downloadLink, "http://" + service->hostPort() + "/audio/" + hash + ".mp3");
    EXPECT_EQ(state.durationText, "4.083333333333");
    EXPECT_EQ(state.sizeText, "3.74");
    EXPECT_EQ(state.songName, "周杰伦 - 晴天"_gbk);
    EXPECT_EQ(state.albumName, "叶惠美"_gbk);
    EXPECT_EQ(state.bitRate, "128");
    // The byte-order mark is dropped on the way to GBK; the lines keep their CR LF.
    EXPECT_EQ(
        state.lyricsText,
        "[00:00.00]周杰伦 - 晴天\r\n[00:29.34]演示歌词第一句\r\n[00:32.53]演示歌词第二句\r\n"_gbk);
    EXPECT_TRUE(headless.messageBoxes().empty());
}

TEST_F(LinkResolution, formatsDurationAndSizeTheSameInEveryLocale) {
    struct Case {
        const char* details;
        const char* duration;
        const char* size;
    };
    const Case cases[] = {
        {R"("timelength":245000,"filesize":3923456)", "4.083333333333", "3.74"},
        {R"("timelength":240000,"filesize":0)", "4", "0"},
        {R"("other":1)", "0", "0"},
        {R"("timelength":"90000x","filesize":1053819)", "1.5", "1.01"}, // 1.00500011 MB
        {R"("timelength":-30000,"filesize":-5242880)", "-0.5", "-5"},
        {R"("timelength":1,"filesize":5237)", "1.666666666667e-05", "0"},
    };
    const char* locales[] = {"C", "de_DE.UTF-8"};
    for (const char* locale : locales) {
        if (!std::setlocale(LC_ALL, locale)) {
            ADD_FAILURE() << "locale " << locale << " is not installed (scripts/setup.sh makes it)";
            continue;
        }
        for (const Case& c : cases) {
            demo::DemoOptions options;
            options.playBody = std::string(R"({"data":{"play_url":"http:\/\/x\/a.mp3",)") +
                               c.details + R"(,"bitrate":128}})";
            startService(options);
            resolveLink("H");
            EXPECT_EQ(appState().durationText, c.duration) << locale << " " << c.details;
            EXPECT_EQ(appState().sizeText, c.size) << locale << " " << c.details;
        }
    }
    std::setlocale(LC_ALL, "C");
}

TEST_F(LinkResolution, failureShowsTheErrorAndKeepsAllButTheLink) {
    startService();
    resolveLink(song("晴天").standard.hash);
    const Text lyrics = appState().lyricsText, name = appState().songName;
    const Text size = appState().sizeText;
    const Text info = infoBox();
    for (const std::string& hash : {std::string(), std::string("0123456789ABCDEF")}) {
        resolveLink(hash);
        EXPECT_EQ(appState().downloadLink, "");
        EXPECT_EQ(appState().lyricsText, lyrics);
        EXPECT_EQ(appState().songName, name);
        EXPECT_EQ(appState().sizeText, size);
        EXPECT_EQ(infoBox(), info);
    }
    const auto boxes = headless.messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "啊哦，出现错误了！！！"_gbk);
    EXPECT_EQ(boxes[0].title, "信息："_gbk);
    EXPECT_EQ(boxes[0].buttons, buttonsOk);
}

TEST_F(LinkResolution, unreadableAnswersShowTheErrorWithoutOpeningTheWindow) {
    demo::DemoOptions broken;
    broken.brokenBodies = true;
    startService(broken);
    resolveLink(song("晴天").standard.hash);
    service->stop();
    resolveLink(song("晴天").standard.hash);
    EXPECT_FALSE(headless.windowOpen(WindowId::Result));
    EXPECT_EQ(headless.messageBoxes().size(), 2u);
}

TEST_F(LinkResolution, escapedQuoteInTheLyricsStillGivesTheLinkAndDetails) {
    startService();
    const demo::Song& rhapsody = song("Demo Rhapsody");
    // Decoded as a whole, the answer loses its link: the quote unbalances it.
    JsonDocument decoded;
    decoded.parse(fetchDecodedText("http://" + service->hostPort() +
                                   "/yy/index.php?r=play/getdata&hash=" + rhapsody.high->hash));
    ASSERT_EQ(decoded.getValue("data.play_url", nullptr, nullptr, true), "");
    resolveLink(rhapsody.high->hash);
    EXPECT_TRUE(headless.messageBoxes().empty());
    EXPECT_NE(appState().downloadLink.find("/audio/" + rhapsody.high->hash), Text::npos);
    EXPECT_EQ(appState().songName, "Queen - Demo Rhapsody");
    EXPECT_EQ(appState().albumImage, imageUrl(rhapsody.high->hash));
    EXPECT_EQ(appState().durationText, toText(355000 / 60000.0));
    EXPECT_EQ(appState().bitRate, "320");
    // The lyrics are cut from the decoded text and end at the escaped quote.
    EXPECT_EQ(appState().lyricsText, "[00:00.00]Queen - Demo Rhapsody\r\n[00:01.00]Is this the ");
}

TEST_F(LinkResolution, secondResolutionFromInsideADecodingRunsFirstAndTheFirstWritesLast) {
    startService();
    const std::string first = song("晴天").standard.hash, second = song("十年").standard.hash;
    bool nestedRan = false;
    headless.onProcessEvents([&] {
        resolveLink(second);
        nestedRan = true;
        EXPECT_EQ(appState().songName, "陈奕迅 - 十年"_gbk);
        EXPECT_EQ(appState().durationText, "4");
    });
    resolveLink(first);
    EXPECT_TRUE(nestedRan);
    EXPECT_EQ(appState().songName, "周杰伦 - 晴天"_gbk);
    EXPECT_EQ(infoBox().find("时长：4.083333333333 min\r\n"_gbk), 0u);
    EXPECT_EQ(infoBox().find("陈奕迅"_gbk), Text::npos);
}

} // namespace
} // namespace quorvel
