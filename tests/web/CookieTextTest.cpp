#include "web/CookieText.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

struct MergeCase {
    Text jar;
    Text received;
    Text merged;
};

TEST(CookieText, mergeCookiesPutsReceivedFirstAndDropsDeleted) {
    const MergeCase cases[] = {
        {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1"},
        {"a=1; b=2", "a=deleted", "b=2"},
        {"", "x=1; x=1", "x=1"},
        {"a=1; a=2", "", "a=1"},
        {"", "k=hello world", "k=helloworld"},
        {"a=1", "", "a=1"},
        {"A=1", "a=2", "a=2; A=1"},
        {"a=1; b=deleted; a=1", "", "a=1"},
        {"", "x=1; x=2", "x=1; x=2"},
    };
    for (const auto& c : cases) {
        Text jar = c.jar;
        Text received = c.received;
        EXPECT_EQ(mergeCookies(jar, received), c.merged) << c.jar << " + " << c.received;
        EXPECT_EQ(jar, c.merged);
        EXPECT_EQ(received, removeSpaces(c.received));
    }
}

TEST(CookieText, extractSetCookiesTakesTheFirstPairOfEachLine) {
    const Text block = "HTTP/1.1 200 OK\r\n"
                       "Set-Cookie: sid=abc 1; Path=/; Domain=.example.com\r\n"
                       "Content-Type: text/html\r\n"
                       "Set-Cookie:   plain=yes  \r\n"
                       "Set-Cookie: sid=second; HttpOnly\r\n"
                       "\r\n";
    EXPECT_EQ(extractSetCookies(block), "sid=abc 1; plain=yes; sid=second");
    EXPECT_EQ(extractSetCookies("HTTP/1.1 200 OK\r\nX-A: b\r\n\r\n"), "");
    // Without the colon right after the name nothing is cut out of a line with attributes.
    EXPECT_EQ(extractSetCookies("Set-Cookie : a=1; Path=/"), "");
}

TEST(CookieText, cookieNameAndJoinUnique) {
    EXPECT_EQ(cookieName(" a =1=2"), "a");
    EXPECT_EQ(cookieName(" flag "), "flag");
    EXPECT_EQ(joinUnique("a; b; a; c; b", "; "), "a; b; c");
    EXPECT_EQ(joinUnique("", "; "), "");
}

} // namespace
} // namespace quorvel
