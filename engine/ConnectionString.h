#pragma once

#include <QString>

// The ODBC connection string of a load: a SQL Server login when sUser is given, the
// operating-system account otherwise.
QString ConnectionString(const QString& sServer, const QString& sDatabase, const QString& sUser,
                         const QString& sPassword);
