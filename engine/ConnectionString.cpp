#include "ConnectionString.h"

#include "LoadTexts.h"
#include "VelmarError.h"

namespace {

// Braces keep a ";" from ending the value and injecting keywords; other values stay as typed.
QString Escaped(const QString& value) {
    const bool needsBraces =
        value.contains(u';') || value.contains(u'{') ||
        (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    return needsBraces ? u'{' + value + u'}' : value;
}

}  // namespace

QString ConnectionString(const QString& sServer, const QString& sDatabase, const QString& sUser,
                         const QString& sPassword) {
    if (sUser.contains(u'}') || sPassword.contains(u'}'))
        throw VelmarError(VelmarError::InvalidArgument, LoadTexts::BraceInLogin);
    QString dsn;
    if (!sUser.isEmpty())
        dsn = QStringLiteral("uid=") + Escaped(sUser) + QStringLiteral(";pwd=") +
              Escaped(sPassword) + u';';
    // A fixed protocol version: with "auto", FreeTDS retries a login that timed out with an
    // older protocol and that retry can wait for ever on a server that never answers.
    dsn += QStringLiteral("driver={SQL Server};server=") + sServer + QStringLiteral(";database=") +
           sDatabase + QStringLiteral(";TDS_Version=7.4");
    // FreeTDS has no default port for a bare host name.
    if (!sServer.contains(u',') && !sServer.contains(u'\\')) dsn += QStringLiteral(";port=1433");
    return dsn;
}
