#include "EngineHarness.h"

// The logged side of these runs is checked end to end.
TEST_F(EngineTest, RefusedLoginIsOnlyTheConnectionFailure) {
    db.refuseLogin = true;
    RunWindowed(Path("x.sql"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(u"La connection suivante a échouée ("));
    EXPECT_TRUE(receiver.calls.isEmpty());
}

TEST_F(EngineTest, MissingPathIsAskedAboutAndRetryLooksAgain) {
    boxes.answer = [this](const ScriptedMessageBox::Shown& shown) {
        if (shown.style != MsgBoxStyle::CriticalRetryCancel) return MsgBoxAnswer::Ok;
        Write("late.sql", "select 1");  // the operator puts the script in place
        return MsgBoxAnswer::Retry;
    };
    EXPECT_EQ(RunWindowed(Path("late.sql")).loaded, 1);
    EXPECT_EQ(receiver.calls, (QStringList{"item late.sql\tRéussi", "refresh"}));
}

// Left open, or committed across batches, is seen end to end.
TEST_F(EngineTest, TransactionIsCheckedAfterARejectedScriptAndAFailedCheckRejects) {
    db.failures["bad"] = "boom";
    RunLogged(Write("t.sql", "begin tran\r\nGO\r\ninsert bad\r\n"));
    EXPECT_FALSE(db.transactionOpen);
    db.failures = {{"@@trancount", "lost"}};
    RunLogged(Write("u.sql", "select 1"));
    EXPECT_EQ(ResultLines(), (QStringList{"t.sql\tboom", "u.sql\tlost"}));
}
