#include "WindowEntry.h"

#include <QApplication>
#include <cstdlib>

#include "Clock.h"
#include "QtMessageBox.h"
#include "Startup.h"
#include "TConnection.h"
#include "VelmarIcon.h"
#include "frmMain.h"

namespace {

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

}  // namespace

extern "C" __attribute__((visibility("default"))) int VelmarWindowMain(
    int& argc, char* argv[], const WindowRequest& request) {
    g_reportNoDisplay = request.reportNoDisplay;
    g_previousHandler = qInstallMessageHandler(EndWithoutDisplay);
    QApplication application(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    if (!request.usageText.isEmpty()) {
        QtMessageBox().Show(request.usageText, MsgBoxStyle::InformationOk, request.usageTitle);
        return UsageShown;
    }
    QApplication::setWindowIcon(VelmarIcon());
    QtMessageBox messageBox;
    SystemClock clock;
    frmMain window({messageBox, clock, [] { return std::make_unique<TConnection>(); }});
    window.exec();
    return AllLoaded;
}
