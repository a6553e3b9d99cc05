#pragma once

#include <QString>

// What the source path of a load names. Written by the command line and the main window's
// browse buttons; the engine takes list-file mode for kListFileMode exactly and path mode
// (a folder or one script) for any other value.
extern QString g_sSourceMode;

inline const QString kListFileMode = QStringLiteral("FichierSQL");
inline const QString kFolderMode = QStringLiteral("SelectRep");
