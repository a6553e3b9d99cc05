#include <QFile>

#include "EngineHarness.h"
#include "LoadTexts.h"

namespace {

const QString kHyphens(62, u'-');

QString Framed(const QString& text) {
    return kHyphens + "\r\n" + text + "\r\n" + kHyphens + "\r\n";
}

}  // namespace

TEST_F(EngineTest, RefusedLoginLogsOnlyTheConnectionFailureBlock) {
    db.refuseLogin = true;
    const LoadOutcome outcome = RunLogged(Path("x.sql"));
    EXPECT_EQ(ReadLog(), Framed(u"La connection suivante a échouée (04/03/2026 05:06:07) : \r\n"
                                u"    Serveur : srv\r\n    Base : Sales\r\n    User : sa\r\n"
                                u"    Password : ********"_qs));
    EXPECT_EQ(db.calls, QStringList{"open uid=sa;pwd=secret;driver={SQL Server};server=srv;"
                                    "database=Sales;port=1433"});
    EXPECT_TRUE(outcome.failure.contains(u"Login failed"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(EngineTest, RefusedLoginInWindowModeIsOneBoxWithAnEmptyTitle) {
    db.refuseLogin = true;
    RunWindowed(Path("x.sql"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(u"La connection suivante a échouée ("));
    EXPECT_EQ(boxes.shown[0].style, MsgBoxStyle::OkOnly);
    EXPECT_TRUE(boxes.shown[0].title.isEmpty());
    EXPECT_TRUE(receiver.calls.isEmpty());
}

TEST_F(EngineTest, SingleScriptRunLogsHeaderResultAndSummaryByteForByte) {
    clock.elapsedMs = 3725500;
    const QString script = Write("one.txt", "select 1\r\nGO\r\nselect 2\r\n");
    const LoadOutcome outcome = RunLogged(script, 0);
    EXPECT_EQ(ReadLog(),
              Framed(u"Déploiement (04/03/2026 05:06:07) : \r\n    Serveur : srv\r\n"
                     u"    Base : Sales\r\n    User : sa\r\n    Password : ********"_qs) +
                  u"04/03/2026 05:06:07 - one.txt\tRéussi\r\n"_qs +
                  Framed(u"Nbr de procédures : 1\r\nNbr de procédures chargées : 1\r\n"
                         u"Nbr de procédures rejettées : 0\r\nTemps de chargement : 1h2m6s"_qs));
    EXPECT_EQ(db.batches, (QStringList{"select 1\r\n", "\r\nselect 2\r\n"}));
    EXPECT_EQ(db.calls.last(), u"close");
    EXPECT_EQ(outcome.procs, 1);
    EXPECT_EQ(outcome.loaded, 1);
    EXPECT_TRUE(outcome.failure.isEmpty());
}

TEST_F(EngineTest, MissingPathIsReportedAndTheSummaryCountsNothing) {
    const LoadOutcome outcome = RunLogged(Path("nowhere"));
    const QString log = ReadLog();
    EXPECT_TRUE(log.contains(Framed(LoadTexts::NotFound(Path("nowhere")))));
    EXPECT_TRUE(
        log.contains(u"Nbr de procédures : 0\r\nNbr de procédures chargées : 0\r\n"
                     u"Nbr de procédures rejettées : 0\r\nTemps"));
    EXPECT_EQ(outcome.failure, LoadTexts::NotFound(Path("nowhere")));
    EXPECT_EQ(db.calls.last(), u"close");
}

TEST_F(EngineTest, RetryOnAMissingPathLooksAgain) {
    boxes.answer = [this](const ScriptedMessageBox::Shown& shown) {
        if (shown.style != MsgBoxStyle::CriticalRetryCancel) return MsgBoxAnswer::Ok;
        Write("late.sql", "select 1");  // the operator puts the script in place
        return MsgBoxAnswer::Retry;
    };
    const LoadOutcome outcome = RunWindowed(Path("late.sql"));
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].title, u"Velmar - Erreur");
    EXPECT_EQ(boxes.shown[0].text, LoadTexts::NotFound(Path("late.sql")));
    EXPECT_TRUE(
        boxes.shown[1].text.startsWith(u"Nbr de procédures : 1\r\nNbr de procédures chargées : 1"));
    EXPECT_TRUE(boxes.shown[1].title.isEmpty());
    EXPECT_EQ(receiver.calls, (QStringList{"item late.sql\tRéussi", "refresh"}));
    EXPECT_TRUE(outcome.failure.isEmpty());
}

TEST_F(EngineTest, LogFolderIsCreatedOneLevelDeep) {
    const QString script = Write("a.sql", "select 1");
    TCVelmar engine(std::make_unique<FakeConnection>(db), boxes, clock);
    engine.m_sLogFile = Path("logs/load.log");
    EXPECT_TRUE(engine.LoadStoredProcs(script, "s", "b", "u", "p", "").failure.isEmpty());
    EXPECT_TRUE(QFile::exists(Path("logs/load.log")));
}

TEST_F(EngineTest, LogWhoseFolderParentIsMissingEndsTheRunWithTheReason) {
    const QString script = Write("a.sql", "select 1");
    TCVelmar engine(std::make_unique<FakeConnection>(db), boxes, clock);
    engine.m_sLogFile = Path("no/such/load.log");
    const LoadOutcome outcome = engine.LoadStoredProcs(script, "s", "b", "u", "p", "");
    EXPECT_TRUE(outcome.failure.contains(Path("no/such/")));
    EXPECT_TRUE(outcome.failure.endsWith(u"son parent n'existe pas"));
    // procfs refuses new folders even to root, though their parent exists.
    TCVelmar other(std::make_unique<FakeConnection>(db), boxes, clock);
    other.m_sLogFile = "/proc/velmar/load.log";
    EXPECT_TRUE(
        other.LoadStoredProcs(script, "s", "b", "u", "p", "").failure.endsWith(u"accès refusé"));
    EXPECT_TRUE(db.batches.isEmpty());
    EXPECT_FALSE(QFile::exists(Path("no")));
}

TEST_F(EngineTest, SecondRunAppendsToTheSameLog) {
    const QString script = Write("a.sql", "select 1");
    RunLogged(script);
    const QString first = ReadLog();
    RunLogged(script);
    EXPECT_EQ(ReadLog(), first + first);
}

TEST_F(EngineTest, WindowModeSendsResultsToTheGridAndTheSummaryToABox) {
    db.failures["bad"] = "[FreeTDS][SQL Server]bad object";
    const QString script = Write("b.sql", "select bad");
    RunWindowed(script);
    EXPECT_EQ(receiver.calls,
              (QStringList{"item b.sql\t[FreeTDS][SQL Server]bad object", "refresh"}));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(
        boxes.shown[0].text.startsWith(u"Nbr de procédures : 1\r\nNbr de procédures chargées : "
                                       u"0\r\nNbr de procédures rejettées : 1"));
    EXPECT_FALSE(QFile::exists(LogPath()));
}
