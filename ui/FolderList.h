#pragma once

#include <QListWidget>
#include <QString>

// The open folder with its ancestors above it and its subfolders below it, as an indented
// list. A double-click (or Enter) opens a folder; a single click only highlights it.
class FolderList final : public QListWidget {
    Q_OBJECT

public:
    explicit FolderList(QWidget* parent = nullptr);

    // The open folder: absolute and clean, no trailing "/" except for the root.
    QString path() const { return m_path; }

    // Opens `folder` and notifies pathChanged before returning when the open folder moves.
    // A folder that cannot be listed leaves the list as it was and answers false.
    bool setPath(const QString& folder);

signals:
    void pathChanged(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Fill();
    void Open(const QListWidgetItem* item);

    QString m_path;
};
