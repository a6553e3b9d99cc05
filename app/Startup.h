#pragma once

// Exit statuses of the process.
enum ExitStatus : int {
    AllLoaded = 0,
    NotAllLoaded = 1,  // a script was rejected or left unloaded
    UsageShown = 2,
    NotCarriedOut = 3,  // no connection, no source, or no writable log
};

// The start-up routine: no arguments open the main window; complete options run one
// unattended load; anything else shows the usage.
int Main(int argc, char* argv[]);
