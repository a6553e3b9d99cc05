#include "FileBytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <QFile>
#include <cerrno>

#include "FileDescriptor.h"
#include "VelmarError.h"

namespace {

[[noreturn]] void Fail(qint32 number, int error) {
    throw VelmarError(number, qt_error_string(error));
}

// A large buffer faults in far fewer pages when the kernel may back it with huge pages.
void PreferHugePages(QByteArray& bytes) {
    constexpr quintptr kHugePage = 2 * 1024 * 1024;
    const auto begin =
        (reinterpret_cast<quintptr>(bytes.data()) + kHugePage - 1) & ~(kHugePage - 1);
    const auto end = (reinterpret_cast<quintptr>(bytes.data()) + bytes.size()) & ~(kHugePage - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

// Reads up to `size` bytes; a file whose length is not known (0, as /proc reports) is read to
// its end.
QByteArray ReadAll(int fd, qsizetype size) {
    const bool lengthKnown = size > 0;
    QByteArray bytes(lengthKnown ? size : 4096, Qt::Uninitialized);
    PreferHugePages(bytes);
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
    m_bytes = ReadAll(file.Get(), status.st_size);
}
