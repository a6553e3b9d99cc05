#include <QFileInfo>

#include "CCollection.h"
#include "Disk.h"
#include "LoadTexts.h"
#include "TCVelmar.h"
#include "TextFile.h"

namespace {

// The scripts the walk has not reached yet when it stops at position `i`; the blank line,
// if any, is no script.
QStringList ScriptsAfter(const CCollection<QString>& entries, qint32 i) {
    QStringList scripts;
    for (qint32 j = i + 1; j <= entries.Count(); ++j)
        if (!entries.Item(j).isEmpty()) scripts << entries.Item(j);
    return scripts;
}

}  // namespace

TCVelmar::Pass TCVelmar::LoadListFile(const QString& sPath) {
    // Each distinct line once, at its first occurrence; lines differing only in case are one.
    // Walked first to last, it gives file order: a reversed copy walked backwards, as the
    // design words it, would give the same order at the cost of a second collection.
    CCollection<QString> entries;
    for (const QString& line : SplitLines(ReadTextFile(sPath))) entries.AddIfAbsent(line, line);

    const qint32 count = entries.Count();
    if (m_oCurForm) m_oCurForm->ProgressBar_SetMaxStep(count);
    // Counted before the walk so that a blank line after a stop is not taken for a script.
    m_lNbProcs = count - (entries.IncludesKey(QString()) ? 1 : 0);
    m_lNbLoaded = 0;
    m_lNbRejected = 0;
    for (qint32 i = 1; i <= count; ++i) {
        const QString entry = entries.Item(i);
        if (entry.isEmpty()) continue;
        if (Disk::KindOf(entry) == Disk::Kind::File) {
            if (ExecuteScriptFile(entry)) {
                ++m_lNbLoaded;
            } else {
                ++m_lNbRejected;
                if (StopsAtRejection()) {
                    Stop(ScriptsAfter(entries, i));
                    return Pass::Done;
                }
            }
        } else {
            const QString message = LoadTexts::NotFound(entry);
            const qint32 answer = ReportMessage(message, MsgBoxStyle::ExclamationAbortRetryIgnore,
                                                LoadTexts::ErrorTitle);
            if (answer == MsgBoxAnswer::Retry) return Pass::Restart;
            Record({QFileInfo(entry).fileName(), entry, false, message, 0});
            ++m_lNbRejected;
            if (answer != MsgBoxAnswer::Ignore && m_lError == 0) {
                Stop(ScriptsAfter(entries, i));
                return Pass::Done;
            }
        }
        if (m_oCurForm) m_oCurForm->ProgressBar_AddStep();
    }
    return Pass::Done;
}
