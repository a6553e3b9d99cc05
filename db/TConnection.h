#pragma once

#include <memory>

#include "IConnection.h"

// One ODBC connection to SQL Server for a load run.
class TConnection final : public IConnection {
public:
    static constexpr int QueryTimeoutSeconds = 120;
    // Set explicitly so that an unreachable server never hangs the run.
    static constexpr int LoginTimeoutSeconds = 15;

    explicit TConnection(int queryTimeoutSeconds = QueryTimeoutSeconds,
                         int loginTimeoutSeconds = LoginTimeoutSeconds);
    ~TConnection() override;
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;

    // Opens a fresh connection (releasing the previous one), runs "set quoted_identifier off"
    // on it and reads the state every script is to start in. Never raises.
    bool OpenConnection(const QString& sDSN) override;
    void CloseConnection() override;
    // One statement handle per batch; every result is drained so that an error raised by a
    // later statement of the batch is not taken for success.
    void ExecuteQuery(QStringView sSQL) override;
    // One round trip when the script changed nothing; a rollback and a restore add one each.
    ScriptEndState RestoreStartingState() override;

    QString OpenFailure() const override { return m_sOpenFailure; }

private:
    struct Session;

    // The open connection's session; raises when the connection is not open.
    const Session& RequireOpenSession() const;

    int m_queryTimeout;
    int m_loginTimeout;
    std::unique_ptr<Session> m_oDbConnection;
    QString m_sOpenFailure;
};
