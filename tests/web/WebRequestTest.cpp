#include "web/WebRequest.h"

#include <gtest/gtest.h>

#include "WebRoutes.h"

namespace quorvel {
namespace {

const Text winInetDefaults = "\r\nAccept-Language: zh-cn"
                             "\r\nContent-Type: application/x-www-form-urlencoded";

struct WinInetHeaderCase {
    Text headers;
    std::optional<Text> cookies;
    Text completed;
};

TEST(WebRequest, completeWinInetHeadersAddsMissingLinesInOrder) {
    const WinInetHeaderCase cases[] = {
        {"", std::nullopt, "Accept: */*" + winInetDefaults},
        {"", Text("a=1; b=2"), "Accept: */*" + winInetDefaults + "\r\nCookie: a=1; b=2"},
        {"", Text(""), "Accept: */*" + winInetDefaults},
        {"", Text("Cookie: a=1"), "Accept: */*" + winInetDefaults + "\r\nCookie: a=1"},
        // Names are matched in their exact case only.
        {"accept: text/html", std::nullopt, "accept: text/html\r\nAccept: */*" + winInetDefaults},
        {"Accept: text/html\r\nAccept-Language: en\r\nContent-Type: text/plain", std::nullopt,
         "Accept: text/html\r\nAccept-Language: en\r\nContent-Type: text/plain"},
    };
    for (const auto& c : cases) {
        Text headers = c.headers;
        completeWinInetHeaders(headers, c.cookies);
        EXPECT_EQ(headers, c.completed) << c.headers;
    }
}

TEST(WebRequest, completeComHeadersAddsRefererOfLowerCaseHostWithoutPort) {
    Text headers;
    completeComHeaders(headers, "https://WWW.Example.COM:8443/Path?q=1");
    EXPECT_EQ(headers, "Accept: */*\r\nReferer: http://www.example.com\r\nAccept-Language: zh-cn"
                       "\r\nUser-Agent: " +
                           defaultUserAgent() +
                           "\r\nContent-Type: application/x-www-form-urlencoded");
}

TEST(WebRequest, completeComHeadersKeepsCallersUserAgent) {
    Text headers = "User-Agent: mine/1.0";
    completeComHeaders(headers, "http://h/");
    EXPECT_EQ(headers, "User-Agent: mine/1.0\r\nAccept: */*\r\nReferer: http://h"
                       "\r\nAccept-Language: zh-cn"
                       "\r\nContent-Type: application/x-www-form-urlencoded");
}

TEST(WebRequest, pickAgentStringFollowsTheCallersText) {
    const std::pair<Text, Text> cases[] = {
        {"", defaultUserAgent()},
        {"Accept: */*", defaultUserAgent()},
        {"User-Agent:   agent/2  \r\nAccept: */*", "agent/2"},
        {"Accept: */*\r\nUser-Agent: agent/3", "agent/3"},
        // Another case of the name: the value after the first colon of the whole text.
        {"user-agent:  low/1 ", "low/1"},
        {"user-agent: low/1\r\nAccept: */*", "low/1\r\nAccept: */*"},
        // An empty value falls back the same way.
        {"Accept: x\r\nUser-Agent:", "x\r\nUser-Agent:"},
    };
    for (const auto& [headers, agent] : cases)
        EXPECT_EQ(pickAgentString(headers), agent) << headers;
}

TEST(WebRequest, headerNameAndValueSplitAtTheFirstColon) {
    EXPECT_EQ(headerName("Referer: http://h:8080/a"), "Referer");
    EXPECT_EQ(headerValue("Referer: http://h:8080/a"), "http://h:8080/a");
    EXPECT_EQ(headerName("  X-A  :  b  "), "X-A");
    EXPECT_EQ(headerValue("  X-A  :  b  "), "b");
    EXPECT_EQ(headerName("no colon"), "");
    EXPECT_EQ(headerValue("no colon"), "");
}

TEST(WebRequest, methodNameCoversTheTableAndFallsBackToGet) {
    const std::pair<int, Text> cases[] = {
        {0, "GET"},     {1, "POST"},  {2, "HEAD"},    {3, "PUT"}, {4, "DELETE"},
        {5, "OPTIONS"}, {6, "TRACE"}, {7, "CONNECT"}, {8, "GET"}, {-1, "GET"}};
    for (const auto& [index, name] : cases)
        EXPECT_EQ(methodName(index), name) << index;
}

TEST(WebRequest, wantsGzipOnlyForTheExactLine) {
    EXPECT_TRUE(wantsGzip("Accept: */*\r\nAccept-Encoding: gzip, deflate"));
    EXPECT_TRUE(wantsGzip("Accept-Encoding:gzip"));
    EXPECT_FALSE(wantsGzip("accept-encoding: gzip"));
    EXPECT_FALSE(wantsGzip("Accept-Encoding: deflate"));
}

TEST(WebRequest, finishBodyDecodesOnlyWhenAskedAndDecodable) {
    GzipCodec codec;
    setSharedGzipCodec(&codec);
    const Bytes packed = test::gzipped("hello gzip");
    const Bytes garbage = toBytes("not gzip at all");
    EXPECT_EQ(finishBody("Accept-Encoding: gzip", packed), toBytes("hello gzip"));
    EXPECT_EQ(finishBody("Accept: */*", packed), packed);
    EXPECT_EQ(finishBody("Accept-Encoding: gzip", garbage), garbage);
    setSharedGzipCodec(nullptr);
    EXPECT_EQ(finishBody("Accept-Encoding: gzip", packed), packed);
}

} // namespace
} // namespace quorvel
