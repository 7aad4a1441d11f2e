#include "web/UrlParts.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(UrlParts, normaliseUrlAddsHttpOnlyWhenNoSchemeTextAppears) {
    const std::pair<Text, Text> cases[] = {
        {"www.kugou.com/a", "http://www.kugou.com/a"},
        {"HTTP://h/a", "http://HTTP://h/a"},
        {"h/r?u=http://x/", "h/r?u=http://x/"},
        {"https://h/", "https://h/"},
        {"", "http://"},
    };
    for (const auto& [url, normalised] : cases)
        EXPECT_EQ(normaliseUrl(url), normalised) << url;
}

TEST(UrlParts, isHttpsUrlLooksAtTheSchemeInAnyCase) {
    EXPECT_TRUE(isHttpsUrl("HTTPS://h/"));
    EXPECT_FALSE(isHttpsUrl("http://h/"));
    EXPECT_FALSE(isHttpsUrl("h/https://"));
}

TEST(UrlParts, isWebAddressTakesOnlyHttpAndHttpsAtTheStart) {
    for (const char* yes : {"http://h/", "HTTPS://h/", "Http://h"})
        EXPECT_TRUE(isWebAddress(yes)) << yes;
    for (const char* no :
         {"", "http:/h", "file:///etc/passwd", "ftp://h/", " http://h/", "h/http://"})
        EXPECT_FALSE(isWebAddress(no)) << no;
}

struct UrlCase {
    Text url;
    Text host;
    Text hostWithPort;
    int port;
    Text path;
};

TEST(UrlParts, splitsAddressesTolerantly) {
    const UrlCase cases[] = {
        {"http://WWW.Example.COM:8080/A/b?Q=1", "www.example.com", "www.example.com:8080", 8080,
         "/A/b?Q=1"},
        {"https://secure.example.com", "secure.example.com", "secure.example.com", 443, "/"},
        {"http://plain.example.com/", "plain.example.com", "plain.example.com", 80, "/"},
        {"host.example.com?x=1", "host.example.com?x=1", "host.example.com?x=1", 80, "/"},
        {"http://host:/p", "host", "host:", 0, "/p"},
        {"http://host:12ab/p", "host", "host:12ab", 12, "/p"},
        // The host is looked for from the start, so a host met inside "http" cuts early.
        {"http://h/p", "h", "h", 80, "//h/p"},
        // Without a scheme, "http://" further on marks the host.
        {"a.com/r?u=http://B.com/x", "b.com", "b.com", 80, "/x"},
        {"", "", "", 80, "/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(urlHost(c.url, false), c.host) << c.url;
        EXPECT_EQ(urlHost(c.url, true), c.hostWithPort) << c.url;
        EXPECT_EQ(urlPort(c.url), c.port) << c.url;
        EXPECT_EQ(urlPath(c.url), c.path) << c.url;
    }
}

} // namespace
} // namespace quorvel
