#include <QRegularExpression>

#include "EngineHarness.h"

namespace {

// Lists are words separated by spaces: files as name=content, result lines as name=outcome.
struct SourceCase {
    const char* name;
    const char* files;
    const char* source;  // a list file when it ends in ".txt"
    qint32 lError;
    // A batch holding "bad" is rejected as "bad!"; one holding "use" cannot be undone ("gone!").
    const char* batches;
    const char* results;
    const char* summary;   // procs loaded rejected [remaining]
    const char* progress;  // "max N, S steps", or empty when no progress call is made
    friend void PrintTo(const SourceCase& c, std::ostream* out) { *out << c.name; }
};

// Sorted by name in any letter case: a, B, c, d.
#define FOUR "f/B.sql=bad f/a.sql=a f/c.sql=c f/d.SQL=d"
#define FIVE "1.sql=1 2.sql=2 3.sql=bad 4.sql=4 5.sql=5 "
const SourceCase kCases[] = {
    {"SingleScriptOfAnyExtension", "x.txt.sqlx=x", "x.txt.sqlx", 0, "x", "x.txt.sqlx=Réussi",
     "1 1 0", ""},
    {"EmptyScriptIsLoadedWithoutABatch", "e.sql=", "e.sql", 0, "", "e.sql=Réussi", "1 1 0", ""},
    {"FailingBatchEndsItsScript", "p.sql=a\r\nGO\r\nbad\r\nGO\r\nc", "p.sql", 1,
     "a\r\n \r\nbad\r\n", "p.sql=bad!", "1 0 1", ""},
    {"FolderStopsAtTheRejectedScript", FOUR, "f", 0, "a bad", "a.sql=Réussi B.sql=bad!", "4 1 1 2",
     "max 4, 1 steps"},
    {"FolderStoppedOnItsLastScriptLeavesNothingRemaining", "f/a.sql=a f/z.sql=bad", "f/", 0,
     "a bad", "a.sql=Réussi z.sql=bad!", "2 1 1", "max 2, 1 steps"},
    {"FolderContinueModeAttemptsEveryScript", FOUR, "f", 1, "a bad c d",
     "a.sql=Réussi B.sql=bad! c.sql=Réussi d.SQL=Réussi", "4 3 1", "max 4, 4 steps"},
    {"PlaceNotPutBackStopsEvenInContinueMode", "f/a.sql=use f/b.sql=b", "f", 1, "use",
     "a.sql=gone!", "2 0 1 1", "max 2, 0 steps"},
    {"EmptyFolderMakesNoProgressCall", "f/notes.txt=n", "f", 0, "", "", "0 0 0", ""},
    {"ListLoadsDistinctLinesOnceInFileOrder", "b.sql=b a.sql=a l.txt=b.sql\r\n\r\na.sql\nB.SQL\n",
     "l.txt", 0, "b a", "b.sql=Réussi a.sql=Réussi", "2 2 0", "max 3, 2 steps"},
    {"EmptyListCountsNothingButSetsOneStep", "l.txt=", "l.txt", 0, "", "", "0 0 0",
     "max 1, 0 steps"},
    {"ListStopsWithTheEntriesLeft", FIVE "l.txt=1.sql\n2.sql\n3.sql\n4.sql\n5.sql", "l.txt", 0,
     "1 2 bad", "1.sql=Réussi 2.sql=Réussi 3.sql=bad!", "5 2 1 2", "max 5, 2 steps"},
    {"ListStoppedOnItsLastEntryShowsRemainingZero", FIVE "l.txt=1.sql\n2.sql\n3.sql", "l.txt", 0,
     "1 2 bad", "1.sql=Réussi 2.sql=Réussi 3.sql=bad!", "3 2 1 0", "max 3, 2 steps"},
    {"MissingEntryIsRejectedAndPassedOver", "a.sql=a c.sql=c l.txt=a.sql\nnope.sql\n\nc.sql",
     "l.txt", 1, "a c", "a.sql=Réussi c.sql=Réussi", "3 2 1", "max 4, 3 steps"},
    {"MissingEntryStopsAndABlankLineIsNoScript", "a.sql=a c.sql=c l.txt=a.sql\nnope.sql\n\nc.sql",
     "l.txt", 0, "a", "a.sql=Réussi", "3 1 1 1", "max 4, 1 steps"},
};

QStringList Words(const char* text) { return QString(text).split(u' ', Qt::SkipEmptyParts); }

// "procs loaded rejected [remaining]" of a summary text.
QString Counts(const QString& text) {
    QStringList counts;
    static const QRegularExpression count(QStringLiteral("Nbr de procédures[^:]*: (\\d+)\r\n"));
    for (const auto& match : count.globalMatch(text)) counts << match.captured(1);
    return counts.join(u' ');
}

class SourceLoad : public EngineTest, public testing::WithParamInterface<SourceCase> {};

}  // namespace

TEST_P(SourceLoad, LoggedAndWindowedRunsAgree) {
    const SourceCase& c = GetParam();
    for (const QString& file : Words(c.files))
        Write(file.section(u'=', 0, 0), file.section(u'=', 1).toUtf8());
    if (QString(c.source).endsWith(u".txt")) g_sSourceMode = kListFileMode;
    db.failures = {{"bad", "bad!"}, {"restore", "gone!"}};
    const QStringList results = Words(c.results).replaceInStrings(u"="_qs, u"\t"_qs);

    RunLogged(Path(c.source), c.lError);
    EXPECT_EQ(db.batches, Words(c.batches));
    EXPECT_EQ(ResultLines(), results);
    EXPECT_EQ(Counts(ReadLog()), c.summary);

    RunWindowed(Path(c.source), c.lError);
    EXPECT_EQ(receiver.calls.filter(QRegularExpression("^item ")).replaceInStrings("item ", ""),
              results);
    EXPECT_EQ(Counts(boxes.shown.last().text), c.summary);
    const QStringList maxima = receiver.calls.filter(QRegularExpression("^max "));
    const QString progress =
        QStringLiteral("%1, %2 steps").arg(maxima.join(u' ')).arg(receiver.calls.count("step"));
    EXPECT_EQ(maxima.isEmpty() ? QString() : progress, c.progress);
}

INSTANTIATE_TEST_SUITE_P(Sources, SourceLoad, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Abort stops at the missing entry; Ignore goes on, to b.sql missing too; Retry starts the pass
// again, once the operator has put the scripts in place.
TEST_F(EngineTest, MissingListEntryAnswers) {
    g_sSourceMode = kListFileMode;
    Write("a.sql", "a");
    const QString list = Write("list.txt", "a.sql\r\nlate.sql\r\nb.sql\r\n");
    QList<qint32> rejected;
    for (const qint32 answer : {MsgBoxAnswer::Abort, MsgBoxAnswer::Ignore, MsgBoxAnswer::Retry}) {
        boxes.answer = [&](const ScriptedMessageBox::Shown& shown) {
            if (answer == MsgBoxAnswer::Retry) Write("late.sql", "late"), Write("b.sql", "b");
            return shown.style == MsgBoxStyle::ExclamationAbortRetryIgnore ? answer
                                                                           : MsgBoxAnswer::Ok;
        };
        rejected << RunWindowed(list, 0).rejected;
    }
    EXPECT_EQ(db.batches, (QStringList{"a", "a", "a", "a", "late", "b"}));
    EXPECT_EQ(rejected, (QList<qint32>{1, 2, 0}));
}
