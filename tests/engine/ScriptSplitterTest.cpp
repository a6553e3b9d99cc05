#include <gtest/gtest.h>

#include <QString>
#include <random>

#include "ReferenceSplit.h"
#include "ScriptSplitter.h"

namespace {

struct Case {
    const char* name;
    const char16_t* script;
    std::vector<std::u16string> batches;
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
};

std::vector<std::u16string> Split(QStringView script) {
    std::vector<std::u16string> batches;
    for (QStringView batch : SplitScript(script))
        batches.emplace_back(reinterpret_cast<const char16_t*>(batch.utf16()), batch.size());
    return batches;
}

std::vector<std::u16string> SplitByReference(QStringView script) {
    std::vector<std::u16string> batches;
    for (const QString& batch : ReferenceSplit(script.toString()))
        batches.emplace_back(reinterpret_cast<const char16_t*>(batch.utf16()), batch.size());
    return batches;
}

const Case kCases[] = {
    {"ProcedureGrantAndTrailingLineEnd",
     u"create procedure p as select 1\r\nGO\r\ngrant exec on p to public\r\nGO\r\n",
     {u"create procedure p as select 1\r\n", u"\r\ngrant exec on p to public\r\n", u"\r\n"}},
    {"LineFeedOnlyGoLinesSeparate",
     u"create view v as select 1\nGO\ngrant select on v to r\n",
     {u"create view v as select 1\n", u"\ngrant select on v to r\n"}},
    {"AnyCaseAndSurroundingWhiteSpace", u"a\r\n  gO\t \r\nb\ngo", {u"a\r\n  ", u"\t \r\nb\n"}},
    {"LineEndingInTheWordGoIsNotCut",
     u"-- index of 2 Go\r\ndelete from t\r\n-- let it go\nx",
     {u"-- index of 2 Go\r\ndelete from t\r\n-- let it go\nx"}},
    {"GoInsideAWordIsNotASeparator",
     u"select CATEGORY\r\nGOTO label\r\n",
     {u"select CATEGORY\r\nGOTO label\r\n"}},
    {"GodAloneOnItsLineIsNotCut", u"x\r\nGOD\r\ny", {u"x\r\nGOD\r\ny"}},
    {"GoFollowedByTextOnItsLineIsNotASeparator",
     u"a\r\nGO 3\r\nb\nGO -- x\n",
     {u"a\r\nGO 3\r\nb\nGO -- x\n"}},
    {"GoEndingTheTextIsCut", u"a\r\nGO", {u"a\r\n"}},
    {"WordEndingInGoAtTheEndIsKept", u"exec dbo.ImportCargo", {u"exec dbo.ImportCargo"}},
    {"GoAtTheVeryStartSendsNoEmptyBatch", u"GO\r\nselect 1\r\n", {u"\r\nselect 1\r\n"}},
    {"WhiteSpaceBatchesAreKept", u"a\r\nGO\r\n\r\nGO\r\n", {u"a\r\n", u"\r\n\r\n", u"\r\n"}},
    {"CarriageReturnAloneEndsALine", u"a\rGO\rb", {u"a\r", u"\rb"}},
    {"EmptyScriptHasNoBatch", u"", {}},
};

class ScriptSplitterCases : public testing::TestWithParam<Case> {};

}  // namespace

TEST_P(ScriptSplitterCases, CutsAsTheSeparatorRuleSays) {
    EXPECT_EQ(Split(GetParam().script), GetParam().batches);
    EXPECT_EQ(SplitByReference(GetParam().script), GetParam().batches);
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

TEST(ScriptSplitter, AgreesWithTheLiteralRuleOnRandomTexts) {
    const char16_t* pieces[] = {u"GO", u"go", u"gO", u"G",    u"O", u"o", u"D",          u" ",
                                u"\t", u"\r", u"\n", u"\r\n", u"x", u"é", u"\U0001F600", u"\x1F"};
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int i = 0; i < 20000; ++i) {
        QString text;
        for (int n = length(random); n > 0; --n) text += QStringView(pieces[piece(random)]);
        ASSERT_EQ(Split(text), SplitByReference(text)) << text.toStdString();
    }
}
