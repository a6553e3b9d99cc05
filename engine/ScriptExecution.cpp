#include <QFileInfo>

#include "ScriptSplitter.h"
#include "TCVelmar.h"
#include "TextFile.h"
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
    bool loaded = true;
    QString outcome = kLoaded;
    try {
        const QString text = ReadTextFile(sPath);
        for (const QStringView batch : SplitScript(text)) m_oConnection->ExecuteQuery(batch);
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
    // Outside the trap: a log that cannot be written ends the run.
    WriteResultLine(QFileInfo(sPath).fileName() + u'\t' + outcome);
    return loaded;
}
