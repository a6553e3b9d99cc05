#include "FileBytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <QFile>
#include <cerrno>

#include "FileDescriptor.h"
#include "VelmarError.h"

namespace {

// Below this, reading into reused heap memory is cheaper than setting up a mapping.
constexpr qsizetype kMapFrom = 64 * 1024;

[[noreturn]] void Fail(qint32 number, int error) {
    throw VelmarError(number, qt_error_string(error));
}

// Reads up to `size` bytes; a file whose length is not known (0, as /proc reports) is read to
// its end.
QByteArray ReadAll(int fd, qsizetype size) {
    const bool lengthKnown = size > 0;
    QByteArray bytes(lengthKnown ? size : 4096, Qt::Uninitialized);
    qsizetype done = 0;
    for (;;) {
        if (!lengthKnown && done == bytes.size()) bytes.resize(2 * bytes.size());
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail(VelmarError::PathFileAccess, errno);
        done += n;
        if (n == 0 || (lengthKnown && done == size)) break;
    }
    bytes.truncate(done);
    return bytes;
}

FileDescriptor OpenToRead(const QString& sPath) {
    FileDescriptor file(::open(QFile::encodeName(sPath).constData(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen())
        Fail(errno == ENOENT || errno == ENOTDIR ? VelmarError::FileNotFound
                                                 : VelmarError::PermissionDenied,
             errno);
    return file;
}

}  // namespace

FileBytes::FileBytes(const QString& sPath) {
    const FileDescriptor file = OpenToRead(sPath);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) Fail(VelmarError::PathFileAccess, errno);
    if (S_ISDIR(status.st_mode)) Fail(VelmarError::PermissionDenied, EISDIR);
    const qsizetype size = status.st_size;
    if (S_ISREG(status.st_mode) && size >= kMapFrom) {
        void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.Get(), 0);
        if (mapping != MAP_FAILED) {
            m_mapping = mapping;
            m_bytes = QByteArrayView(static_cast<const char*>(mapping), size);
            return;
        }
    }
    m_read = ReadAll(file.Get(), size);
    m_bytes = m_read;
}

FileBytes::~FileBytes() {
    if (m_mapping) ::munmap(m_mapping, m_bytes.size());
}
