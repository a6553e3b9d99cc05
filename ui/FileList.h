#pragma once

#include <QListWidget>
#include <QString>

// The files of one folder whose names end in a suffix, listed as a load lists them, with
// extended multiple selection. Refilling by the program raises no itemSelectionChanged; the
// operator's changes do.
class FileList final : public QListWidget {
    Q_OBJECT

public:
    explicit FileList(QWidget* parent = nullptr);

    void setFolder(const QString& folder);
    void setSuffix(const QString& suffix);

    // The entry's full path, joined with "/".
    QString filePath(int index) const;

private:
    void Fill();

    QString m_folder;
    QString m_suffix;
};
