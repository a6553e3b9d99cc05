#include "TConnection.h"

#include <QStringList>

#include "OdbcHandle.h"

namespace {

// Read once at connection time for the starting state, then after every script.
constexpr QStringView kStateQuery = u"select @@trancount, db_name(), @@options";

// Where the session is: its open transactions, its database and its SET options.
struct SessionState {
    qint64 transactions = 0;
    QString database;
    qint64 options = 0;
};

// The @@OPTIONS bits that a SET statement turns on and off; bit 1 has none.
struct SetOption {
    qint64 bit;
    QStringView name;
};
constexpr SetOption kSetOptions[] = {
    {2, u"implicit_transactions"},
    {4, u"cursor_close_on_commit"},
    {8, u"ansi_warnings"},
    {16, u"ansi_padding"},
    {32, u"ansi_nulls"},
    {64, u"arithabort"},
    {128, u"arithignore"},
    {256, u"quoted_identifier"},
    {512, u"nocount"},
    {1024, u"ansi_null_dflt_on"},
    {2048, u"ansi_null_dflt_off"},
    {4096, u"concat_null_yields_null"},
    {8192, u"numeric_roundabort"},
    {16384, u"xact_abort"},
};

OdbcHandle NewEnvironment() {
    OdbcHandle env(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    env.Check(SQLSetEnvAttr(env.Get(), SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_OV_ODBC3)), 0));
    return env;
}

SQLWCHAR* Wide(QStringView text) {
    // The ODBC API is not const-correct; the driver only reads the text.
    return reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(text.utf16()));
}

// Every result of the batch is read, so that an error raised by a later statement is not
// taken for success.
void DrainResults(const OdbcHandle& statement) {
    while (statement.Check(SQLMoreResults(statement.Get())) != SQL_NO_DATA) {
    }
}

OdbcHandle Execute(const OdbcHandle& dbc, int timeoutSeconds, QStringView sSQL) {
    OdbcHandle statement(SQL_HANDLE_STMT, dbc.Get());
    statement.Check(SQLSetStmtAttrW(statement.Get(), SQL_ATTR_QUERY_TIMEOUT,
                                    reinterpret_cast<SQLPOINTER>(SQLULEN(timeoutSeconds)),
                                    SQL_IS_UINTEGER));
    statement.Check(SQLExecDirectW(statement.Get(), Wide(sSQL), SQLINTEGER(sSQL.size())));
    return statement;
}

qint64 IntegerColumn(const OdbcHandle& statement, SQLUSMALLINT column) {
    SQLBIGINT value = 0;
    SQLLEN indicator = 0;
    statement.Check(
        SQLGetData(statement.Get(), column, SQL_C_SBIGINT, &value, sizeof value, &indicator));
    return value;
}

QString TextColumn(const OdbcHandle& statement, SQLUSMALLINT column) {
    SQLWCHAR text[256] = {};  // a name is at most 128 characters
    SQLLEN bytes = 0;
    statement.Check(SQLGetData(statement.Get(), column, SQL_C_WCHAR, text, sizeof text, &bytes));
    return bytes <= 0 ? QString()
                      : QString::fromUtf16(reinterpret_cast<const char16_t*>(text),
                                           qsizetype(bytes / qsizetype(sizeof(SQLWCHAR))));
}

SessionState ReadState(const OdbcHandle& dbc, int timeoutSeconds) {
    const OdbcHandle statement = Execute(dbc, timeoutSeconds, kStateQuery);
    if (statement.Check(SQLFetch(statement.Get())) == SQL_NO_DATA)
        throw VelmarError(VelmarError::NoCurrentRow,
                          QStringLiteral("« %1 » n'a rendu aucune ligne.").arg(kStateQuery));
    SessionState state{IntegerColumn(statement, 1), TextColumn(statement, 2),
                       IntegerColumn(statement, 3)};
    DrainResults(statement);
    return state;
}

// The batch that puts back the starting database and options; empty when nothing moved. The
// database is compared with the server's own name for it, which may differ in letter case from
// the one the run was given.
QString RestoreBatch(const SessionState& start, const SessionState& now) {
    QStringList statements;
    if (now.database != start.database)
        statements << QStringLiteral("use [%1]")
                          .arg(QString(start.database).replace(u']', QStringLiteral("]]")));
    // Offs before ons: of ANSI_NULL_DFLT_ON and _OFF, which exclude each other, the one going
    // on comes last.
    for (const bool on : {false, true})
        for (const SetOption& option : kSetOptions)
            if (((start.options ^ now.options) & option.bit) != 0 &&
                ((start.options & option.bit) != 0) == on)
                statements << QStringLiteral("set %1 %2")
                                  .arg(option.name, QStringView(on ? u"on" : u"off"));
    return statements.join(u"\r\n");
}

}  // namespace

struct TConnection::Session {
    OdbcHandle env = NewEnvironment();
    OdbcHandle dbc{SQL_HANDLE_DBC, env.Get()};
    bool connected = false;
    SessionState start;

    ~Session() {
        if (connected) SQLDisconnect(dbc.Get());
    }
};

TConnection::TConnection(int queryTimeoutSeconds, int loginTimeoutSeconds)
    : m_queryTimeout(queryTimeoutSeconds), m_loginTimeout(loginTimeoutSeconds) {}

TConnection::~TConnection() = default;

bool TConnection::OpenConnection(const QString& sDSN) {
    m_oDbConnection.reset();
    m_sOpenFailure.clear();
    try {
        m_oDbConnection = std::make_unique<Session>();
        const OdbcHandle& dbc = m_oDbConnection->dbc;
        dbc.Check(SQLSetConnectAttrW(dbc.Get(), SQL_ATTR_LOGIN_TIMEOUT,
                                     reinterpret_cast<SQLPOINTER>(SQLULEN(m_loginTimeout)),
                                     SQL_IS_UINTEGER));
        dbc.Check(SQLDriverConnectW(dbc.Get(), nullptr, Wide(sDSN), SQL_NTS, nullptr, 0, nullptr,
                                    SQL_DRIVER_NOPROMPT));
        m_oDbConnection->connected = true;
        ExecuteQuery(u"set quoted_identifier off");
        m_oDbConnection->start = ReadState(dbc, m_queryTimeout);
        return true;
    } catch (const VelmarError& error) {
        m_sOpenFailure = error.Description();
        // A connection whose first statements failed is not kept half made.
        m_oDbConnection.reset();
        return false;
    }
}

void TConnection::CloseConnection() {
    const Session& session = RequireOpenSession();
    session.dbc.Check(SQLDisconnect(session.dbc.Get()));
    m_oDbConnection->connected = false;
}

void TConnection::ExecuteQuery(QStringView sSQL) {
    // The driver stops reading at a NUL character: the rest of the batch would be dropped
    // while the batch still counted as run.
    if (sSQL.contains(QChar(0)))
        throw VelmarError(VelmarError::InvalidArgument,
                          QStringLiteral("Le lot contient un caractère nul (code 0) : le pilote "
                                         "ODBC n'en enverrait que le début."));
    DrainResults(Execute(RequireOpenSession().dbc, m_queryTimeout, sSQL));
}

ScriptEndState TConnection::RestoreStartingState() {
    const Session& session = RequireOpenSession();
    const SessionState now = ReadState(session.dbc, m_queryTimeout);
    ScriptEndState end;
    if (now.transactions != 0) {
        ExecuteQuery(u"rollback transaction");
        end.rolledBack = true;
    }
    if (const QString restore = RestoreBatch(session.start, now); !restore.isEmpty()) {
        try {
            ExecuteQuery(restore);
        } catch (const VelmarError& error) {
            end.restoreFailure = error.Description();
        }
    }
    return end;
}

const TConnection::Session& TConnection::RequireOpenSession() const {
    if (!m_oDbConnection || !m_oDbConnection->connected)
        throw VelmarError(VelmarError::ConnectionNotOpen,
                          QStringLiteral("La connexion n'est pas ouverte."));
    return *m_oDbConnection;
}
