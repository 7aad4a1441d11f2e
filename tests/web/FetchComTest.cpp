#include "web/FetchCom.h"

#include <gtest/gtest.h>

#include "WebRoutes.h"
#include "support/TestHttpsServer.h"
#include "support/TinyProxy.h"
#include "web/HttpRequestObject.h"

namespace quorvel {
namespace {

using test::RecordedRequest;
using test::TestHttpServer;

// A request object that notes every member call before doing it.
class RecordingRequestObject : public HttpRequestObject {
  public:
    std::vector<Text> calls;

    void SetTimeouts(long a, long b, long c, long d) override {
        note(concat(Text("SetTimeouts "), toText(a), Text(" "), toText(b), Text(" "), toText(c),
                    Text(" "), toText(d)));
        HttpRequestObject::SetTimeouts(a, b, c, d);
    }
    void SetProxy(int setting, const Text& proxy) override {
        note(concat(Text("SetProxy "), toText(setting), Text(" "), proxy));
        HttpRequestObject::SetProxy(setting, proxy);
    }
    void SetProxyCredentials(const Text& user, const Text& password, int flag) override {
        note(concat(Text("SetProxyCredentials "), user, Text(" "), password, Text(" "),
                    toText(flag)));
        HttpRequestObject::SetProxyCredentials(user, password, flag);
    }
    bool Open(const Text& method, const Text& url, bool async) override {
        note(concat(Text("Open "), method, Text(" "), url, Text(async ? " async" : " sync")));
        return HttpRequestObject::Open(method, url, async);
    }
    void Option(int index, long value) override {
        note(concat(Text("Option "), toText(index), Text(" "), toText(value)));
        HttpRequestObject::Option(index, value);
    }
    bool SetRequestHeader(const Text& name, const Text& value) override {
        note(concat(Text("SetRequestHeader "), name, Text("|"), value));
        return HttpRequestObject::SetRequestHeader(name, value);
    }
    bool Send(const Bytes& body) override {
        note("Send " + textInBytes(body));
        return HttpRequestObject::Send(body);
    }

  private:
    void note(const Text& call) { calls.push_back(call); }
};

class FetchCom : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const char* id : progIds)
            setHttpRequestObjectFails(id, false);
    }

    static constexpr const char* progIds[] = {
        "WinHttp.WinHttpRequest.5.1", "MSXML2.ServerXMLHTTP.6.0", "MSXML2.ServerXMLHTTP.5.0"};
    TestHttpServer server{test::webRoute};
    std::shared_ptr<RecordingRequestObject> object = std::make_shared<RecordingRequestObject>();
};

TEST_F(FetchCom, callsTheObjectInOrderWithTheCompletedHeaders) {
    WebRequest request;
    request.url = server.url("/echo");
    request.headers = "User-Agent: mine/1";
    request.requestObject = object;
    EXPECT_EQ(fetchCom(request), toBytes("echo"));
    const std::vector<Text> expected = {
        "SetTimeouts 15000 15000 15000 15000",
        "Open GET " + server.url("/echo") + " sync",
        "SetRequestHeader User-Agent|mine/1",
        "SetRequestHeader Accept|*/*",
        "SetRequestHeader Referer|http://127.0.0.1",
        "SetRequestHeader Accept-Language|zh-cn",
        "SetRequestHeader Content-Type|application/x-www-form-urlencoded",
        "Send ",
    };
    EXPECT_EQ(object->calls, expected);
    const std::vector<Text> sentLines = {"Host: 127.0.0.1:" + toText(server.port()),
                                         "User-Agent: mine/1",
                                         "Accept: */*",
                                         "Referer: http://127.0.0.1",
                                         "Accept-Language: zh-cn",
                                         "Content-Type: application/x-www-form-urlencoded"};
    EXPECT_EQ(server.lastRequest().headerLines, sentLines);
    EXPECT_EQ(request.status, 200);
    EXPECT_EQ(request.url, server.url("/echo"));
}

struct OptionsCase {
    int timeoutSeconds;
    bool noRedirect;
    Text proxyUser;
    std::vector<Text> callsBeforeHeaders;
};

TEST_F(FetchCom, optionalCallsFollowTheRecord) {
    const Text proxy = "127.0.0.1:1";
    const Text open = "Open POST " + server.url("/echo") + " sync";
    const OptionsCase cases[] = {
        {-1, false, "", {open}},
        {20, false, "", {"SetTimeouts 20000 20000 20000 20000", open}},
        {-5, true, "", {"SetTimeouts 15000 15000 15000 15000", open, "Option 6 0"}},
        {-1, false, "", {"SetProxy 2 " + proxy, open}},
        {-1, false, "u", {"SetProxy 2 " + proxy, "SetProxyCredentials u p 1", open}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const OptionsCase& c = cases[i];
        auto recorder = std::make_shared<RecordingRequestObject>();
        WebRequest request;
        request.url = server.url("/echo");
        request.method = 1;
        request.timeoutSeconds = c.timeoutSeconds;
        request.noRedirect = c.noRedirect;
        if (i >= 3) request.proxy = proxy;
        request.proxyUser = c.proxyUser;
        request.proxyPassword = "p";
        request.requestObject = recorder;
        fetchCom(request);
        const std::vector<Text> before(recorder->calls.begin(),
                                       recorder->calls.begin() + c.callsBeforeHeaders.size());
        EXPECT_EQ(before, c.callsBeforeHeaders) << i;
        EXPECT_EQ(recorder->calls.at(c.callsBeforeHeaders.size()).substr(0, 16), "SetRequestHeader")
            << i;
    }
}

TEST_F(FetchCom, cookiesGoFirstAndComeBackWithoutSpaces) {
    WebRequest request;
    request.url = server.url("/set-cookie");
    request.cookies = "theme=light; lang=zh";
    request.headers = "Cookie: own=1";
    request.requestObject = object;
    fetchCom(request);
    EXPECT_EQ(object->calls.at(2), "SetRequestHeader Cookie|theme=light; lang=zh");
    EXPECT_EQ(object->calls.at(3), "SetRequestHeader Cookie|own=1");
    EXPECT_EQ(request.receivedCookies, "sid=abc1;theme=dark");
    EXPECT_EQ(request.cookies, "sid=abc1; theme=dark; lang=zh");

    WebRequest absent;
    absent.url = server.url("/set-cookie");
    fetchCom(absent);
    EXPECT_EQ(absent.receivedCookies, "sid=abc1;theme=dark");
    EXPECT_FALSE(absent.cookies.has_value());
    EXPECT_EQ(server.lastRequest().header("Cookie"), std::nullopt);
}

TEST_F(FetchCom, lineWithoutColonIsNotSent) {
    WebRequest request;
    request.url = server.url("/echo");
    request.headers = "no colon here\r\n\r\nX-Extra: 1";
    EXPECT_EQ(fetchCom(request), toBytes("echo"));
    const RecordedRequest sent = server.lastRequest();
    EXPECT_EQ(sent.header("X-Extra"), "1");
    for (const Text& line : sent.headerLines)
        EXPECT_NE(line.substr(0, 1), ":") << line;
    EXPECT_EQ(sent.headerLines.size(), 7u);
}

struct ComBodyCase {
    int method;
    Text body;
    Bytes bodyBytes;
    Bytes sent;
};

TEST_F(FetchCom, bodyBytesGoOutEvenWithGet) {
    const ComBodyCase cases[] = {
        {0, "", toBytes("raw"), toBytes("raw")},
        {1, "a=\xd6\xd0", {}, toBytes("a=\xd6\xd0")},
        {0, "text too", {}, toBytes("text too")},
    };
    for (const auto& c : cases) {
        WebRequest request;
        request.url = server.url("/echo");
        request.method = c.method;
        request.body = c.body;
        request.bodyBytes = c.bodyBytes;
        fetchCom(request);
        EXPECT_EQ(server.lastRequest().body, c.sent);
        EXPECT_EQ(server.lastRequest().method(), methodName(c.method));
    }
}

TEST_F(FetchCom, statusAndHeadersOfTheAnswer) {
    const std::tuple<Text, bool, int> cases[] = {
        {"/status/404", false, 404}, {"/redirect", false, 200}, {"/redirect", true, 302}};
    for (const auto& [path, noRedirect, status] : cases) {
        WebRequest request;
        request.url = server.url(path);
        request.noRedirect = noRedirect;
        fetchCom(request);
        EXPECT_EQ(request.status, status) << path;
        // Header lines only, without the status line.
        EXPECT_EQ(find(request.responseHeaders, "HTTP/"), -1) << path;
        EXPECT_NE(find(request.responseHeaders, "Content-Length: "), -1) << path;
    }
}

TEST_F(FetchCom, fallsBackThroughTheIdentifiers) {
    for (int failing = 0; failing <= 3; ++failing) {
        for (int i = 0; i < 3; ++i)
            setHttpRequestObjectFails(progIds[i], i < failing);
        WebRequest request;
        request.url = server.url("/echo");
        const Bytes body = fetchCom(request);
        EXPECT_EQ(body, failing < 3 ? toBytes("echo") : Bytes()) << failing;
        EXPECT_EQ(request.headers.empty(), failing == 3) << failing;
    }
}

TEST_F(FetchCom, unreachableOrRejectedAddressLeavesEmptyResults) {
    for (const Text& url : {Text("http://127.0.0.1:1/"), server.url("/echo").substr(7)}) {
        WebRequest request;
        request.url = url;
        EXPECT_TRUE(fetchCom(request).empty()) << url;
        EXPECT_EQ(request.status, 0);
        EXPECT_EQ(request.responseHeaders, "");
        EXPECT_EQ(request.receivedCookies, "");
        EXPECT_NE(find(request.headers, "Referer: http://127.0.0.1"), -1);
    }
}

TEST(HttpRequestObject, optionFourIgnoresCertificateErrorsWhenSet) {
    test::TestHttpsServer https("secret");
    auto object = createHttpRequestObject("msxml2.serverxmlhttp.6.0");
    ASSERT_TRUE(object);
    object->Open("GET", https.url("/"), false);
    EXPECT_FALSE(object->Send({}));
    object->Open("GET", https.url("/"), false);
    object->Option(optionSslErrorIgnoreFlags, 0x3300);
    EXPECT_TRUE(object->Send({}));
    EXPECT_EQ(object->ResponseBody(), toBytes("secret"));
    EXPECT_EQ(object->Status(), 200);
}

TEST(HttpRequestObject, httpsGoesThroughTheProxyTunnel) {
    test::TestHttpsServer https("tunnelled");
    test::TinyProxy proxy;
    auto object = createHttpRequestObject("WinHttp.WinHttpRequest.5.1");
    object->SetProxy(proxySettingProxy, proxy.address());
    object->Open("GET", https.url("/"), false);
    object->Option(optionSslErrorIgnoreFlags, 0x3300);
    EXPECT_TRUE(object->Send({}));
    EXPECT_EQ(object->ResponseBody(), toBytes("tunnelled"));
    // The proxy's own answer to the tunnel request is not part of the header block.
    EXPECT_EQ(find(object->GetallResponseHeaders(), "Connection established", 1, true), -1);
}

TEST(HttpRequestObject, httpsIsNotRedirectedToPlainHttp) {
    TestHttpServer plain(test::webRoute);
    const std::pair<Text, Bytes> cases[] = {{plain.url("/echo"), {}},
                                            {"/final", toBytes("secret")}};
    for (const auto& [target, body] : cases) {
        test::TestHttpsServer https("secret", target);
        auto object = createHttpRequestObject("WinHttp.WinHttpRequest.5.1");
        object->Open("GET", https.url("/redirect"), false);
        object->Option(optionSslErrorIgnoreFlags, 0x3300);
        object->Send({});
        EXPECT_EQ(object->ResponseBody(), body) << target;
    }
    EXPECT_EQ(plain.requests().size(), 0u);
}

TEST(HttpRequestObject, onlyRegisteredIdentifiersCreate) {
    EXPECT_TRUE(createHttpRequestObject("WinHttp.WinHttpRequest.5.1"));
    EXPECT_FALSE(createHttpRequestObject("Microsoft.XMLHTTP"));
}

TEST_F(FetchCom, proxyCredentialsReachTheProxy) {
    test::TinyProxy proxy(test::ProxyCredentials{"user", "secret"});
    const std::pair<Text, bool> cases[] = {{"secret", true}, {"wrong", false}};
    for (const auto& [password, admitted] : cases) {
        WebRequest request;
        request.url = server.url("/echo");
        request.proxy = proxy.address();
        request.proxyUser = "user";
        request.proxyPassword = password;
        EXPECT_EQ(fetchCom(request) == toBytes("echo"), admitted) << password;
        EXPECT_EQ(request.status == 200, admitted) << password;
    }
}

} // namespace
} // namespace quorvel
