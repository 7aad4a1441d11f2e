#include "text/GbkLiteral.h"

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

TEST(GbkLiteral, holdsTheGbkBytesOfTheLiteral) {
    EXPECT_EQ("中文"_gbk, "\xD6\xD0\xCE\xC4");
    EXPECT_EQ("信息："_gbk, "\xD0\xC5\xCF\xA2\xA3\xBA");
    EXPECT_EQ("#引号"_gbk, "#\xD2\xFD\xBA\xC5");
    EXPECT_EQ("plain"_gbk, "plain");
}

TEST(GbkLiteral, isConvertedOnceAndKept) {
    EXPECT_EQ(&"搜索"_gbk, &"搜索"_gbk);
}

} // namespace
