#include "FileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSignalBlocker>

#include "SortedEntries.h"

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

void FileList::setPattern(const QString& pattern) {
    m_pattern = pattern;
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
    if (m_folder.isEmpty() || m_pattern.isEmpty()) return;

    // QDir matches name filters without regard to case unless told otherwise; QDir::Files
    // takes links to files too, and hidden files stay out.
    for (const QString& name : SortedEntries(m_folder, {m_pattern}, QDir::Files)) {
        auto* entry = new QListWidgetItem(name, this);
        if (name == current) setCurrentItem(entry, QItemSelectionModel::NoUpdate);
        entry->setSelected(selected.contains(name));
    }
}
