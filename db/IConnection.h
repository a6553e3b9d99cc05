#pragma once

#include <QString>
#include <QStringView>

// The engine's door to the database; TConnection is the real one.
class IConnection {
public:
    virtual ~IConnection() = default;
    // Answers false instead of raising when the connection cannot be had.
    virtual bool OpenConnection(const QString& sDSN) = 0;
    // Why the last OpenConnection answered false, in the driver's words.
    virtual QString OpenFailure() const = 0;
    virtual void CloseConnection() = 0;
    // Runs one batch; raises a VelmarError carrying the server's number and message.
    virtual void ExecuteQuery(QStringView sSQL) = 0;
    // Rolls back a transaction still open on the connection; answers whether there was one.
    virtual bool RollbackOpenTransaction() = 0;
};
