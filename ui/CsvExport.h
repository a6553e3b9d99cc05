#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Writes one line per row, cells joined by commas, each line ending in CR LF, UTF-8.
// A cell holding a comma, a quote or a line break is quoted as CSV does. Answers an empty
// text on success, otherwise why the file could not be written.
QString WriteCsvFile(const QString& path, const QList<QStringList>& rows);
