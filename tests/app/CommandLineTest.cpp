#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

// Only the bytes of the password's value turn to '*', wherever the arguments split the text.
TEST(BlankArguments, OverwritesThePasswordKeptInTheArgumentStrings) {
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{"-E", "1", "-P", "1", "-U", "x"}, {"-E", "1", "-P", "*", "-U", "x"}},
        {{"-P  s\u00e9\u20act", "-P", "b"}, {"-P  *******", "-P", "b"}},
        {{"-E", "1 -p", "", " pw "}, {"-E", "1 -p", "", " ** "}},
    };
    for (auto [args, expected] : cases) {
        std::vector<char*> argv{nullptr};
        for (std::string& arg : args) argv.push_back(arg.data());
        QStringList arguments;
        for (const std::string& arg : args) arguments << QString::fromStdString(arg);
        TextSpan password;
        ParseCommandLine(ArgumentText(arguments), password);
        BlankArguments(static_cast<int>(argv.size()), argv.data(), password);
        EXPECT_EQ(args, expected);
    }
}
