#pragma once

#include <QDateTime>
#include <QString>

// The load log: an append-only UTF-8 text file with CR LF line ends.
namespace LoadLog {

// Every line of the log ends with it.
inline const QString CrLf = QStringLiteral("\r\n");

// "dd/mm/yyyy hh:mm:ss", 24-hour clock.
QString Timestamp(const QDateTime& time);

// A message between two lines of 62 hyphens.
QString FramedBlock(const QString& message);

// Timestamp, " - " and the result line of a script.
QString ResultLine(const QDateTime& time, const QString& resultLine);

// Appends `text` to the log. When the log's folder is missing it is created, one level
// only. Raises PathFileAccess when the text cannot be written whole.
void Append(const QString& sLogFile, const QString& text);

}  // namespace LoadLog
