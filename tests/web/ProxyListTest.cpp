#include "web/ProxyList.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

struct ProxyCase {
    Text list;
    bool https;
    Text proxy;
};

TEST(ProxyList, httpEntryServesOnlyPlainHttp) {
    const ProxyCase cases[] = {
        {"http=p:8080", false, "p:8080"},    {"http=p:8080", true, ""},
        {"p:3128", true, "p:3128"},          {"p:3128", false, "p:3128"},
        {"https=s:1 http=h:2", true, "s:1"}, {"any:9;http=h:2", false, "h:2"},
        {"HTTP=h:2", false, "h:2"},          {"", false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(proxyForScheme(c.list, c.https), c.proxy) << c.list << " " << c.https;
}

} // namespace
} // namespace quorvel
