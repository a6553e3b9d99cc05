#include "Startup.h"

#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>

#include "CommandLine.h"
#include "ConsoleMessageBox.h"
#include "ConsoleProgress.h"
#include "JUnitReport.h"
#include "QtMessageBox.h"
#include "TCVelmar.h"
#include "TConnection.h"
#include "VelmarIcon.h"
#include "frmMain.h"

namespace {

bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void PrintNoDisplay(const QString& program) {
    std::fprintf(
        stderr, "%s\n",
        QStringLiteral("%1: le mode fenêtre a besoin d'un affichage (DISPLAY ou WAYLAND_DISPLAY)")
            .arg(program)
            .toLocal8Bit()
            .constData());
}

void PrintError(const QString& program, const QString& reason) {
    std::fprintf(stderr, "%s: %s\n", program.toLocal8Bit().constData(),
                 reason.toLocal8Bit().constData());
}

void PrintUsage(const QString& program) {
    ConsoleMessageBox(stderr).Show(UsageText(program), MsgBoxStyle::InformationOk,
                                   UsageTitle(program));
}

// Qt treats a display it cannot reach as fatal; the process reports it and ends here instead.
std::function<void()> g_reportNoDisplay;
QtMessageHandler g_previousHandler = nullptr;

void EndWithoutDisplay(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        g_previousHandler(type, context, text);
        return;
    }
    g_reportNoDisplay();
    std::_Exit(UsageShown);
}

std::unique_ptr<QApplication> OpenDisplay(int& argc, char* argv[],
                                          std::function<void()> reportNoDisplay) {
    g_reportNoDisplay = std::move(reportNoDisplay);
    g_previousHandler = qInstallMessageHandler(EndWithoutDisplay);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    return application;
}

int ShowUsage(const QString& program, int argc, char* argv[]) {
    PrintUsage(program);
    if (DisplayAvailable()) {
        const auto application = OpenDisplay(argc, argv, [&] { PrintNoDisplay(program); });
        QtMessageBox().Show(UsageText(program), MsgBoxStyle::InformationOk, UsageTitle(program));
    }
    return UsageShown;
}

int RunWindowMode(const QString& program, int argc, char* argv[]) {
    const auto refuse = [&] {
        PrintNoDisplay(program);
        PrintUsage(program);
    };
    if (!DisplayAvailable()) {
        refuse();
        return UsageShown;
    }
    const auto application = OpenDisplay(argc, argv, refuse);
    QApplication::setWindowIcon(VelmarIcon());
    QtMessageBox messageBox;
    SystemClock clock;
    frmMain window({messageBox, clock, [] { return std::make_unique<TConnection>(); }});
    window.exec();
    return AllLoaded;
}

int RunUnattended(const QString& program, const OptionSet& options, qint32 errorMode) {
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
    if (!outcome.failure.isEmpty()) PrintError(program, outcome.failure);
    if (options.IncludesKey(OptionKey::Report)) {
        const QString failure = WriteJUnitReport(
            options.Item(OptionKey::Report),
            {options.Item(OptionKey::Path), options.Item(OptionKey::Server),
             options.Item(OptionKey::Database), options.Item(OptionKey::User), errorMode},
            outcome);
        if (!failure.isEmpty()) {
            PrintError(program, failure);
            return NotCarriedOut;
        }
    }
    if (!outcome.failure.isEmpty()) return NotCarriedOut;
    return outcome.rejected > 0 || outcome.loaded < outcome.procs ? NotAllLoaded : AllLoaded;
}

}  // namespace

int Main(int argc, char* argv[]) {
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName();
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
