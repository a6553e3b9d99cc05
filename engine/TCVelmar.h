#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "Clock.h"
#include "IConnection.h"
#include "IMessageBox.h"
#include "IProgressReceiver.h"

// One script of the run as the log reports it; a missing list entry counts as one.
struct ScriptResult {
    QString name;  // the file name, as the result line writes it
    QString path;
    bool loaded = false;
    QString description;  // "Réussi", or the failure's text as logged
    qint64 durationMs = 0;
};

// What a load came to, for the caller's exit status and report.
struct LoadOutcome {
    qint32 procs = 0;
    qint32 loaded = 0;
    qint32 rejected = 0;
    // Set when the error mode stopped the run: the scripts it left unattempted.
    std::optional<qint32> remaining;
    // What could not be done when the load was not carried out.
    enum class Step { None, Connection, Source, Load };
    Step failedStep = Step::None;
    // Why the load could not be carried out; empty when it was.
    QString failure;
    QList<ScriptResult> scripts;  // in the order played, when the engine was asked to keep them
    QStringList unplayed;         // paths of the scripts a stop left unattempted
    QDateTime start;
    // Measured once: the summary writes it rounded to the second.
    qint64 elapsedMs = 0;
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
    // Keeps each script's result for LoadOutcome::scripts (a report); off, memory stays flat
    // however many scripts the run plays.
    bool m_bKeepScripts = false;

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
    QStringList LoadFolder(const QString& sPath);
    Pass LoadListFile(const QString& sPath);
    // Whether a rejected script ends the run: in stop mode, or once the connection could not be
    // put back in its starting state.
    bool StopsAtRejection() const;
    void Stop(const QStringList& unplayed);
    std::optional<qint32> Remaining() const;
    void Fail(LoadOutcome::Step step, const QString& failure);
    void Record(ScriptResult result);
    qint64 ElapsedMs();
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
    QStringList m_unplayed;
    bool m_bStartingStateLost = false;
    LoadOutcome::Step m_failedStep = LoadOutcome::Step::None;
    QString m_sFailure;
    QList<ScriptResult> m_results;
    qint64 m_startTick = 0;
    std::optional<qint64> m_elapsedMs;
};
