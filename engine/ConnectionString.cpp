#include "ConnectionString.h"

#include "LoadTexts.h"
#include "VelmarError.h"

namespace {

// The driver reads braces only around a value that begins with "{", and ends any other value
// at the first ";" alone: that value stays as typed, and braces keep a ";" from ending the
// value and injecting keywords.
bool NeedsBraces(const QString& value) {
    return value.contains(u';') || value.startsWith(u'{') ||
           (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
}

QString Escaped(const QString& value) { return NeedsBraces(value) ? u'{' + value + u'}' : value; }

// FreeTDS does not read the standard "}}" escape, so the text after the brace would be taken
// for keywords of the string.
bool Unsendable(const QString& value) { return NeedsBraces(value) && value.contains(u'}'); }

}  // namespace

QString ConnectionString(const QString& sServer, const QString& sDatabase, const QString& sUser,
                         const QString& sPassword) {
    if (Unsendable(sUser) || Unsendable(sPassword))
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
