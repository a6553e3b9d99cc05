#include "FolderList.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

#include "SortedEntries.h"

namespace {

constexpr int kIndentSpaces = 3;

QListWidgetItem* FolderItem(const QIcon& icon, const QString& name, const QString& path,
                            int depth) {
    auto* item = new QListWidgetItem(icon, QString(depth * kIndentSpaces, u' ') + name);
    item->setData(Qt::UserRole, path);
    item->setToolTip(path);
    return item;
}

// "/", "/a", "/a/b" for "/a/b".
QStringList Ancestry(const QString& path) {
    QStringList chain{QStringLiteral("/")};
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    QString sofar;
    for (const QString& part : parts) chain << (sofar += u'/' + part);
    return chain;
}

}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Open(item); });
}

bool FolderList::setPath(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) return false;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    if (path == m_path) return true;
    m_path = path;
    Fill();
    emit pathChanged(m_path);
    return true;
}

void FolderList::Fill() {
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    const QStringList chain = Ancestry(m_path);
    QListWidgetItem* open = nullptr;
    for (int depth = 0; depth < chain.size(); ++depth) {
        const QString name = depth == 0 ? QStringLiteral("/") : chain[depth].section(u'/', -1, -1);
        open = FolderItem(openIcon, name, chain[depth], depth);
        addItem(open);
    }

    for (const QString& name : SortedEntries(m_path, {}, QDir::Dirs | QDir::NoDotAndDotDot))
        addItem(FolderItem(closedIcon, name, QDir(m_path).filePath(name),
                           static_cast<int>(chain.size())));

    setCurrentItem(open);
    scrollToItem(open);
}

void FolderList::Open(const QListWidgetItem* item) {
    if (item) setPath(item->data(Qt::UserRole).toString());
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    // Without this a keyboard user could highlight folders but never open one.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Open(currentItem());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}
