#include "FileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSignalBlocker>

#include "Disk.h"
#include "VelmarError.h"

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void FileList::setFolder(const QString& folder) {
    const QString path =
        folder.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    // Another folder's entries are other files, even where the names repeat.
    if (path != m_folder) {
        const QSignalBlocker quiet(this);
        clear();
    }
    m_folder = path;
    Fill();
}

void FileList::setSuffix(const QString& suffix) {
    m_suffix = suffix;
    Fill();
}

QString FileList::filePath(int index) const { return QDir(m_folder).filePath(item(index)->text()); }

// Rereads the folder; entries still there keep their selection.
void FileList::Fill() {
    const QSignalBlocker quiet(this);
    QSet<QString> selected;
    for (const QListWidgetItem* entry : selectedItems()) selected.insert(entry->text());
    const QString current = currentItem() ? currentItem()->text() : QString();
    clear();
    if (m_folder.isEmpty() || m_suffix.isEmpty()) return;

    QStringList names;
    try {
        names = Disk::FilesIn(m_folder, m_suffix);
    } catch (const VelmarError&) {
        return;  // a folder that cannot be read shows no files
    }
    for (const QString& name : names) {
        auto* entry = new QListWidgetItem(name, this);
        if (name == current) setCurrentItem(entry, QItemSelectionModel::NoUpdate);
        entry->setSelected(selected.contains(name));
    }
}
