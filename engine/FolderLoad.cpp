#include <QDir>
#include <QFileInfo>

#include "SortedEntries.h"
#include "TCVelmar.h"
#include "VelmarError.h"

namespace {

// The folder's scripts: regular files (or links to them) named *.sql in any letter case,
// hidden ones left out, ordered by name without regard to case so that scripts depending on
// each other load in a predictable order. A link whose target is gone is kept, to be rejected
// rather than silently skipped.
QStringList ScriptsIn(const QString& sFolder) {
    const QFileInfo folder(sFolder);
    if (!folder.isReadable() || !folder.isExecutable())
        throw VelmarError(VelmarError::PermissionDenied,
                          QStringLiteral("Le répertoire '%1' ne peut pas être lu").arg(sFolder));
    QStringList scripts;
    for (const QString& name :
         SortedEntries(sFolder, {QStringLiteral("*.sql")}, QDir::Files | QDir::System)) {
        const QFileInfo entry(sFolder + u'/' + name);
        if (entry.isFile() || (entry.isSymLink() && !entry.exists())) scripts << entry.filePath();
    }
    return scripts;
}

}  // namespace

qint32 TCVelmar::LoadFolder(const QString& sPath) {
    const QStringList files = ScriptsIn(sPath);
    const auto count = static_cast<qint32>(files.size());
    m_lNbProcs = count;
    m_lNbLoaded = 0;
    m_lNbRejected = 0;
    if (count == 0) return 0;
    if (m_oCurForm) m_oCurForm->ProgressBar_SetMaxStep(count);
    for (qint32 i = 0; i < count; ++i) {
        if (ExecuteScriptFile(files[i])) {
            ++m_lNbLoaded;
        } else {
            ++m_lNbRejected;
            if (m_lError == 0) return count - (i + 1);
        }
        if (m_oCurForm) m_oCurForm->ProgressBar_AddStep();
    }
    return 0;
}
