#include "web/FetchCom.h"

#include <array>
#include <utility>

#include "web/CookieText.h"
#include "web/HttpRequestObject.h"

namespace quorvel {

namespace {

constexpr long defaultTimeoutMs = 15000;

// The first object that can be created, in the order of preference.
std::shared_ptr<HttpRequestObject> createFirstRequestObject() {
    static const std::array<Text, 3> progIds = {
        "WinHttp.WinHttpRequest.5.1", "MSXML2.ServerXMLHTTP.6.0", "MSXML2.ServerXMLHTTP.5.0"};
    for (const Text& progId : progIds)
        if (auto object = createHttpRequestObject(progId)) return object;
    return nullptr;
}

// -1 keeps the object's own timeouts; 0 or less means 15 seconds.
void setTimeouts(HttpRequestObject& object, int timeoutSeconds) {
    if (timeoutSeconds == -1) return;
    const long t = timeoutSeconds <= 0 ? defaultTimeoutMs : timeoutSeconds * 1000L;
    object.SetTimeouts(t, t, t, t);
}

void setProxy(HttpRequestObject& object, const WebRequest& request) {
    if (request.proxy.empty()) return;
    object.SetProxy(proxySettingProxy, request.proxy);
    if (!request.proxyUser.empty())
        object.SetProxyCredentials(request.proxyUser, request.proxyPassword,
                                   request.proxyCredentialFlag);
}

// One header per non-empty line of the completed text, in order.
void setHeaderLines(HttpRequestObject& object, const Text& headers) {
    for (const Text& line : split(headers, "\r\n"))
        if (!line.empty()) object.SetRequestHeader(headerName(line), headerValue(line));
}

} // namespace

Bytes fetchCom(WebRequest& request) {
    const Text verb = methodName(request.method);
    std::shared_ptr<HttpRequestObject> object =
        request.requestObject ? request.requestObject : createFirstRequestObject();
    if (!object) return {};

    setTimeouts(*object, request.timeoutSeconds);
    setProxy(*object, request);
    object->Open(verb, request.url, false);
    if (request.noRedirect) object->Option(optionEnableRedirects, 0);
    // Certificate errors are not ignored: a forged update page must not be accepted.
    completeComHeaders(request.headers, request.url);
    if (request.cookies && !request.cookies->empty())
        object->SetRequestHeader("Cookie", *request.cookies);
    setHeaderLines(*object, request.headers);
    // The method does not decide this: a GET with bytes sends them.
    object->Send(request.bodyBytes.empty() ? toBytes(request.body) : request.bodyBytes);

    Bytes rawBody = object->ResponseBody();
    request.responseHeaders =
        replace(object->GetallResponseHeaders(), "Set-Cookie", "Set-Cookie", 1, -1, false);
    request.status = object->Status();
    request.receivedCookies = extractSetCookies(request.responseHeaders);
    Text jar = request.cookies.value_or(Text());
    mergeCookies(jar, request.receivedCookies);
    if (request.cookies) request.cookies = jar;
    object.reset();
    return finishBody(request.headers, std::move(rawBody));
}

} // namespace quorvel
