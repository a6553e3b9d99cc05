#include "Startup.h"

#include <QApplication>
#include <QFileInfo>

#include "CommandLine.h"
#include "ConsoleMessageBox.h"
#include "QtMessageBox.h"
#include "TCVelmar.h"
#include "TConnection.h"

namespace {

bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int ShowUsage(const QString& program, int argc, char* argv[]) {
    const QString title = UsageTitle(program);
    const QString text = UsageText(program);
    ConsoleMessageBox(stderr).Show(text, MsgBoxStyle::InformationOk, title);
    if (DisplayAvailable()) {
        QApplication application(argc, argv);
        QtMessageBox().Show(text, MsgBoxStyle::InformationOk, title);
    }
    return UsageShown;
}

int RunUnattended(const QString& program, const OptionSet& options, qint32 errorMode) {
    SystemClock clock;
    ConsoleMessageBox console(stderr);
    TCVelmar engine(std::make_unique<TConnection>(), console, clock);
    engine.m_lError = errorMode;
    engine.m_sLogFile = options.Item(OptionKey::Log);
    const LoadOutcome outcome =
        engine.LoadStoredProcs(options.Item(OptionKey::Path), options.Item(OptionKey::Server),
                               options.Item(OptionKey::Database), options.Item(OptionKey::User),
                               options.Item(OptionKey::Password), QString());
    if (!outcome.failure.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", program.toLocal8Bit().constData(),
                     outcome.failure.toLocal8Bit().constData());
        return NotCarriedOut;
    }
    return outcome.rejected > 0 || outcome.loaded < outcome.procs ? NotAllLoaded : AllLoaded;
}

}  // namespace

int Main(int argc, char* argv[]) {
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName();
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

    // Window mode comes with the main window; until then no arguments get the usage.
    const std::optional<OptionSet> options = ParseCommandLine(ArgumentText(arguments));
    std::optional<qint32> errorMode;
    if (options && options->Count() == kOptionCount)
        errorMode = ParseErrorMode(options->Item(OptionKey::Error));
    if (!errorMode) return ShowUsage(program, argc, argv);
    return RunUnattended(program, *options, *errorMode);
}
