#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The bytes of a whole file, its length taken first and that many bytes read at once. It is
// not mapped: a script cut short while it loads would then end the process.
class FileBytes {
public:
    // Raises FileNotFound or PermissionDenied when the file cannot be opened, PathFileAccess
    // when it cannot be read.
    explicit FileBytes(const QString& sPath);

    QByteArrayView Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
