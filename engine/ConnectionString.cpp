#include "ConnectionString.h"

namespace {

// Braces keep a ";" from ending the value and injecting keywords; other values stay as typed.
QString Escaped(QString value) {
    const bool needsBraces =
        value.contains(u';') || value.contains(u'{') || value.contains(u'}') ||
        (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    if (!needsBraces) return value;
    return u'{' + value.replace(u'}', QStringLiteral("}}")) + u'}';
}

}  // namespace

QString ConnectionString(const QString& sServer, const QString& sDatabase, const QString& sUser,
                         const QString& sPassword) {
    QString dsn;
    if (!sUser.isEmpty())
        dsn = QStringLiteral("uid=") + Escaped(sUser) + QStringLiteral(";pwd=") +
              Escaped(sPassword) + u';';
    dsn += QStringLiteral("driver={SQL Server};server=") + sServer + QStringLiteral(";database=") +
           sDatabase;
    // FreeTDS has no default port for a bare host name.
    if (!sServer.contains(u',') && !sServer.contains(u'\\')) dsn += QStringLiteral(";port=1433");
    return dsn;
}
