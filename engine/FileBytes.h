#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The bytes of a whole file, its length taken first and that many bytes read at once. A large
// file is mapped instead of read: its pages come from the page cache without a copy and
// without faulting in fresh memory, which costs more than reading it.
class FileBytes {
public:
    // Raises FileNotFound or PermissionDenied when the file cannot be opened, PathFileAccess
    // when it cannot be read.
    explicit FileBytes(const QString& sPath);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    QByteArrayView Bytes() const { return m_bytes; }

private:
    QByteArray m_read;
    void* m_mapping = nullptr;
    QByteArrayView m_bytes;
};
