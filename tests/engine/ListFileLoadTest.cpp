#include <QDir>

#include "EngineHarness.h"
#include "LoadTexts.h"

class ListFileLoad : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        g_sSourceMode = kListFileMode;
        QDir::setCurrent(dir.path());  // list entries are relative to the current folder
    }
    // A list of five scripts, the one named `failing` (if any) rejected by the server.
    QString FiveScripts(const QString& failing = {}) {
        QByteArray list;
        for (const char* name : {"1.sql", "2.sql", "3.sql", "4.sql", "5.sql"}) {
            Write(name, name);
            list += QByteArray(name) + "\r\n";
        }
        if (!failing.isEmpty()) db.failures[failing] = "rejected";
        return Write("list.txt", list);
    }
};

TEST_F(ListFileLoad, LoadsEachDistinctLineOnceInFileOrderSkippingBlankLines) {
    Write("b.sql", "b");
    Write("a.sql", "a");
    const QString list = Write("list.txt", "b.sql\r\n\r\na.sql\nB.SQL\r\nb.sql\r\n");
    const LoadOutcome outcome = RunWindowed(list);
    EXPECT_EQ(db.batches, (QStringList{"b", "a"}));
    EXPECT_EQ(receiver.calls, (QStringList{"max 3", "item b.sql\tRéussi", "refresh", "step",
                                           "item a.sql\tRéussi", "refresh", "step"}));
    EXPECT_EQ(outcome.procs, 2);
    EXPECT_EQ(outcome.loaded, 2);
}

TEST_F(ListFileLoad, EmptyListCountsNothingButSetsOneStep) {
    const LoadOutcome outcome = RunWindowed(Write("list.txt", ""));
    EXPECT_EQ(receiver.calls, QStringList{"max 1"});
    EXPECT_EQ(outcome.procs, 0);
}

TEST_F(ListFileLoad, StopModeReportsTheEntriesLeft) {
    const LoadOutcome outcome = RunLogged(FiveScripts("3.sql"), 0);
    EXPECT_EQ(db.batches, (QStringList{"1.sql", "2.sql", "3.sql"}));
    EXPECT_EQ(outcome.loaded, 2);
    EXPECT_TRUE(
        ReadLog().contains(u"Nbr de procédures rejettées : 1\r\n"
                           u"Nbr de procédures restantes à charger : 2\r\n"));
}

TEST_F(ListFileLoad, StopModeOnTheLastEntryStillShowsRemainingZero) {
    RunLogged(FiveScripts("5.sql"), 0);
    EXPECT_TRUE(ReadLog().contains(u"Nbr de procédures restantes à charger : 0\r\n"));
}

TEST_F(ListFileLoad, BlankLineAfterTheStopIsNeitherAProcedureNorRemaining) {
    Write("a.sql", "a");
    Write("c.sql", "c");
    const LoadOutcome outcome = RunLogged(Write("list.txt", "a.sql\nnope.sql\n\nc.sql\n"), 0);
    EXPECT_EQ(outcome.procs, 3);
    EXPECT_TRUE(
        ReadLog().contains(u"Nbr de procédures : 3\r\nNbr de procédures chargées : 1\r\n"
                           u"Nbr de procédures rejettées : 1\r\n"
                           u"Nbr de procédures restantes à charger : 1\r\n"));
}

TEST_F(ListFileLoad, ContinueModeNeverShowsRemaining) {
    const LoadOutcome outcome = RunLogged(FiveScripts("3.sql"), 1);
    EXPECT_EQ(db.batches.size(), 5);
    EXPECT_EQ(outcome.rejected, 1);
    EXPECT_FALSE(ReadLog().contains(u"restantes"));
}

TEST_F(ListFileLoad, MissingEntryIsLoggedAndRejectedAndStopsOnlyInStopMode) {
    Write("a.sql", "a");
    Write("c.sql", "c");
    const QString list = Write("list.txt", "a.sql\r\nmissing.sql\r\nc.sql\r\n");
    const QString block = QString(62, u'-') + "\r\n" + LoadTexts::NotFound("missing.sql") + "\r\n";

    LoadOutcome outcome = RunLogged(list, 1);
    EXPECT_TRUE(ReadLog().contains(block));
    EXPECT_EQ(db.batches, (QStringList{"a", "c"}));
    EXPECT_EQ(outcome.rejected, 1);

    db.batches.clear();
    outcome = RunLogged(list, 0);
    EXPECT_EQ(db.batches, QStringList{"a"});
    EXPECT_EQ(outcome.rejected, 1);
    EXPECT_TRUE(ReadLog().endsWith(
        u"Nbr de procédures restantes à charger : 1\r\nTemps de chargement : 0h0m0s\r\n"_qs +
        QString(62, u'-') + "\r\n"));
}

TEST_F(ListFileLoad, RetryReadsTheListAgainAndReplaysEarlierScripts) {
    Write("a.sql", "a");
    const QString list = Write("list.txt", "a.sql\r\nlate.sql\r\n");
    boxes.answer = [this](const ScriptedMessageBox::Shown& shown) {
        if (shown.style != MsgBoxStyle::ExclamationAbortRetryIgnore) return MsgBoxAnswer::Ok;
        EXPECT_EQ(shown.title, u"Velmar - Erreur");
        Write("late.sql", "late");
        return MsgBoxAnswer::Retry;
    };
    const LoadOutcome outcome = RunWindowed(list, 0);
    EXPECT_EQ(db.batches, (QStringList{"a", "a", "late"}));
    EXPECT_EQ(receiver.calls.count("max 2"), 2);
    EXPECT_EQ(outcome.loaded, 2);
    EXPECT_EQ(outcome.rejected, 0);
}

TEST_F(ListFileLoad, IgnoreGoesOnAndAbortStopsInStopMode) {
    Write("a.sql", "a");
    const QString list = Write("list.txt", "gone.sql\r\na.sql\r\n");
    boxes.answer = [](const ScriptedMessageBox::Shown&) { return MsgBoxAnswer::Ignore; };
    RunWindowed(list, 0);
    EXPECT_EQ(db.batches, QStringList{"a"});

    db.batches.clear();
    boxes.answer = [](const ScriptedMessageBox::Shown&) { return MsgBoxAnswer::Abort; };
    const LoadOutcome outcome = RunWindowed(list, 0);
    EXPECT_TRUE(db.batches.isEmpty());
    EXPECT_EQ(outcome.rejected, 1);
}

TEST_F(ListFileLoad, ListThatCannotBeOpenedEndsTheRunWithoutSummary) {
    const LoadOutcome outcome = RunWindowed(Path("absent.txt"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, LoadTexts::NotAccessible(Path("absent.txt")));
    EXPECT_EQ(boxes.shown[0].style, MsgBoxStyle::CriticalOkCancel);
    EXPECT_EQ(boxes.shown[0].title, u"Velmar - Erreur");
    EXPECT_FALSE(db.calls.contains("close"));
    EXPECT_EQ(outcome.failure, LoadTexts::NotAccessible(Path("absent.txt")));
}
