#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "EngineHarness.h"
#include "LoadTexts.h"

namespace {

struct SourceCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> files;  // name, content
    const char* source;                                      // a list file when it ends in ".txt"
    qint32 lError;
    QStringList batches;  // every file's content is one batch; "bad" is rejected
    QStringList results;
    const char* summary;   // procs loaded rejected [remaining]
    const char* progress;  // "max N, S steps", or "" when no progress call is made
    friend void PrintTo(const SourceCase& c, std::ostream* out) { *out << c.name; }
};

const std::vector<std::pair<const char*, const char*>> kFour = {
    {"f/a.sql", "a"}, {"f/b.sql", "bad"}, {"f/c.sql", "c"}, {"f/d.sql", "d"}};
const std::vector<std::pair<const char*, const char*>> kFive = {
    {"1.sql", "1"},
    {"2.sql", "2"},
    {"3.sql", "bad"},
    {"4.sql", "4"},
    {"5.sql", "5"},
    {"list.txt", "1.sql\r\n2.sql\r\n3.sql\r\n4.sql\r\n5.sql\r\n"},
    {"last.txt", "1.sql\n2.sql\n4.sql\n5.sql\n3.sql"}};

const SourceCase kCases[] = {
    {"SingleScriptOfAnyExtension",
     {{"one.txt.sqlx", "x"}},
     "one.txt.sqlx",
     0,
     {"x"},
     {"one.txt.sqlx\tRéussi"},
     "1 1 0",
     ""},
    {"EmptyScriptIsLoadedWithoutABatch",
     {{"e.sql", ""}},
     "e.sql",
     0,
     {},
     {"e.sql\tRéussi"},
     "1 1 0",
     ""},
    {"FolderStopsAtTheRejectedScript",
     kFour,
     "f",
     0,
     {"a", "bad"},
     {"a.sql\tRéussi", "b.sql\tbad!"},
     "4 1 1 2",
     "max 4, 1 steps"},
    {"FolderStoppedOnTheLastScriptLeavesNothingRemaining",
     {{"f/a.sql", "a"}, {"f/z.sql", "bad"}},
     "f/",
     0,
     {"a", "bad"},
     {"a.sql\tRéussi", "z.sql\tbad!"},
     "2 1 1",
     "max 2, 1 steps"},
    {"FolderContinueModeAttemptsEveryScript",
     kFour,
     "f",
     1,
     {"a", "bad", "c", "d"},
     {"a.sql\tRéussi", "b.sql\tbad!", "c.sql\tRéussi", "d.sql\tRéussi"},
     "4 3 1",
     "max 4, 4 steps"},
    {"EmptyFolderMakesNoProgressCall", {{"f/notes.txt", "n"}}, "f", 0, {}, {}, "0 0 0", ""},
    {"ListLoadsDistinctLinesOnceInFileOrder",
     {{"b.sql", "b"}, {"a.sql", "a"}, {"l.txt", "b.sql\r\n\r\na.sql\nB.SQL\r\nb.sql\r\n"}},
     "l.txt",
     0,
     {"b", "a"},
     {"b.sql\tRéussi", "a.sql\tRéussi"},
     "2 2 0",
     "max 3, 2 steps"},
    {"EmptyListCountsNothingButSetsOneStep",
     {{"l.txt", ""}},
     "l.txt",
     0,
     {},
     {},
     "0 0 0",
     "max 1, 0 steps"},
    {"ListStopsWithTheEntriesLeft",
     kFive,
     "list.txt",
     0,
     {"1", "2", "bad"},
     {"1.sql\tRéussi", "2.sql\tRéussi", "3.sql\tbad!"},
     "5 2 1 2",
     "max 5, 2 steps"},
    {"ListStoppedOnTheLastEntryShowsRemainingZero",
     kFive,
     "last.txt",
     0,
     {"1", "2", "4", "5", "bad"},
     {"1.sql\tRéussi", "2.sql\tRéussi", "4.sql\tRéussi", "5.sql\tRéussi", "3.sql\tbad!"},
     "5 4 1 0",
     "max 5, 4 steps"},
    {"ListContinueModeNeverShowsRemaining",
     kFive,
     "list.txt",
     1,
     {"1", "2", "bad", "4", "5"},
     {"1.sql\tRéussi", "2.sql\tRéussi", "3.sql\tbad!", "4.sql\tRéussi", "5.sql\tRéussi"},
     "5 4 1",
     "max 5, 5 steps"},
    {"MissingEntryIsRejectedAndCarriedOver",
     {{"a.sql", "a"}, {"c.sql", "c"}, {"l.txt", "a.sql\nmissing.sql\n\nc.sql\n"}},
     "l.txt",
     1,
     {"a", "c"},
     {"a.sql\tRéussi", "c.sql\tRéussi"},
     "3 2 1",
     "max 4, 3 steps"},
    {"MissingEntryStopsInStopModeAndABlankLineIsNoScript",
     {{"a.sql", "a"}, {"c.sql", "c"}, {"l.txt", "a.sql\nmissing.sql\n\nc.sql\n"}},
     "l.txt",
     0,
     {"a"},
     {"a.sql\tRéussi"},
     "3 1 1 1",
     "max 4, 1 steps"},
};

// "procs loaded rejected [remaining]" of a summary text.
QString Counts(const QString& text) {
    static const QRegularExpression summary(QStringLiteral(
        "Nbr de procédures : (\\d+)\r\nNbr de procédures chargées : (\\d+)\r\n"
        "Nbr de procédures rejettées : (\\d+)\r\n"
        "(?:Nbr de procédures restantes à charger : (\\d+)\r\n)?Temps de chargement : 0h0m0s"));
    const auto match = summary.match(text);
    return match.capturedTexts().mid(1).join(u' ').trimmed();
}

class SourceLoad : public EngineTest, public testing::WithParamInterface<SourceCase> {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        QDir::setCurrent(dir.path());  // list entries are relative to the current folder
        db.failures["bad"] = "bad!";
        for (const auto& [name, content] : GetParam().files) Write(name, content);
        if (QString(GetParam().source).endsWith(u".txt")) g_sSourceMode = kListFileMode;
    }
};

}  // namespace

TEST_P(SourceLoad, LoggedAndWindowedRunsAgree) {
    const SourceCase& c = GetParam();
    RunLogged(Path(c.source), c.lError);
    EXPECT_EQ(db.batches, c.batches);
    EXPECT_EQ(ResultLines(), c.results);
    EXPECT_EQ(Counts(ReadLog()), c.summary);

    db.batches.clear();
    RunWindowed(Path(c.source), c.lError);
    QStringList items;
    for (const QString& call : receiver.calls)
        if (call.startsWith(u"item ")) items << call.mid(5);
    EXPECT_EQ(items, c.results);
    EXPECT_EQ(Counts(boxes.shown.last().text), c.summary);
    const QStringList maxima = receiver.calls.filter(QRegularExpression("^max "));
    EXPECT_EQ(maxima.isEmpty() ? QString()
                               : QStringLiteral("%1, %2 steps")
                                     .arg(maxima.join(u' '))
                                     .arg(receiver.calls.count(QStringLiteral("step"))),
              c.progress);
}

INSTANTIATE_TEST_SUITE_P(Sources, SourceLoad, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, FolderLoadsSqlFilesOfAnyCaseByNameWithoutHiddenFilesOrFolders) {
    for (const char* name : {"f/b.SQL", "f/A.sql", "f/c.sql", "f/.hidden.sql", "f/x.sql.bak"})
        Write(name, name);
    QDir().mkpath(Path("f/folder.sql"));
    QFile::link(Path("f/c.sql"), Path("f/link.sql"));
    RunWindowed(Path("f"), 0);
    EXPECT_EQ(receiver.calls,
              (QStringList{"max 4", "item A.sql\tRéussi", "refresh", "step", "item b.SQL\tRéussi",
                           "refresh", "step", "item c.sql\tRéussi", "refresh", "step",
                           "item link.sql\tRéussi", "refresh", "step"}));
}

TEST_F(EngineTest, MissingListEntryAnswers) {
    g_sSourceMode = kListFileMode;
    QDir::setCurrent(dir.path());
    Write("a.sql", "a");
    const QString list = Write("list.txt", "a.sql\r\nlate.sql\r\nb.sql\r\n");
    const auto answer = [this](qint32 code) {
        return [this, code](const ScriptedMessageBox::Shown& shown) {
            if (shown.style != MsgBoxStyle::ExclamationAbortRetryIgnore) return MsgBoxAnswer::Ok;
            if (code == MsgBoxAnswer::Retry) Write("late.sql", "late");
            return code;
        };
    };
    boxes.answer = answer(MsgBoxAnswer::Abort);
    EXPECT_EQ(RunWindowed(list, 0).rejected, 1);
    boxes.answer = answer(MsgBoxAnswer::Ignore);
    EXPECT_EQ(RunWindowed(list, 0).rejected, 2);  // b.sql is missing too
    boxes.answer = answer(MsgBoxAnswer::Retry);
    Write("b.sql", "b");
    const LoadOutcome retried = RunWindowed(list, 0);
    EXPECT_EQ(db.batches, (QStringList{"a", "a", "a", "a", "late", "b"}));
    EXPECT_EQ(receiver.calls.count("max 3"), 4);
    EXPECT_EQ(retried.loaded, 3);
}

TEST_F(EngineTest, ListThatCannotBeOpenedEndsTheRunWithoutSummary) {
    g_sSourceMode = kListFileMode;
    const LoadOutcome outcome = RunWindowed(Path("absent.txt"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, LoadTexts::NotAccessible(Path("absent.txt")));
    EXPECT_EQ(boxes.shown[0].style, MsgBoxStyle::CriticalOkCancel);
    EXPECT_EQ(boxes.shown[0].title, u"Velmar - Erreur");
    EXPECT_FALSE(db.calls.contains("close"));
    EXPECT_EQ(outcome.failure, boxes.shown[0].text);
}
