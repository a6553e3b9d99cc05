#include <QFileInfo>

#include "CCollection.h"
#include "LoadTexts.h"
#include "TCVelmar.h"
#include "TextFile.h"

namespace {

// The scripts the walk has not reached yet when it stops at position `i` (it runs from
// Count down to 1); the blank line, if any, is no script.
qint32 ScriptsAfter(const CCollection<QString>& work, qint32 i) {
    qint32 scripts = 0;
    for (qint32 j = i - 1; j >= 1; --j)
        if (!work.Item(j).isEmpty()) ++scripts;
    return scripts;
}

}  // namespace

TCVelmar::Pass TCVelmar::LoadListFile(const QString& sPath) {
    // Each distinct line once, at its first occurrence; lines differing only in case are one.
    CCollection<QString> entries;
    for (const QString& line : SplitLines(ReadTextFile(sPath))) entries.AddIfAbsent(line, line);
    // Walked from its last item to its first, the reversed copy gives file order.
    CCollection<QString> work;
    for (qint32 i = entries.Count(); i >= 1; --i) work.Add(entries.Item(i), entries.Item(i));

    const qint32 count = work.Count();
    if (m_oCurForm) m_oCurForm->ProgressBar_SetMaxStep(count);
    // Counted before the walk so that a blank line after a stop is not taken for a script.
    m_lNbProcs = count - (work.IncludesKey(QString()) ? 1 : 0);
    m_lNbLoaded = 0;
    m_lNbRejected = 0;
    for (qint32 i = count; i >= 1; --i) {
        const QString entry = work.Item(i);
        if (entry.isEmpty()) continue;
        if (QFileInfo(entry).isFile()) {
            if (ExecuteScriptFile(entry)) {
                ++m_lNbLoaded;
            } else {
                ++m_lNbRejected;
                if (m_lError == 0) {
                    Stop(ScriptsAfter(work, i));
                    return Pass::Done;
                }
            }
        } else {
            const qint32 answer =
                ReportMessage(LoadTexts::NotFound(entry), MsgBoxStyle::ExclamationAbortRetryIgnore,
                              LoadTexts::ErrorTitle);
            if (answer == MsgBoxAnswer::Retry) return Pass::Restart;
            ++m_lNbRejected;
            if (answer != MsgBoxAnswer::Ignore && m_lError == 0) {
                Stop(ScriptsAfter(work, i));
                return Pass::Done;
            }
        }
        if (m_oCurForm) m_oCurForm->ProgressBar_AddStep();
    }
    return Pass::Done;
}
