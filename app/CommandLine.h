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
// The options a load needs; -R comes on top of them.
inline constexpr qint32 kOptionCount = 7;

// The argument text: the arguments after the program's name joined with single spaces.
QString ArgumentText(const QStringList& arguments);

// Pairs of option and value, separated by spaces only; option letters in any case. Answers
// nothing for an unknown option, -?, an option without a value, or a second -R. The first
// value given for any other key stays. Writes g_sSourceMode for -D and -F.
std::optional<OptionSet> ParseCommandLine(const QString& sArgs);

// The error mode: an optional sign and decimal digits within the 32-bit range.
std::optional<qint32> ParseErrorMode(const QString& value);

QString UsageTitle(const QString& program);
// Ten lines joined by a carriage return alone.
QString UsageText(const QString& program);
