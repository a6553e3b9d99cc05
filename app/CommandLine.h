#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "CCollection.h"

// Keys of the option set.
namespace OptionKey {
inline const QString Error = QStringLiteral("error");
inline const QString User = QStringLiteral("user");
inline const QString Password = QStringLiteral("pass");
inline const QString Database = QStringLiteral("base");
inline const QString Server = QStringLiteral("serv");
inline const QString Path = QStringLiteral("path");
inline const QString Log = QStringLiteral("log");
inline const QString Report = QStringLiteral("report");
}  // namespace OptionKey

using OptionSet = CCollection<QString>;
// The keys a load needs, seven since -D and -F share one; -R comes on top of them.
inline constexpr qint32 kOptionKeyCount = 7;

// A stretch of the argument text, in UTF-16 units; `at` is -1 for none.
struct TextSpan {
    qsizetype at = -1;
    qsizetype length = 0;
};

// The argument text: the arguments after the program's name joined with single spaces.
QString ArgumentText(const QStringList& arguments);

// Pairs of option and value, separated by spaces only; option letters in any case. Answers
// nothing for an unknown option, -?, an option without a value, or a second -R. The first
// value given for any other key stays. Writes g_sSourceMode for -D and -F. Sets password to
// where the value kept under "pass" lies in sArgs, even when the command line is then refused.
std::optional<OptionSet> ParseCommandLine(const QString& sArgs, TextSpan& password);

// Overwrites with '*' the bytes of argv[1..argc-1] that make up the span of their
// ArgumentText, so that the process list no longer shows them.
void BlankArguments(int argc, char* argv[], TextSpan span);

// The error mode: an optional sign and decimal digits within the 32-bit range.
std::optional<qint32> ParseErrorMode(const QString& value);

QString UsageTitle(const QString& program);
// Eleven lines joined by a carriage return alone.
QString UsageText(const QString& program);
