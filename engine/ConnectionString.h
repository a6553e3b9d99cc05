#pragma once

#include <QString>

// The ODBC connection string of a load: a SQL Server login when sUser is given, the
// operating-system account otherwise. A value is braced only when it holds ";", begins with
// "{", or begins or ends with a space. Raises InvalidArgument when such a value also holds "}":
// FreeTDS does not read the standard "}}" escape, so the text after it would be taken for
// keywords of the string.
QString ConnectionString(const QString& sServer, const QString& sDatabase, const QString& sUser,
                         const QString& sPassword);
