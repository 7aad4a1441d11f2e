#include "web/WebRequest.h"

#include <array>
#include <atomic>
#include <utility>

#include "text/TextBetween.h"
#include "web/UrlParts.h"

namespace quorvel {

namespace {

std::atomic<const GzipCodec*> sharedCodec{nullptr};

bool contains(const Text& text, const Text& part) {
    return find(text, part) != -1;
}

// Step 1 of both completions: an Accept line where none is written in this exact case.
void addAcceptLine(Text& headers) {
    if (headers.empty())
        headers = "Accept: */*";
    else if (!contains(headers, "Accept:"))
        headers += "\r\nAccept: */*";
}

void addLineUnlessNamed(Text& headers, const Text& name, const Text& value) {
    if (!contains(headers, name + ":")) headers += "\r\n" + name + ": " + value;
}

} // namespace

Text methodName(int method) {
    static const std::array<const char*, 8> methodNames = {"GET",    "POST",    "HEAD",  "PUT",
                                                           "DELETE", "OPTIONS", "TRACE", "CONNECT"};
    if (method < 0 || method >= static_cast<int>(methodNames.size())) return "GET";
    return methodNames[method];
}

const Text& defaultUserAgent() {
    static const Text agent = "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, "
                              "like Gecko) Chrome/50.0.2661.102 Safari/537.36";
    return agent;
}

void completeWinInetHeaders(Text& headers, const std::optional<Text>& cookies) {
    addAcceptLine(headers);
    addLineUnlessNamed(headers, "Accept-Language", "zh-cn");
    addLineUnlessNamed(headers, "Content-Type", "application/x-www-form-urlencoded");
    if (!cookies || cookies->empty()) return;
    // A cookie text that holds "Cookie:" is a whole header line of the caller's.
    headers += contains(*cookies, "Cookie:") ? "\r\n" + *cookies : "\r\nCookie: " + *cookies;
}

void completeComHeaders(Text& headers, const Text& url) {
    addAcceptLine(headers);
    // The scheme written is always http, also for an https address.
    addLineUnlessNamed(headers, "Referer", "http://" + urlHost(url, false));
    addLineUnlessNamed(headers, "Accept-Language", "zh-cn");
    addLineUnlessNamed(headers, "User-Agent", defaultUserAgent());
    addLineUnlessNamed(headers, "Content-Type", "application/x-www-form-urlencoded");
}

Text pickAgentString(const Text& headers) {
    if (find(headers, "User-Agent:", 1, true) == -1) return defaultUserAgent();
    Text agent = trim(textBetween(headers + "\r\n", "User-Agent:", "\r\n"));
    // Another case of the name, or an empty value: everything after the first colon.
    return agent.empty() ? headerValue(headers) : agent;
}

Text headerName(const Text& line) {
    int colon = find(line, ":");
    return colon == -1 ? Text() : trim(left(line, colon - 1));
}

Text headerValue(const Text& line) {
    int colon = find(line, ":");
    return colon == -1 ? Text() : trim(line.substr(colon));
}

bool wantsGzip(const Text& headers) {
    return contains(headers, "Accept-Encoding: gzip") || contains(headers, "Accept-Encoding:gzip");
}

Bytes finishBody(const Text& headers, const Bytes& rawBody) {
    return finishBody(headers, Bytes(rawBody));
}

Bytes finishBody(const Text& headers, Bytes&& rawBody) {
    const GzipCodec* codec = sharedGzipCodec();
    if (!codec || !wantsGzip(headers)) return std::move(rawBody);
    Bytes decoded = codec->decompress(rawBody);
    return decoded.empty() ? std::move(rawBody) : decoded;
}

void setSharedGzipCodec(const GzipCodec* codec) {
    sharedCodec = codec;
}
const GzipCodec* sharedGzipCodec() {
    return sharedCodec;
}

} // namespace quorvel
