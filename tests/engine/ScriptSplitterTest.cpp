#include <gtest/gtest.h>

#include <QStringList>

#include "QStringPrinter.h"
#include "ScriptSplitter.h"

using namespace Qt::StringLiterals;

// Random texts are checked against the rule read literally by the fuzz regression test; these
// rows pin that reading.
namespace {

struct Case {
    const char* name;
    QString script;
    QStringList batches;
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
};

const Case kCases[] = {
    {"ProcedureGrantAndTrailingLineEnd",
     u"create p\r\nGO\r\ngrant p\r\nGO\r\n"_s,
     {u"create p\r\n"_s, u"\r\ngrant p\r\n"_s, u"\r\n"_s}},
    {"AnyCaseAndSurroundingWhiteSpace",
     u"a\r\n  gO\t \r\nb\ngo"_s,
     {u"a\r\n  "_s, u"\t \r\nb\n"_s}},
    {"GoInNestedBlockCommentsIsText",
     u"a\n/* old /* b */\nGO\n*/\nGO\nc"_s,
     {u"a\n/* old /* b */\nGO\n*/\n"_s, u"\nc"_s}},
    {"GoInAMultiLineStringIsText",
     u"insert t values (N'it''s\r\ngo\r\n')\r\nGO\r\n"_s,
     {u"insert t values (N'it''s\r\ngo\r\n')\r\n"_s, u"\r\n"_s}},
    {"LineCommentOpensNothingAndEndsAtCr",
     u"-- it's /* [\rGO\r\"a\ngo\n\"\nGO"_s,
     {u"-- it's /* [\r"_s, u"\r\"a\ngo\n\"\n"_s}},
    {"QuotesAndCommentsInBracketsAreText",
     u"select [it's -- x]]\ngo\n]\ngo\nb"_s,
     {u"select [it's -- x]]\ngo\n]\n"_s, u"\nb"_s}},
    {"CommentsAndBracketsInStringsAreText",
     u"'--', '/*', \"[\"\nGO\nb"_s,
     {u"'--', '/*', \"[\"\n"_s, u"\nb"_s}},
    // Strings closed over more than the 64 characters the cut reads at once.
    {"ManyStringsBeforeAGoLine",
     u"insert dbo.t values ('it''s', 'b'), ('c', 'd'), ('e', 'f'), ('g', 'h'), ('i', 'j')\r\nGO\r\nx"_s,
     {u"insert dbo.t values ('it''s', 'b'), ('c', 'd'), ('e', 'f'), ('g', 'h'), ('i', 'j')\r\n"_s,
      u"\r\nx"_s}},
    {"UnclosedCommentKeepsTheRest",
     u"a\nGO\n/* x */ /* y\nGO\nb"_s,
     {u"a\n"_s, u"\n/* x */ /* y\nGO\nb"_s}},
};

class ScriptSplitterCases : public testing::TestWithParam<Case> {};

}  // namespace

TEST_P(ScriptSplitterCases, CutsAsTheSeparatorRuleSays) {
    QStringList batches;
    for (QStringView batch : SplitScript(GetParam().script)) batches << batch.toString();
    EXPECT_EQ(batches, GetParam().batches);
}

INSTANTIATE_TEST_SUITE_P(ScriptSplitter, ScriptSplitterCases, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
