#include "Disk.h"
#include "TCVelmar.h"

QStringList TCVelmar::LoadFolder(const QString& sPath) {
    // Ordered so that scripts depending on each other load in a predictable order.
    QStringList files = Disk::FilesIn(sPath, u".sql");
    for (QString& file : files) file = sPath + u'/' + file;
    const auto count = static_cast<qint32>(files.size());
    m_lNbProcs = count;
    m_lNbLoaded = 0;
    m_lNbRejected = 0;
    if (count == 0) return {};
    if (m_oCurForm) m_oCurForm->ProgressBar_SetMaxStep(count);
    for (qint32 i = 0; i < count; ++i) {
        if (ExecuteScriptFile(files[i])) {
            ++m_lNbLoaded;
        } else {
            ++m_lNbRejected;
            if (StopsAtRejection()) return files.sliced(i + 1);
        }
        if (m_oCurForm) m_oCurForm->ProgressBar_AddStep();
    }
    return {};
}
