#include <QFileInfo>

#include "LoadTexts.h"
#include "ScriptFile.h"
#include "TCVelmar.h"
#include "VelmarError.h"

void TCVelmar::LoadSingleScript(const QString& sPath) {
    m_lNbProcs = 1;
    const bool loaded = ExecuteScriptFile(sPath);
    m_lNbLoaded = loaded ? 1 : 0;
    m_lNbRejected = loaded ? 0 : 1;
}

bool TCVelmar::ExecuteScriptFile(const QString& sPath) {
    const qint64 startTick = m_clock.TickMs();
    bool loaded = true;
    QString outcome = LoadTexts::Loaded;
    // A rejected script keeps its first failure.
    const auto reject = [&](const QString& why) {
        if (loaded) outcome = why;
        loaded = false;
    };
    try {
        ScriptFile(sPath).ForEachBatch(
            [this](QStringView batch) { m_oConnection->ExecuteQuery(batch); });
    } catch (const VelmarError& error) {
        reject(error.Description());
    }
    // A transaction left open would carry into the next scripts and be undone at
    // disconnection, taking with it work already reported loaded. A database or setting the
    // script changed is put back without blame; one that cannot be put back ends the run, since
    // every later script would run in the wrong place.
    try {
        const ScriptEndState end = m_oConnection->RestoreStartingState();
        if (end.rolledBack) reject(LoadTexts::TransactionLeftOpen);
        if (end.restoreFailure) {
            reject(*end.restoreFailure);
            m_bStartingStateLost = true;
        }
    } catch (const VelmarError& error) {
        reject(error.Description());
    }
    const QString name = QFileInfo(sPath).fileName();
    Record({name, sPath, loaded, outcome, m_clock.TickMs() - startTick});
    // Outside the trap: a log that cannot be written ends the run.
    WriteResultLine(name + u'\t' + outcome);
    return loaded;
}
