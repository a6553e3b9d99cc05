#pragma once

#include <QString>
#include <functional>

// What velmar asks of its window library, which alone links the window toolkit.
struct WindowRequest {
    // The usage to show in a message box; empty for the main window.
    QString usageText;
    QString usageTitle;
    // Says why, if the display cannot be reached; the process then ends with the usage status.
    std::function<void()> reportNoDisplay;
};

// The library's one entry point, looked up by name: opens the display, shows what was asked
// and answers the exit status. argc must outlive the call, as Qt keeps a reference to it.
using WindowEntry = int (*)(int& argc, char* argv[], const WindowRequest& request);
inline constexpr char kWindowEntryName[] = "VelmarWindowMain";
