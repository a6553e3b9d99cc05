#include "TConnection.h"

#include "OdbcHandle.h"

namespace {

constexpr qint32 NotOpenError = 3704;
constexpr qint32 NoRowError = 3021;

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

qint64 SelectInteger(const OdbcHandle& dbc, int timeoutSeconds, QStringView sSQL) {
    const OdbcHandle statement = Execute(dbc, timeoutSeconds, sSQL);
    if (statement.Check(SQLFetch(statement.Get())) == SQL_NO_DATA)
        throw VelmarError(NoRowError, QStringLiteral("« %1 » n'a rendu aucune ligne.").arg(sSQL));
    SQLBIGINT value = 0;
    SQLLEN indicator = 0;
    statement.Check(
        SQLGetData(statement.Get(), 1, SQL_C_SBIGINT, &value, sizeof value, &indicator));
    DrainResults(statement);
    return value;
}

}  // namespace

struct TConnection::Session {
    OdbcHandle env = NewEnvironment();
    OdbcHandle dbc{SQL_HANDLE_DBC, env.Get()};
    bool connected = false;

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
        return true;
    } catch (const VelmarError& error) {
        m_sOpenFailure = error.Description();
        // A connection whose first statement failed is not kept half made.
        m_oDbConnection.reset();
        return false;
    }
}

void TConnection::CloseConnection() {
    const Session& session = OpenSession();
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
    DrainResults(Execute(OpenSession().dbc, m_queryTimeout, sSQL));
}

bool TConnection::RollbackOpenTransaction() {
    if (SelectInteger(OpenSession().dbc, m_queryTimeout, u"select @@trancount") == 0) return false;
    ExecuteQuery(u"rollback transaction");
    return true;
}

const TConnection::Session& TConnection::OpenSession() const {
    if (!m_oDbConnection || !m_oDbConnection->connected)
        throw VelmarError(NotOpenError, QStringLiteral("La connexion n'est pas ouverte."));
    return *m_oDbConnection;
}
