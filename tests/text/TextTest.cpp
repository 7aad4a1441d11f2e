#include "text/Text.h"

#include <gtest/gtest.h>

using namespace quorvel;

TEST(TextPrimitives, findNeverMatchesFromTrailByte) {
    // D6 D0 is one character; its trail byte D0 must not start a match of D0.
    const Text t = "\xD6\xD0\xD0x";
    EXPECT_EQ(find(t, "\xD0x"), 3);
    EXPECT_EQ(find("\xB0\x41", "A"), -1);
}
