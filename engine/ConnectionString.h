#pragma once

#include <QString>

// The ODBC connection string of a load: a SQL Server login when sUser is given, the
// operating-system account otherwise. Raises InvalidArgument when the user or the password
// holds "}": FreeTDS does not read the standard "}}" escape, so the text after it would be
// taken for keywords of the string.
QString ConnectionString(const QString& sServer, const QString& sDatabase, const QString& sUser,
                         const QString& sPassword);
