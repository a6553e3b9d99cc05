#include <gtest/gtest.h>

#include <map>

#include "CommandLine.h"
#include "QStringPrinter.h"
#include "SourceMode.h"

namespace {

using Options = std::map<QString, QString>;

// The option set as a map, or nothing.
std::optional<Options> Parse(const QString& text) {
    const std::optional<OptionSet> set = ParseCommandLine(text);
    if (!set) return std::nullopt;
    Options options;
    for (const QString& key :
         {OptionKey::Error, OptionKey::User, OptionKey::Password, OptionKey::Database,
          OptionKey::Server, OptionKey::Path, OptionKey::Log})
        if (set->IncludesKey(key)) options[key] = set->Item(key);
    EXPECT_EQ(qsizetype(options.size()), set->Count());
    return options;
}

}  // namespace

// Options in any order and letter case are read end to end.
TEST(ParseCommandLine, ReadsSevenOptionsWhateverTheSpacesAround) {
    const Options all{{"error", "1"},    {"user", "sa"}, {"pass", "pw"},   {"serv", "db"},
                      {"base", "Sales"}, {"path", "/p"}, {"log", "/l.log"}};
    EXPECT_EQ(Parse("   -E   1  -U sa   -P pw -S db -B Sales -D /p -L /l.log   "), all);
}

TEST(ParseCommandLine, RejectsWhatCannotBeReadAsPairs) {
    for (const char* text : {"", "     ", "-?", "-? -E 1", "-E 1 -? x", "-E 1 -X 2", "-E 1 -L",
                             "-E 1 -L   ", "-E", "-E\t1 -U sa", "-E 1 -U two words -P x"})
        EXPECT_EQ(Parse(text), std::nullopt) << text;
}

TEST(ParseCommandLine, ValuesAreTakenAsTheyComeEvenWhenTheyLookLikeOptions) {
    EXPECT_EQ(Parse("-E -? -U x"), (Options{{"error", "-?"}, {"user", "x"}}));
    // -U takes "-P" as its value; "secret" is then read as an option.
    EXPECT_EQ(Parse("-U -P secret x"), std::nullopt);
    EXPECT_EQ(Parse("-U -P -S x"), (Options{{"user", "-P"}, {"serv", "x"}}));
    EXPECT_EQ(Parse("-U a\tb -S x"), (Options{{"user", "a\tb"}, {"serv", "x"}}));
    EXPECT_EQ(Parse("-U first -U second -S x"), (Options{{"user", "first"}, {"serv", "x"}}));
}

TEST(ParseCommandLine, SourceModeFollowsTheLastOfDAndFWhilePathKeepsTheFirst) {
    g_sSourceMode.clear();
    EXPECT_EQ(Parse("-D /dir -F /list.txt"), (Options{{"path", "/dir"}}));
    EXPECT_EQ(g_sSourceMode, kListFileMode);
    EXPECT_EQ(Parse("-F /list.txt -D /dir"), (Options{{"path", "/list.txt"}}));
    EXPECT_EQ(g_sSourceMode, kFolderMode);
    // Set as soon as the option is read, even when its value is missing.
    EXPECT_EQ(Parse("-F"), std::nullopt);
    EXPECT_EQ(g_sSourceMode, kFolderMode);
    EXPECT_EQ(Parse("-F "), std::nullopt);
    EXPECT_EQ(g_sSourceMode, kListFileMode);
}

TEST(ParseErrorMode, AcceptsSignedDecimal32BitIntegersOnly) {
    EXPECT_EQ(ParseErrorMode("+7"), 7);
    EXPECT_EQ(ParseErrorMode("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseErrorMode("2147483647"), INT32_MAX);
    for (const char* bad : {"", "2147483648", "1.5", "0x1", " 1", "1e3", "one", "--1", "+"})
        EXPECT_EQ(ParseErrorMode(bad), std::nullopt) << bad;
}
