#include "web/FetchWinInet.h"

#include <array>
#include <utility>

#include "web/CookieText.h"
#include "web/InternetSession.h"
#include "web/UrlParts.h"

namespace quorvel {

namespace {

constexpr std::uint32_t readBufferSize = 1024;
constexpr std::uint32_t headerBufferSize = 5000;

// For an http address the proxy is named for the http scheme only; an https address passes
// the proxy text unchanged.
InternetHandle openSession(const Text& agent, const Text& proxy, bool https) {
    if (proxy.empty()) return internetOpen(agent, internetOpenTypeDirect, "", "", 0);
    return internetOpen(agent, internetOpenTypeProxy, https ? proxy : "http=" + proxy, "", 0);
}

std::uint32_t requestFlags(const WebRequest& request, bool https) {
    std::uint32_t flags = internetFlagReload | internetFlagNeedFile;
    if (request.cookies) flags |= internetFlagNoCookies;
    if (request.noRedirect) flags |= internetFlagNoAutoRedirect;
    flags |= https ? internetFlagSecure : internetFlagIgnoreRedirectToHttps;
    return flags;
}

// Method index 0 sends no data; any other sends bodyBytes, filled from body when empty.
void sendRequest(InternetHandle handle, WebRequest& request) {
    if (request.method == 0) {
        httpSendRequest(handle, request.headers, nullptr);
        return;
    }
    if (request.bodyBytes.empty()) request.bodyBytes = toBytes(request.body);
    httpSendRequest(handle, request.headers, &request.bodyBytes);
}

Bytes readBody(InternetHandle handle) {
    Bytes body;
    std::array<std::uint8_t, readBufferSize> buffer;
    std::uint32_t n = 0;
    while (internetReadFile(handle, buffer.data(), readBufferSize, n) && n > 0)
        body.insert(body.end(), buffer.begin(), buffer.begin() + n);
    return body;
}

// The raw header block with every case of "Set-Cookie" written as "Set-Cookie"; empty when
// the block does not fit the buffer.
Text rawHeaders(InternetHandle handle) {
    std::array<char, headerBufferSize> buffer;
    std::uint32_t size = headerBufferSize;
    if (!httpQueryInfo(handle, httpQueryRawHeadersCrlf, buffer.data(), size)) return {};
    return replace(Text(buffer.data(), size), "Set-Cookie", "Set-Cookie", 1, -1, false);
}

} // namespace

Bytes fetchWinInet(WebRequest& request) {
    const Text verb = methodName(request.method);
    request.url = normaliseUrl(request.url);
    const bool https = isHttpsUrl(request.url);
    const Text agent = pickAgentString(request.headers);

    InternetHandle internet = openSession(agent, request.proxy, https);
    if (!internet) return {};
    InternetHandle connection =
        internetConnect(internet, urlHost(request.url, false), urlPort(request.url), "", "",
                        internetServiceHttp, 0, 0);
    if (!connection) {
        internetCloseHandle(internet);
        return {};
    }
    InternetHandle handle = httpOpenRequest(connection, verb, urlPath(request.url), "HTTP/1.1",
                                            nullptr, nullptr, requestFlags(request, https), 0);
    if (!handle) {
        internetCloseHandle(connection);
        internetCloseHandle(internet);
        return {};
    }

    completeWinInetHeaders(request.headers, request.cookies);
    sendRequest(handle, request);
    Bytes body = readBody(handle);
    request.responseHeaders = rawHeaders(handle);
    internetCloseHandle(handle);
    internetCloseHandle(connection);
    internetCloseHandle(internet);

    request.receivedCookies = extractSetCookies(request.responseHeaders);
    if (request.cookies)
        request.receivedCookies = mergeCookies(*request.cookies, request.receivedCookies);
    return finishBody(request.headers, std::move(body));
}

} // namespace quorvel
