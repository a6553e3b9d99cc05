#include "Startup.h"

#include <unistd.h>

#include <QFileInfo>
#include <cstdio>
#include <optional>

#include "CommandLine.h"
#include "ConsoleMessageBox.h"
#include "ConsoleProgress.h"
#include "JUnitReport.h"
#include "TCVelmar.h"
#include "TConnection.h"
#include "WindowLibrary.h"

namespace {

bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void PrintLine(const QString& program, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", program.toLocal8Bit().constData(),
                 text.toLocal8Bit().constData());
}

void PrintNoDisplay(const QString& program) {
    PrintLine(program, QStringLiteral(
                           "le mode fenêtre a besoin d'un affichage (DISPLAY ou WAYLAND_DISPLAY)"));
}

void PrintUsage(const QString& program) {
    ConsoleMessageBox(stderr).Show(UsageText(program), MsgBoxStyle::InformationOk,
                                   UsageTitle(program));
}

// The executable's file name without its extension, cut from the text alone: QFileInfo would
// bring in file-system code that an unattended run otherwise never touches.
QString ProgramName(const char* argv0) {
    const QString path = QString::fromLocal8Bit(argv0);
    const QString name = path.sliced(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}

int ShowUsage(const QString& program, int argc, char* argv[]) {
    PrintUsage(program);
    if (!DisplayAvailable()) return UsageShown;
    const WindowEntry showWindow = LoadWindowEntry(program);
    if (!showWindow) return UsageShown;
    return showWindow(argc, argv,
                      {UsageText(program), UsageTitle(program), [&] { PrintNoDisplay(program); }});
}

int RunWindowMode(const QString& program, int argc, char* argv[]) {
    const auto refuse = [&] {
        PrintNoDisplay(program);
        PrintUsage(program);
    };
    // Said first: a display would not help.
    const WindowEntry showWindow = LoadWindowEntry(program);
    if (!showWindow) {
        PrintLine(program,
                  QStringLiteral("le mode fenêtre n'est pas installé (paquet velmar-gui)"));
        PrintUsage(program);
        return UsageShown;
    }
    if (!DisplayAvailable()) {
        refuse();
        return UsageShown;
    }
    return showWindow(argc, argv, {QString(), QString(), refuse});
}

// The report is written by renaming a new file over its path: on the log, it would replace the
// history that the log keeps by appending.
bool ReportIsTheLog(const OptionSet& options) {
    if (!options.IncludesKey(OptionKey::Report)) return false;
    const QFileInfo report(options.Item(OptionKey::Report)), log(options.Item(OptionKey::Log));
    return report.absoluteFilePath() == log.absoluteFilePath() ||
           (report.exists() && report.canonicalFilePath() == log.canonicalFilePath());
}

int RunUnattended(const QString& program, const OptionSet& options, qint32 errorMode) {
    if (ReportIsTheLog(options)) {
        PrintLine(program,
                  QStringLiteral("le rapport (-R) ne peut pas être le fichier de log (-L)"));
        return UsageShown;
    }
    SystemClock clock;
    ConsoleMessageBox console(stderr);
    TCVelmar engine(std::make_unique<TConnection>(), console, clock);
    engine.m_lError = errorMode;
    engine.m_sLogFile = options.Item(OptionKey::Log);
    engine.m_bKeepScripts = options.IncludesKey(OptionKey::Report);
    // A pipeline gets today's output and nothing more.
    std::optional<ConsoleProgress> progress;
    if (isatty(STDERR_FILENO)) engine.m_oCurForm = &progress.emplace(stderr, clock);
    const LoadOutcome outcome =
        engine.LoadStoredProcs(options.Item(OptionKey::Path), options.Item(OptionKey::Server),
                               options.Item(OptionKey::Database), options.Item(OptionKey::User),
                               options.Item(OptionKey::Password), QString());
    if (progress) progress->Finish(outcome);
    if (!outcome.failure.isEmpty()) PrintLine(program, outcome.failure);
    if (options.IncludesKey(OptionKey::Report)) {
        const QString failure = WriteJUnitReport(
            options.Item(OptionKey::Report),
            {options.Item(OptionKey::Path), options.Item(OptionKey::Server),
             options.Item(OptionKey::Database), options.Item(OptionKey::User), errorMode},
            outcome);
        if (!failure.isEmpty()) {
            PrintLine(program, failure);
            return NotCarriedOut;
        }
    }
    if (!outcome.failure.isEmpty()) return NotCarriedOut;
    return outcome.rejected > 0 || outcome.loaded < outcome.procs ? NotAllLoaded : AllLoaded;
}

}  // namespace

int Main(int argc, char* argv[]) {
    const QString program = ProgramName(argv[0]);
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

    const QString argumentText = ArgumentText(arguments);
    if (argumentText.isEmpty()) return RunWindowMode(program, argc, argv);
    TextSpan password;
    std::optional<OptionSet> options = ParseCommandLine(argumentText, password);
    // Any account can read the process list; the environment is the owner's alone.
    BlankArguments(argc, argv, password);
    const QString passwordVariable = qEnvironmentVariable("VELMAR_PASSWORD");
    if (options && !passwordVariable.isEmpty())
        options->AddIfAbsent(passwordVariable, OptionKey::Password);
    std::optional<qint32> errorMode;
    if (options &&
        options->Count() == kOptionKeyCount + (options->IncludesKey(OptionKey::Report) ? 1 : 0))
        errorMode = ParseErrorMode(options->Item(OptionKey::Error));
    if (!errorMode) return ShowUsage(program, argc, argv);
    return RunUnattended(program, *options, *errorMode);
}
