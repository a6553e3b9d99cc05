#pragma once

// Exit statuses of the process.
enum ExitStatus : int {
    AllLoaded = 0,
    NotAllLoaded = 1,  // a script was rejected or left unloaded
    UsageShown = 2,
    NotCarriedOut = 3,  // no connection, no source, or no writable log
};

// The start-up routine: with options, one unattended load; otherwise the usage box.
int Main(int argc, char* argv[]);
