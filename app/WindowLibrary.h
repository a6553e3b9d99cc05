#pragma once

#include <QString>

#include "WindowEntry.h"

// The window library's entry point, or null when the library is not installed (or cannot
// be loaded, which is reported on standard error as from `program`).
WindowEntry LoadWindowEntry(const QString& program);
