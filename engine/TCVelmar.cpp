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
    try {
        Run(sPath, sServer, sDatabase, sUser, sPassword);
    } catch (const VelmarError& error) {
        m_sFailure = error.Description();
        // A source that cannot be opened is told to the operator; anything else (the log
        // cannot be written, say) ends the run without a message.
        if (error.Number() == VelmarError::FileNotFound ||
            error.Number() == VelmarError::PathNotFound ||
            error.Number() == VelmarError::PermissionDenied) {
            m_sFailure = LoadTexts::NotAccessible(sPath);
            try {
                ReportMessage(m_sFailure, MsgBoxStyle::CriticalOkCancel, LoadTexts::ErrorTitle);
            } catch (const VelmarError& logError) {
                m_sFailure = logError.Description();
            }
        }
    }
    return {m_lNbProcs, m_lNbLoaded, m_lNbRejected, Remaining(), m_sFailure};
}

void TCVelmar::Run(const QString& sPath, const QString& sServer, const QString& sDatabase,
                   const QString& sUser, const QString& sPassword) {
    const qint64 startTick = m_clock.TickMs();
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
        m_sFailure = LoadTexts::ConnectionFailed(sServer, sDatabase, reason);
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
    const qint64 seconds = LoadTexts::ElapsedSeconds(m_clock.TickMs() - startTick);
    ReportMessage(LoadTexts::Summary(m_lNbProcs, m_lNbLoaded, m_lNbRejected, Remaining(), seconds),
                  MsgBoxStyle::OkOnly, QString());
}

TCVelmar::Pass TCVelmar::RunSourceStep(const QString& sPath) {
    if (g_sSourceMode == kListFileMode) return LoadListFile(sPath);
    const Disk::Kind source = Disk::KindOf(sPath);
    if (source == Disk::Kind::File) {
        LoadSingleScript(sPath);
    } else if (source == Disk::Kind::Folder) {
        const qint32 remaining = LoadFolder(sPath);
        if (remaining != 0 && m_lError == 0) Stop(remaining);
    } else {
        const QString message = LoadTexts::NotFound(sPath);
        if (ReportMessage(message, MsgBoxStyle::CriticalRetryCancel, LoadTexts::ErrorTitle) ==
            MsgBoxAnswer::Retry)
            return Pass::Restart;
        m_sFailure = message;
    }
    return Pass::Done;
}

void TCVelmar::Stop(qint32 remaining) {
    m_bStopped = true;
    m_lRemaining = remaining;
}

std::optional<qint32> TCVelmar::Remaining() const {
    return m_bStopped ? std::optional(m_lRemaining) : std::nullopt;
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
