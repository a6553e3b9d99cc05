#include <QFileInfo>

#include "ScriptFile.h"
#include "TCVelmar.h"
#include "VelmarError.h"

namespace {

const QString kLoaded = QStringLiteral("Réussi");
const QString kTransactionLeftOpen =
    QStringLiteral("Transaction laissée ouverte par le script : annulée.");

}  // namespace

void TCVelmar::LoadSingleScript(const QString& sPath) {
    m_lNbProcs = 1;
    const bool loaded = ExecuteScriptFile(sPath);
    m_lNbLoaded = loaded ? 1 : 0;
    m_lNbRejected = loaded ? 0 : 1;
}

bool TCVelmar::ExecuteScriptFile(const QString& sPath) {
    const qint64 startTick = m_clock.TickMs();
    bool loaded = true;
    QString outcome = kLoaded;
    try {
        ScriptFile(sPath).ForEachBatch(
            [this](QStringView batch) { m_oConnection->ExecuteQuery(batch); });
    } catch (const VelmarError& error) {
        loaded = false;
        outcome = error.Description();
    }
    // A transaction left open would carry the next scripts and be undone at disconnection,
    // taking with it work already reported loaded. A rejected script keeps its first failure.
    try {
        if (m_oConnection->RollbackOpenTransaction() && loaded) {
            loaded = false;
            outcome = kTransactionLeftOpen;
        }
    } catch (const VelmarError& error) {
        if (loaded) outcome = error.Description();
        loaded = false;
    }
    const QString name = QFileInfo(sPath).fileName();
    Record({name, sPath, loaded, outcome, m_clock.TickMs() - startTick});
    // Outside the trap: a log that cannot be written ends the run.
    WriteResultLine(name + u'\t' + outcome);
    return loaded;
}
