#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "SortedEntries.h"
#include "TCVelmar.h"
#include "VelmarError.h"

namespace {

[[noreturn]] void Unreadable(const QString& sFolder) {
    throw VelmarError(VelmarError::PermissionDenied,
                      QStringLiteral("Le répertoire '%1' ne peut pas être lu").arg(sFolder));
}

// The folder's scripts: regular files (or links to them) named *.sql in any letter case,
// hidden ones left out, ordered by name without regard to case so that scripts depending on
// each other load in a predictable order. A link whose target is gone is kept, to be rejected
// rather than silently skipped. Listed from the directory entries and their types: QDir's name
// filters and file infos do several times the work for each file.
QStringList ScriptsIn(const QString& sFolder) {
    const QFileInfo folder(sFolder);
    if (!folder.isReadable() || !folder.isExecutable()) Unreadable(sFolder);
    QStringList names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(QFile::encodeName(sFolder).toStdString(), error),
         end;
         it != end; it.increment(error)) {
        const QString name = QFile::decodeName(it->path().filename().native().c_str());
        if (name.startsWith(u'.') || !name.endsWith(u".sql", Qt::CaseInsensitive)) continue;
        std::error_code ignored;  // a broken link reports one; the answers stand
        if (it->is_regular_file(ignored) || (it->is_symlink(ignored) && !it->exists(ignored)))
            names << name;
    }
    if (error) Unreadable(sFolder);
    SortByName(names);
    for (QString& name : names) name = sFolder + u'/' + name;
    return names;
}

}  // namespace

QStringList TCVelmar::LoadFolder(const QString& sPath) {
    const QStringList files = ScriptsIn(sPath);
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
