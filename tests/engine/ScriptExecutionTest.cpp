#include "EngineHarness.h"

TEST_F(EngineTest, FailingSecondBatchKeepsTheFirstAndNeverSendsTheThird) {
    db.failures["second"] = "[FreeTDS][SQL Server]Invalid object name 'second'.";
    const QString script =
        Write("p.sql", "select first\r\nGO\r\nselect second\r\nGO\r\nselect third\r\n");
    const LoadOutcome outcome = RunLogged(script);
    EXPECT_EQ(db.batches, (QStringList{"select first\r\n", "\r\nselect second\r\n"}));
    EXPECT_EQ(ResultLines(),
              QStringList{"p.sql\t[FreeTDS][SQL Server]Invalid object name 'second'."});
    EXPECT_EQ(outcome.rejected, 1);
    EXPECT_EQ(outcome.loaded, 0);
}

TEST_F(EngineTest, EmptyScriptIsLoadedWithoutABatch) {
    const LoadOutcome outcome = RunLogged(Write("empty.sql", ""));
    EXPECT_TRUE(db.batches.isEmpty());
    EXPECT_EQ(ResultLines(), QStringList{"empty.sql\tRéussi"});
    EXPECT_EQ(outcome.loaded, 1);
}

TEST_F(EngineTest, UnreadableScriptIsRejectedWithTheReason) {
    // /proc/self/mem is a regular file whose first page cannot be read, even by root.
    const LoadOutcome outcome = RunLogged("/proc/self/mem");
    ASSERT_EQ(ResultLines().size(), 1);
    EXPECT_TRUE(ResultLines()[0].startsWith(u"mem\t"));
    EXPECT_GT(ResultLines()[0].size(), 4);
    EXPECT_NE(ResultLines()[0], u"mem\tRéussi");
    EXPECT_EQ(outcome.rejected, 1);
}

namespace {

struct TransactionCase {
    const char* name;
    const char* script;
    const char* failingText;  // a batch or the check ("@@trancount") that fails with "boom"
    const char* outcome;
    friend void PrintTo(const TransactionCase& c, std::ostream* out) { *out << c.name; }
};

const TransactionCase kTransactionCases[] = {
    {"LeftOpenIsRolledBackAndRejected", "begin tran\r\ninsert t\r\n", "",
     "Transaction laissée ouverte par le script : annulée."},
    {"CommittedAcrossBatchesIsLoaded", "begin tran\r\nGO\r\ninsert t\r\nGO\r\ncommit\r\n", "",
     "Réussi"},
    {"RejectedScriptKeepsTheServersError", "begin tran\r\nGO\r\ninsert bad\r\n", "bad", "boom"},
    {"FailedCheckRejects", "select 1\r\n", "@@trancount", "boom"},
};

class TransactionCheck : public EngineTest, public testing::WithParamInterface<TransactionCase> {};

}  // namespace

TEST_P(TransactionCheck, NoTransactionOutlivesItsScript) {
    if (*GetParam().failingText) db.failures[GetParam().failingText] = "boom";
    const LoadOutcome outcome = RunLogged(Write("t.sql", GetParam().script));
    EXPECT_EQ(ResultLines(), QStringList{QStringLiteral("t.sql\t") + GetParam().outcome});
    EXPECT_EQ(outcome.loaded, QString(GetParam().outcome) == u"Réussi" ? 1 : 0);
    EXPECT_FALSE(db.transactionOpen);
}

INSTANTIATE_TEST_SUITE_P(ScriptExecution, TransactionCheck, testing::ValuesIn(kTransactionCases),
                         [](const auto& info) { return std::string(info.param.name); });
