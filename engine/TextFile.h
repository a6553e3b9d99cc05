#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Script and list files: a UTF-8 or UTF-16 byte-order mark selects that encoding; without
// one, valid UTF-8 is read as UTF-8 and anything else as Windows-1252.
QString DecodeText(const QByteArray& bytes);

// Reads a whole file in one read and decodes it. Raises FileNotFound or PermissionDenied
// when it cannot be opened, PathFileAccess when it cannot be read.
QString ReadTextFile(const QString& sPath);

// The lines of a list file: each ends at LF, with a CR before the LF removed; a last line
// without a line end counts; an empty text is one empty line.
QStringList SplitLines(const QString& text);
