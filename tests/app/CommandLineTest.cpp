#include <gtest/gtest.h>

#include "CommandLine.h"

// The option parser is checked against the designed steps by the fuzz regression test, on the
// saved inputs under tests/fuzz/corpus/commandline.
TEST(ParseErrorMode, AcceptsSignedDecimal32BitIntegersOnly) {
    EXPECT_EQ(ParseErrorMode("+7"), 7);
    EXPECT_EQ(ParseErrorMode("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseErrorMode("2147483647"), INT32_MAX);
    for (const char* bad : {"", "2147483648", "1.5", "0x1", " 1", "1e3", "one", "--1", "+"})
        EXPECT_EQ(ParseErrorMode(bad), std::nullopt) << bad;
}
