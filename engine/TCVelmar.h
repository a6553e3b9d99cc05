#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "Clock.h"
#include "IConnection.h"
#include "IMessageBox.h"
#include "IProgressReceiver.h"

// What a load came to, for the caller's exit status.
struct LoadOutcome {
    qint32 procs = 0;
    qint32 loaded = 0;
    qint32 rejected = 0;
    // Set when the error mode stopped the run: the scripts it left unattempted.
    std::optional<qint32> remaining;
    // Why the load could not be carried out; empty when it was.
    QString failure;
};

// The loading engine: one object per load.
class TCVelmar {
public:
    TCVelmar(std::unique_ptr<IConnection> connection, IMessageBox& messageBox, const IClock& clock);

    // 0 stops the load at the first rejected script; any other value carries on.
    qint32 m_lError = 0;
    // Empty: reports go to message boxes and result lines to m_oCurForm.
    QString m_sLogFile;
    IProgressReceiver* m_oCurForm = nullptr;

    // Connects, takes the scripts from sPath (a list file when g_sSourceMode says so, a
    // script or a folder otherwise), reports each one and the summary, and disconnects.
    // sLoginNT is accepted for the window's sake and not used.
    LoadOutcome LoadStoredProcs(const QString& sPath, const QString& sServer,
                                const QString& sDatabase, const QString& sUser,
                                const QString& sPassword, const QString& sLoginNT);

private:
    enum class Pass { Done, Restart };

    void Run(const QString& sPath, const QString& sServer, const QString& sDatabase,
             const QString& sUser, const QString& sPassword);
    Pass RunSourceStep(const QString& sPath);
    bool ExecuteScriptFile(const QString& sPath);
    void LoadSingleScript(const QString& sPath);
    qint32 LoadFolder(const QString& sPath);
    Pass LoadListFile(const QString& sPath);
    // Whether a rejected script ends the run: in stop mode, or once the connection could not be
    // put back in its starting state.
    bool StopsAtRejection() const;
    void Stop(qint32 remaining);
    std::optional<qint32> Remaining() const;
    void WriteResultLine(const QString& text);
    qint32 ReportMessage(const QString& text, qint32 style, const QString& title);

    std::unique_ptr<IConnection> m_oConnection;
    IMessageBox& m_messageBox;
    const IClock& m_clock;

    qint32 m_lNbProcs = 0;
    qint32 m_lNbLoaded = 0;
    qint32 m_lNbRejected = 0;
    // Set when the error mode ended the run early, with the scripts it left unattempted.
    bool m_bStopped = false;
    qint32 m_lRemaining = 0;
    bool m_bStartingStateLost = false;
    QString m_sFailure;
};
