#include <QFile>

#include "EngineHarness.h"
#include "LoadTexts.h"

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
    EXPECT_EQ(db.calls.last(), u"close");
    EXPECT_TRUE(outcome.failure.isEmpty());
    RunLogged(script, 0);
    EXPECT_EQ(ReadLog(), run + run);
}

TEST_F(EngineTest, RefusedLoginIsOnlyTheConnectionFailure) {
    db.refuseLogin = true;
    EXPECT_TRUE(RunLogged(Path("x.sql")).failure.contains(u"Login failed"));
    EXPECT_EQ(ReadLog(), Framed(u"La connection suivante a échouée (04/03/2026 05:06:07) : \r\n"
                                u"    Serveur : srv\r\n    Base : Sales\r\n    User : sa\r\n"
                                u"    Password : ********"_qs));
    RunWindowed(Path("x.sql"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(u"La connection suivante a échouée ("));
    EXPECT_EQ(boxes.shown[0].style, MsgBoxStyle::OkOnly);
    EXPECT_TRUE(boxes.shown[0].title.isEmpty());
    EXPECT_TRUE(receiver.calls.isEmpty());
    EXPECT_FALSE(db.calls.contains("close"));
}

TEST_F(EngineTest, MissingPathIsAskedAboutAndRetryLooksAgain) {
    const LoadOutcome outcome = RunLogged(Path("nowhere"));
    EXPECT_TRUE(ReadLog().contains(Framed(LoadTexts::NotFound(Path("nowhere")))));
    EXPECT_EQ(outcome.procs, 0);
    EXPECT_EQ(outcome.failure, LoadTexts::NotFound(Path("nowhere")));

    boxes.answer = [this](const ScriptedMessageBox::Shown& shown) {
        if (shown.style != MsgBoxStyle::CriticalRetryCancel) return MsgBoxAnswer::Ok;
        EXPECT_EQ(shown.title, u"Velmar - Erreur");
        Write("late.sql", "select 1");  // the operator puts the script in place
        return MsgBoxAnswer::Retry;
    };
    EXPECT_EQ(RunWindowed(Path("late.sql")).loaded, 1);
    EXPECT_EQ(receiver.calls, (QStringList{"item late.sql\tRéussi", "refresh"}));
}

TEST_F(EngineTest, LogFolderIsCreatedOneLevelDeepOnly) {
    const QString script = Write("a.sql", "select 1");
    const auto run = [&](const QString& log) {
        TCVelmar engine(std::make_unique<FakeConnection>(db), boxes, clock);
        engine.m_sLogFile = log;
        return engine.LoadStoredProcs(script, "s", "b", "u", "p", "").failure;
    };
    EXPECT_TRUE(run(Path("logs/load.log")).isEmpty());
    EXPECT_TRUE(QFile::exists(Path("logs/load.log")));
    EXPECT_TRUE(run(Path("no/such/load.log")).endsWith(u"son parent n'existe pas"));
    // procfs refuses new folders even to root, though their parent exists.
    EXPECT_TRUE(run("/proc/velmar/load.log").endsWith(u"accès refusé"));
    EXPECT_EQ(db.batches, QStringList{"select 1"});
}
