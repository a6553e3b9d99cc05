#include "EngineHarness.h"

namespace {

QString Framed(const QString& text) {
    const QString hyphens(62, u'-');
    return hyphens + "\r\n" + text + "\r\n" + hyphens + "\r\n";
}

}  // namespace

TEST_F(EngineTest, RunLogsHeaderResultAndSummaryByteForByteAndAppends) {
    clock.elapsedMs = 3725500;
    const QString script = Write("one.sql", "select 1\r\nGO\r\nselect 2\r\n");
    const LoadOutcome outcome = RunLogged(script, 0);
    const QString run = Framed(
                            u"Déploiement (04/03/2026 05:06:07) : \r\n    Serveur : srv\r\n"
                            u"    Base : Sales\r\n    User : sa\r\n    Password : ********"_qs) +
                        u"04/03/2026 05:06:07 - one.sql\tRéussi\r\n"_qs +
                        Framed(
                            u"Nbr de procédures : 1\r\nNbr de procédures chargées : 1\r\n"
                            u"Nbr de procédures rejettées : 0\r\nTemps de chargement : 1h2m6s"_qs);
    EXPECT_EQ(ReadLog(), run);
    EXPECT_FALSE(db.open);
    EXPECT_TRUE(outcome.failure.isEmpty());
    RunLogged(script, 0);
    EXPECT_EQ(ReadLog(), run + run);
}

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
