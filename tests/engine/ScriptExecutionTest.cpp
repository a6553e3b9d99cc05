#include "EngineHarness.h"

TEST_F(EngineTest, FailingSecondBatchKeepsTheFirstAndNeverSendsTheThird) {
    db.failures["second"] = "[FreeTDS][SQL Server]Invalid object name 'second'.";
    RunLogged(Write("p.sql", "select first\r\nGO\r\nselect second\r\nGO\r\nselect third\r\n"));
    EXPECT_EQ(db.batches, (QStringList{"select first\r\n", "\r\nselect second\r\n"}));
    EXPECT_EQ(ResultLines(),
              QStringList{"p.sql\t[FreeTDS][SQL Server]Invalid object name 'second'."});
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
