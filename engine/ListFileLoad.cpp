#include <QFileInfo>

#include "CCollection.h"
#include "LoadTexts.h"
#include "TCVelmar.h"
#include "TextFile.h"

TCVelmar::Pass TCVelmar::LoadListFile(const QString& sPath) {
    // Each distinct line once, at its first occurrence; lines differing only in case are one.
    CCollection<QString> entries;
    for (const QString& line : SplitLines(ReadTextFile(sPath))) entries.AddIfAbsent(line, line);
    // Walked from its last item to its first, the reversed copy gives file order.
    CCollection<QString> work;
    for (qint32 i = entries.Count(); i >= 1; --i) work.Add(entries.Item(i), entries.Item(i));

    const qint32 count = work.Count();
    if (m_oCurForm) m_oCurForm->ProgressBar_SetMaxStep(count);
    m_lNbProcs = count;
    m_lNbLoaded = 0;
    m_lNbRejected = 0;
    for (qint32 i = count; i >= 1; --i) {
        const QString entry = work.Item(i);
        const qint32 after = i - 1;
        if (entry.isEmpty()) {
            --m_lNbProcs;
            continue;
        }
        if (QFileInfo(entry).isFile()) {
            if (ExecuteScriptFile(entry)) {
                ++m_lNbLoaded;
            } else {
                ++m_lNbRejected;
                if (m_lError == 0) {
                    Stop(after);
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
                Stop(after);
                return Pass::Done;
            }
        }
        if (m_oCurForm) m_oCurForm->ProgressBar_AddStep();
    }
    return Pass::Done;
}
