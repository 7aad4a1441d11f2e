#include "web/FetchWinInet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "WebRoutes.h"
#include "web/InternetSession.h"

namespace quorvel {
namespace {

using test::RecordedRequest;
using test::TestHttpServer;

class FetchWinInet : public ::testing::Test {
  protected:
    // The server's address for path, without its scheme.
    Text address(const Text& path) const { return server.url(path).substr(7); }
    Text port() const { return toText(server.port()); }

    TestHttpServer server{test::webRoute};
};

TEST_F(FetchWinInet, sendsTheCompletedHeadersAndNothingElse) {
    WebRequest request;
    request.url = address("/echo?q=%E4%B8%AD&x=Y");
    EXPECT_EQ(fetchWinInet(request), toBytes("echo"));
    EXPECT_EQ(request.url, "http://" + address("/echo?q=%E4%B8%AD&x=Y"));
    const RecordedRequest sent = server.lastRequest();
    EXPECT_EQ(sent.requestLine, "GET /echo?q=%E4%B8%AD&x=Y HTTP/1.1");
    const std::vector<Text> expected = {
        "Host: 127.0.0.1:" + port(), "User-Agent: " + defaultUserAgent(), "Accept: */*",
        "Accept-Language: zh-cn", "Content-Type: application/x-www-form-urlencoded"};
    EXPECT_EQ(sent.headerLines, expected);
    EXPECT_TRUE(sent.body.empty());
    EXPECT_EQ(request.headers, "Accept: */*\r\nAccept-Language: zh-cn"
                               "\r\nContent-Type: application/x-www-form-urlencoded");
}

TEST_F(FetchWinInet, opensTheSessionWithTheCallersPieces) {
    WebRequest request;
    request.url = address("/Echo/Path");
    request.headers = "user-agent: custom/1";
    fetchWinInet(request);
    const InternetCallRecord& calls = lastInternetCalls();
    EXPECT_EQ(calls.agent, "custom/1");
    EXPECT_EQ(calls.accessType, internetOpenTypeDirect);
    EXPECT_EQ(calls.server, "127.0.0.1");
    EXPECT_EQ(calls.port, server.port());
    EXPECT_EQ(calls.verb, "GET");
    EXPECT_EQ(calls.object, "/Echo/Path");
    EXPECT_EQ(calls.version, "HTTP/1.1");
    // The caller's own line goes out and no second agent line is added.
    EXPECT_EQ(server.lastRequest().header("User-Agent"), "custom/1");
}

TEST_F(FetchWinInet, headerWithAnEmptyValueIsSentAsWritten) {
    WebRequest request;
    request.url = server.url("/echo");
    request.headers = "X-Empty:\r\nAccept:";
    fetchWinInet(request);
    const std::vector<Text> lines = server.lastRequest().headerLines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "X-Empty:"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Accept:"), lines.end());
}

struct FlagCase {
    bool https;
    std::optional<Text> cookies;
    bool noRedirect;
    std::uint32_t flags;
};

TEST_F(FetchWinInet, requestFlagsFollowTheRecord) {
    const FlagCase cases[] = {
        {false, std::nullopt, false, 0x80004010}, {true, Text(""), false, 0x80880010},
        {false, Text("a=1"), false, 0x80084010},  {false, std::nullopt, true, 0x80204010},
        {true, std::nullopt, true, 0x80A00010},
    };
    for (const auto& c : cases) {
        WebRequest request;
        // Nothing listens on port 1: the request fails at once, after the flags were passed.
        request.url = c.https ? "https://127.0.0.1:1/echo" : server.url("/echo");
        request.cookies = c.cookies;
        request.noRedirect = c.noRedirect;
        fetchWinInet(request);
        EXPECT_EQ(lastInternetCalls().requestFlags, c.flags) << request.url;
    }
}

TEST_F(FetchWinInet, defaultPortsFollowTheScheme) {
    const std::pair<Text, int> cases[] = {{"https://127.0.0.1/x", 443}, {"127.0.0.1/x", 80}};
    for (const auto& [url, expectedPort] : cases) {
        WebRequest request;
        request.url = url;
        fetchWinInet(request);
        EXPECT_EQ(lastInternetCalls().port, expectedPort) << url;
    }
}

TEST_F(FetchWinInet, capitalSchemeGetsASecondScheme) {
    WebRequest request;
    request.url = "HTTP://" + address("/echo");
    fetchWinInet(request);
    EXPECT_EQ(request.url, "http://HTTP://" + address("/echo"));
}

struct BodyCase {
    int method;
    Text body;
    Bytes bodyBytes;
    Text requestLineStart;
    Bytes sent;
};

TEST_F(FetchWinInet, bodyGoesOutForEveryMethodButIndexZero) {
    const BodyCase cases[] = {
        {1, "a=1&b=\xd6\xd0", {}, "POST ", toBytes("a=1&b=\xd6\xd0")},
        {1, "ignored", toBytes("bytes win"), "POST ", toBytes("bytes win")},
        {0, "not sent", {}, "GET ", {}},
        {3, "put", {}, "PUT ", toBytes("put")},
        {8, "index 8", {}, "GET ", toBytes("index 8")},
        {1, "", {}, "POST ", {}},
    };
    for (const auto& c : cases) {
        WebRequest request;
        request.url = server.url("/echo");
        request.method = c.method;
        request.body = c.body;
        request.bodyBytes = c.bodyBytes;
        fetchWinInet(request);
        const RecordedRequest sent = server.lastRequest();
        EXPECT_EQ(sent.requestLine.substr(0, c.requestLineStart.size()), c.requestLineStart);
        EXPECT_EQ(sent.body, c.sent) << c.method;
        EXPECT_EQ(sent.header("Content-Length"),
                  c.method == 0 ? std::nullopt
                                : std::optional<Text>(toText(static_cast<int>(c.sent.size()))));
        EXPECT_EQ(request.bodyBytes, c.method == 0 ? c.bodyBytes : c.sent);
    }
}

TEST_F(FetchWinInet, absentCookiesUseTheProcessStore) {
    WebRequest first;
    first.url = server.url("/set-cookie");
    fetchWinInet(first);
    EXPECT_EQ(first.receivedCookies, "sid=abc 1; theme=dark");
    EXPECT_NE(find(first.responseHeaders, "Set-Cookie: sid=abc 1; Path=/"), -1);
    EXPECT_NE(find(first.responseHeaders, "Set-Cookie: theme=dark"), -1);
    EXPECT_FALSE(first.cookies.has_value());

    WebRequest second;
    second.url = server.url("/echo");
    fetchWinInet(second);
    const std::optional<Text> sent = server.lastRequest().header("Cookie");
    ASSERT_TRUE(sent.has_value());
    EXPECT_NE(find(*sent, "theme=dark"), -1);
}

TEST_F(FetchWinInet, presentCookiesSwitchTheStoreOffAndMerge) {
    WebRequest warmUp;
    warmUp.url = server.url("/set-cookie");
    fetchWinInet(warmUp);

    const std::pair<Text, Text> cases[] = {
        {"", "sid=abc1; theme=dark"},
        {"theme=light; lang=zh", "sid=abc1; theme=dark; lang=zh"},
    };
    for (const auto& [jar, merged] : cases) {
        WebRequest request;
        request.url = server.url("/set-cookie");
        request.cookies = jar;
        fetchWinInet(request);
        EXPECT_EQ(server.lastRequest().header("Cookie"),
                  jar.empty() ? std::nullopt : std::optional<Text>(jar));
        EXPECT_EQ(request.receivedCookies, merged);
        EXPECT_EQ(request.cookies, merged);
    }
}

TEST_F(FetchWinInet, redirectsAreFollowedUnlessSwitchedOff) {
    WebRequest followed;
    followed.url = server.url("/redirect");
    EXPECT_EQ(fetchWinInet(followed), toBytes("final"));
    EXPECT_EQ(followed.responseHeaders.substr(0, 15), "HTTP/1.1 200 OK");
    EXPECT_NE(find(followed.responseHeaders, "X-Final: yes"), -1);
    EXPECT_EQ(followed.responseHeaders.substr(followed.responseHeaders.size() - 4), "\r\n\r\n");

    WebRequest kept;
    kept.url = server.url("/redirect");
    kept.noRedirect = true;
    EXPECT_EQ(fetchWinInet(kept), toBytes("moved"));
    EXPECT_NE(find(kept.responseHeaders, "Location: /final"), -1);
}

TEST_F(FetchWinInet, redirectsStayOnTheWebAndEnd) {
    for (const Text path : {"/file-redirect", "/loop"}) {
        WebRequest request;
        request.url = server.url(path);
        EXPECT_TRUE(fetchWinInet(request).empty()) << path;
    }
    EXPECT_EQ(server.requests().size(), 1u + 1u + 10u);
}

TEST_F(FetchWinInet, headerBlockOverTheBufferYieldsNoCookies) {
    WebRequest request;
    request.url = server.url("/big-headers");
    EXPECT_EQ(fetchWinInet(request), toBytes("big"));
    EXPECT_EQ(request.responseHeaders, "");
    EXPECT_EQ(request.receivedCookies, "");
}

TEST_F(FetchWinInet, failedSendStillMergesTheCallersJar) {
    WebRequest request;
    request.url = "http://127.0.0.1:1/nothing";
    request.cookies = "b = 2; a=1; b=3";
    EXPECT_TRUE(fetchWinInet(request).empty());
    EXPECT_EQ(request.receivedCookies, "b=2; a=1");
    EXPECT_EQ(request.cookies, "b=2; a=1");
    EXPECT_EQ(request.responseHeaders, "");
}

TEST_F(FetchWinInet, proxyTextNamesTheHttpSchemeForHttpAddresses) {
    const std::pair<Text, Text> cases[] = {{"http://127.0.0.1:1/", "http=127.0.0.1:2"},
                                           {"https://127.0.0.1:1/", "127.0.0.1:2"}};
    for (const auto& [url, proxyText] : cases) {
        WebRequest request;
        request.url = url;
        request.proxy = "127.0.0.1:2";
        EXPECT_TRUE(fetchWinInet(request).empty());
        EXPECT_EQ(lastInternetCalls().accessType, internetOpenTypeProxy);
        EXPECT_EQ(lastInternetCalls().proxy, proxyText) << url;
    }
}

TEST_F(FetchWinInet, schemeSpecificProxyEntryLeavesOtherSchemesDirect) {
    // A proxy list naming only https: a plain http request goes straight to the server.
    InternetHandle internet =
        internetOpen("agent", internetOpenTypeProxy, "https=127.0.0.1:1", "", 0);
    InternetHandle connection =
        internetConnect(internet, "127.0.0.1", server.port(), "", "", internetServiceHttp, 0, 0);
    InternetHandle request = httpOpenRequest(connection, "GET", "/echo", "HTTP/1.1", nullptr,
                                             nullptr, internetFlagReload, 0);
    EXPECT_TRUE(httpSendRequest(request, "Accept: */*", nullptr));
    char buffer[16];
    std::uint32_t n = 0;
    EXPECT_TRUE(internetReadFile(request, buffer, sizeof buffer, n));
    EXPECT_EQ(Text(buffer, n), "echo");
    internetCloseHandle(request);
    internetCloseHandle(connection);
    internetCloseHandle(internet);
}

TEST(InternetSession, proxyAccessWithoutAProxyGivesNoHandle) {
    EXPECT_EQ(internetOpen("agent", internetOpenTypeProxy, "", "", 0), nullptr);
    EXPECT_EQ(internetConnect(nullptr, "h", 80, "", "", internetServiceHttp, 0, 0), nullptr);
    EXPECT_EQ(httpOpenRequest(nullptr, "GET", "/", "HTTP/1.1", nullptr, nullptr, 0, 0), nullptr);
}

TEST_F(FetchWinInet, storeServesSeveralThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::atomic<int> answered{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10; ++i) {
                WebRequest request;
                request.url = server.url(i % 2 ? "/set-cookie" : "/echo");
                if (!fetchWinInet(request).empty()) ++answered;
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(answered, 40);
}

} // namespace
} // namespace quorvel
