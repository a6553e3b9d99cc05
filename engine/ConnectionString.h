#pragma once

#include <QString>
#include <optional>

// The ODBC connection string of a load: a SQL Server login when sUser is given, the
// operating-system account otherwise. A value is braced only when it holds ";", begins with
// "{", or begins or ends with a space; nothing when such a value also holds "}".
std::optional<QString> ConnectionString(const QString& sServer, const QString& sDatabase,
                                        const QString& sUser, const QString& sPassword);
