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
