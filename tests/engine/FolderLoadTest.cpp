#include <QDir>
#include <QFile>

#include "EngineHarness.h"

class FolderLoad : public EngineTest {
protected:
    // Four scripts; the one named `failing` (if any) is rejected by the server.
    QString FourScripts(const QString& failing = {}) {
        for (const char* name : {"a.sql", "b.sql", "c.sql", "d.sql"})
            Write(QStringLiteral("f/") + name, name);
        if (!failing.isEmpty()) db.failures[failing] = "rejected";
        return Path("f");
    }
};

TEST_F(FolderLoad, ListsSqlFilesInAnyCaseByNameSkippingHiddenFilesAndFolders) {
    Write("f/b.SQL", "b");
    Write("f/A.sql", "a");
    Write("f/c.sql", "c");
    Write("f/.hidden.sql", "hidden");
    Write("f/notes.txt", "txt");
    Write("f/x.sql.bak", "bak");
    QDir().mkpath(Path("f/folder.sql"));
    QFile::link(Path("f/c.sql"), Path("f/link.sql"));
    const LoadOutcome outcome = RunLogged(Path("f"));
    EXPECT_EQ(db.batches, (QStringList{"a", "b", "c", "c"}));
    EXPECT_EQ(ResultLines(),
              (QStringList{"A.sql\tRéussi", "b.SQL\tRéussi", "c.sql\tRéussi", "link.sql\tRéussi"}));
    EXPECT_EQ(outcome.procs, 4);
}

TEST_F(FolderLoad, EmptyFolderMakesNoProgressCall) {
    QDir().mkpath(Path("empty"));
    const LoadOutcome outcome = RunWindowed(Path("empty"));
    EXPECT_TRUE(receiver.calls.isEmpty());
    EXPECT_EQ(outcome.procs, 0);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(u"Nbr de procédures : 0\r\n"));
}

TEST_F(FolderLoad, StopModeEndsAtTheRejectedScriptWithoutAStepForIt) {
    const LoadOutcome outcome = RunWindowed(FourScripts("b.sql"), 0);
    EXPECT_EQ(receiver.calls, (QStringList{"max 4", "item a.sql\tRéussi", "refresh", "step",
                                           "item b.sql\trejected", "refresh"}));
    EXPECT_EQ(outcome.loaded, 1);
    EXPECT_EQ(outcome.rejected, 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(u"Nbr de procédures restantes à charger : 2\r\n"));
}

TEST_F(FolderLoad, StopModeOnTheLastScriptLeavesNothingRemaining) {
    RunLogged(FourScripts("d.sql"), 0);
    EXPECT_EQ(db.batches.size(), 4);
    EXPECT_FALSE(ReadLog().contains(u"restantes"));
    EXPECT_TRUE(ReadLog().contains(u"Nbr de procédures rejettées : 1\r\n"));
}

TEST_F(FolderLoad, ContinueModeAttemptsEveryScript) {
    const LoadOutcome outcome = RunWindowed(FourScripts("b.sql"), 1);
    EXPECT_EQ(db.batches, (QStringList{"a.sql", "b.sql", "c.sql", "d.sql"}));
    EXPECT_EQ(receiver.calls.count("step"), 4);
    EXPECT_EQ(outcome.loaded, 3);
    EXPECT_FALSE(boxes.shown[0].text.contains(u"restantes"));
}

TEST_F(FolderLoad, TrailingSlashOnTheFolderIsHarmless) {
    RunLogged(FourScripts() + "/");
    EXPECT_EQ(db.batches.size(), 4);
}
