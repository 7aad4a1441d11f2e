#include "WebRoutes.h"

#include <functional>
#include <map>

namespace quorvel::test {

Bytes patternBody(std::size_t n) {
    Bytes body(n);
    for (std::size_t i = 0; i < n; ++i)
        body[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return body;
}

namespace {

TestReply redirectTo(const Text& location) {
    return textReply("moved", {"Location: " + location}, 302);
}

TestReply withBody(Bytes body, std::vector<Text> headerLines = {}) {
    TestReply reply;
    reply.body = std::move(body);
    reply.headerLines = std::move(headerLines);
    return reply;
}

TestReply bigHeaders() {
    return textReply("big", {"X-Filler: " + Text(6000, 'f'), "Set-Cookie: hidden=1; Path=/"});
}

TestReply stalled() {
    TestReply reply = textReply("late");
    reply.stallMs = 20000;
    return reply;
}

TestReply endless() {
    TestReply reply;
    reply.endless = true;
    return reply;
}

} // namespace

TestReply webRoute(const RecordedRequest& request) {
    static const std::map<Text, std::function<TestReply()>> routes = {
        {"/set-cookie",
         [] {
             return textReply("cookies", {"set-cookie: sid=abc 1; Path=/; Domain=127.0.0.1",
                                          "SET-COOKIE: theme=dark", "Content-Type: text/plain"});
         }},
        {"/redirect", [] { return redirectTo("/final"); }},
        {"/final", [] { return textReply("final", {"X-Final: yes"}); }},
        {"/file-redirect", [] { return redirectTo("file:///etc/hostname"); }},
        {"/loop", [] { return redirectTo("/loop"); }},
        {"/status/404", [] { return textReply("missing", {}, 404); }},
        {"/status/500", [] { return textReply("broken", {}, 500); }},
        {"/empty", [] { return textReply("", {}, 204); }},
        {"/big-headers", bigHeaders},
        {"/large", [] { return withBody(patternBody(largeBodySize)); }},
        {"/endless", endless},
        {"/stall", stalled},
        {"/gzip", [] { return withBody(gzipped("zipped text"), {"Content-Encoding: gzip"}); }},
        {"/not-gzip", [] { return withBody(toBytes("plain"), {"Content-Encoding: gzip"}); }},
    };
    const Text path = request.target().substr(0, request.target().find('?'));
    auto route = routes.find(path);
    return route == routes.end() ? textReply("echo") : route->second();
}

} // namespace quorvel::test
