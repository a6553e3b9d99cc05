#include "TCVelmar.h"

#include <optional>

#include "ConnectionString.h"
#include "Disk.h"
#include "LoadLog.h"
#include "LoadTexts.h"
#include "SourceMode.h"
#include "VelmarError.h"

TCVelmar::TCVelmar(std::unique_ptr<IConnection> connection, IMessageBox& messageBox,
                   const IClock& clock)
    : m_oConnection(std::move(connection)), m_messageBox(messageBox), m_clock(clock) {}

LoadOutcome TCVelmar::LoadStoredProcs(const QString& sPath, const QString& sServer,
                                      const QString& sDatabase, const QString& sUser,
                                      const QString& sPassword, const QString& /*sLoginNT*/) {
    const QDateTime start = m_clock.Now();
    m_startTick = m_clock.TickMs();
    try {
        Run(sPath, sServer, sDatabase, sUser, sPassword);
    } catch (const VelmarError& error) {
        // A source that cannot be opened is told to the operator; anything else (the log
        // cannot be written, say) ends the run without a message.
        if (error.Number() == VelmarError::FileNotFound ||
            error.Number() == VelmarError::PathNotFound ||
            error.Number() == VelmarError::PermissionDenied) {
            Fail(LoadOutcome::Step::Source, LoadTexts::NotAccessible(sPath));
            try {
                ReportMessage(m_sFailure, MsgBoxStyle::CriticalOkCancel, LoadTexts::ErrorTitle);
            } catch (const VelmarError& logError) {
                Fail(LoadOutcome::Step::Load, logError.Description());
            }
        } else {
            Fail(LoadOutcome::Step::Load, error.Description());
        }
    }
    return {
        .procs = m_lNbProcs,
        .loaded = m_lNbLoaded,
        .rejected = m_lNbRejected,
        .remaining = Remaining(),
        .failedStep = m_failedStep,
        .failure = m_sFailure,
        .scripts = m_results,
        .unplayed = m_unplayed,
        .start = start,
        .elapsedMs = ElapsedMs(),
    };
}

void TCVelmar::Run(const QString& sPath, const QString& sServer, const QString& sDatabase,
                   const QString& sUser, const QString& sPassword) {
    bool connected = false;
    QString reason;
    try {
        connected =
            m_oConnection->OpenConnection(ConnectionString(sServer, sDatabase, sUser, sPassword));
        if (!connected) reason = m_oConnection->OpenFailure();
    } catch (const VelmarError& refused) {  // a login no connection string can carry
        reason = refused.Description();
    }
    if (!connected) {
        Fail(LoadOutcome::Step::Connection,
             LoadTexts::ConnectionFailed(sServer, sDatabase, reason));
        ReportMessage(
            LoadTexts::ConnectionFailure(m_clock.Now(), sServer, sDatabase, sUser, sPassword),
            MsgBoxStyle::OkOnly, QString());
        return;
    }
    if (!m_sLogFile.isEmpty())
        ReportMessage(LoadTexts::Header(m_clock.Now(), sServer, sDatabase, sUser, sPassword),
                      MsgBoxStyle::OkOnly, QString());
    while (RunSourceStep(sPath) == Pass::Restart) {
    }
    m_oConnection->CloseConnection();
    const qint64 seconds = LoadTexts::ElapsedSeconds(ElapsedMs());
    ReportMessage(LoadTexts::Summary(m_lNbProcs, m_lNbLoaded, m_lNbRejected, Remaining(), seconds),
                  MsgBoxStyle::OkOnly, QString());
}

TCVelmar::Pass TCVelmar::RunSourceStep(const QString& sPath) {
    m_results.clear();  // a retried pass starts over
    if (g_sSourceMode == kListFileMode) return LoadListFile(sPath);
    const Disk::Kind source = Disk::KindOf(sPath);
    if (source == Disk::Kind::File) {
        LoadSingleScript(sPath);
    } else if (source == Disk::Kind::Folder) {
        const QStringList unplayed = LoadFolder(sPath);
        if (!unplayed.isEmpty()) Stop(unplayed);
    } else {
        const QString message = LoadTexts::NotFound(sPath);
        if (ReportMessage(message, MsgBoxStyle::CriticalRetryCancel, LoadTexts::ErrorTitle) ==
            MsgBoxAnswer::Retry)
            return Pass::Restart;
        Fail(LoadOutcome::Step::Source, message);
    }
    return Pass::Done;
}

bool TCVelmar::StopsAtRejection() const { return m_lError == 0 || m_bStartingStateLost; }

void TCVelmar::Stop(const QStringList& unplayed) {
    m_bStopped = true;
    m_unplayed = unplayed;
}

std::optional<qint32> TCVelmar::Remaining() const {
    return m_bStopped ? std::optional(static_cast<qint32>(m_unplayed.size())) : std::nullopt;
}

void TCVelmar::Record(ScriptResult result) {
    if (m_bKeepScripts) m_results.append(std::move(result));
}

void TCVelmar::Fail(LoadOutcome::Step step, const QString& failure) {
    m_failedStep = step;
    m_sFailure = failure;
}

// Taken once, for the summary or, when there is none, at the end of the run.
qint64 TCVelmar::ElapsedMs() {
    if (!m_elapsedMs) m_elapsedMs = m_clock.TickMs() - m_startTick;
    return *m_elapsedMs;
}

void TCVelmar::WriteResultLine(const QString& text) {
    if (!m_oCurForm || !m_sLogFile.isEmpty()) {
        LoadLog::Append(m_sLogFile, LoadLog::ResultLine(m_clock.Now(), text));
        return;
    }
    m_oCurForm->AddItem(text);
    m_oCurForm->Refresh();
}

qint32 TCVelmar::ReportMessage(const QString& text, qint32 style, const QString& title) {
    if (m_sLogFile.isEmpty()) return m_messageBox.Show(text, style, title);
    LoadLog::Append(m_sLogFile, LoadLog::FramedBlock(text));
    return MsgBoxAnswer::Ok;
}
