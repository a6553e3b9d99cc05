#include <gtest/gtest.h>

#include <QString>

#include "ScriptSplitter.h"

namespace {

struct Case {
    const char* name;
    const char16_t* script;
    std::vector<std::u16string> batches;
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
};

std::vector<std::u16string> Split(const char16_t* script) {
    std::vector<std::u16string> batches;
    for (QStringView batch : SplitScript(QStringView(script)))
        batches.emplace_back(batch.utf16(), batch.size());
    return batches;
}

const Case kCases[] = {
    {"ProcedureGrantAndTrailingLineEnd",
     u"create procedure p as select 1\r\nGO\r\ngrant exec on p to public\r\nGO\r\n",
     {u"create procedure p as select 1\r\n", u"\r\ngrant exec on p to public\r\n", u"\r\n"}},
    {"LowerCaseGoSeparates", u"a\r\ngo\r\nb", {u"a\r\n", u"\r\nb"}},
    {"MixedCaseGoSeparates", u"a\r\ngO\r\nb", {u"a\r\n", u"\r\nb"}},
    {"GoInsideAWordIsNotASeparator",
     u"select CATEGORY\r\nGOTO label\r\n",
     {u"select CATEGORY\r\nGOTO label\r\n"}},
    {"GodLineIsCutBeforeTheG", u"x\r\nGOD\r\ny", {u"x\r\n", u"D\r\ny"}},
    {"LineFeedOnlyGoBeforeAVisibleCharacterIsNotASeparator", u"a\nGO\nb", {u"a\nGO\nb"}},
    {"LineFeedOnlyGoBeforeABlankLineSeparates", u"a\nGO\n\nb", {u"a\n", u"\n\nb"}},
    {"GoFollowedByASpaceAndTextIsNotASeparator", u"a\r\nGO x\r\n", {u"a\r\nGO x\r\n"}},
    {"LineGoEndingTheTextIsCut", u"a\r\nGO", {u"a\r\n"}},
    {"LineGoAndOneCharacterEndingTheTextIsCut", u"a\nGO\n", {u"a\n", u"\n"}},
    {"LineGoAndOneLetterEndingTheTextIsCutBeforeTheLetter", u"a\r\nGOX", {u"a\r\n", u"X"}},
    {"WordEndingInGoAtTheEndIsKept", u"exec dbo.ImportCargo", {u"exec dbo.ImportCargo"}},
    {"WordEndingInGoAndOneCharacterAtTheEndIsKept", u"select 1 as lingo;", {u"select 1 as lingo;"}},
    {"GoAtTheVeryStartSendsNoEmptyBatch", u"GO\r\nselect 1\r\n", {u"\r\nselect 1\r\n"}},
    {"WhiteSpaceBatchesAreKept", u"a\r\nGO\r\n\r\nGO\r\n", {u"a\r\n", u"\r\n\r\n", u"\r\n"}},
    {"ScriptWithoutSeparatorIsOneBatch", u"select 1", {u"select 1"}},
    {"EmptyScriptHasNoBatch", u"", {}},
    {"GoGoAtTheEndIsOneWord", u"a GOGO", {u"a GOGO"}},
    {"TabsAndOtherControlCharactersCountAsWhiteSpace", u"a\tGO\t\tb", {u"a\t", u"\t\tb"}},
};

class ScriptSplitterCases : public testing::TestWithParam<Case> {};

}  // namespace

TEST_P(ScriptSplitterCases, CutsAsTheSeparatorRuleSays) {
    EXPECT_EQ(Split(GetParam().script), GetParam().batches);
}

INSTANTIATE_TEST_SUITE_P(ScriptSplitter, ScriptSplitterCases, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptSplitter, BatchesAreViewsIntoTheText) {
    const QString script = QStringLiteral("a\r\nGO\r\nb");
    const auto batches = SplitScript(script);
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].data(), script.data());
    EXPECT_EQ(batches[1].data(), script.data() + 5);
}
