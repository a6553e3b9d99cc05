#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// What putting the connection back in its starting state after a script found and did.
struct ScriptEndState {
    // The script left a transaction open; it has been rolled back.
    bool rolledBack = false;
    // Why the database or the settings the run started with could not be put back; later
    // scripts would then run in the wrong place.
    std::optional<QString> restoreFailure;
};

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
    // After each script: rolls back a transaction left open, then puts back the database and
    // the SET options the connection started with. Raises when the check or the rollback fails.
    virtual ScriptEndState RestoreStartingState() = 0;
};
