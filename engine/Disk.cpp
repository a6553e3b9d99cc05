#include "Disk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <memory>
#include <utility>

#include "SortedEntries.h"
#include "VelmarError.h"

namespace Disk {
namespace {

[[noreturn]] void Fail(qint32 number, int error) {
    throw VelmarError(number, qt_error_string(error));
}

// Runs a system call again for as long as a signal interrupts it.
template <class Call>
auto Retrying(Call call) {
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR) return result;
    }
}

// Sole owner of an open file descriptor; closes it on destruction.
class Descriptor {
public:
    Descriptor(const QString& path, int flags) {
        const QByteArray name = QFile::encodeName(path);
        m_fd = Retrying([&] { return ::open(name.constData(), flags | O_CLOEXEC, 0666); });
        if (m_fd < 0)
            Fail(errno == ENOENT    ? VelmarError::FileNotFound
                 : errno == ENOTDIR ? VelmarError::PathNotFound
                                    : VelmarError::PermissionDenied,
                 errno);
    }
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }

    // Closes now: a write may report its failure only here.
    void Close() {
        if (::close(std::exchange(m_fd, -1)) != 0) Fail(VelmarError::PathFileAccess, errno);
    }

private:
    int m_fd;
};

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
        const ssize_t n =
            Retrying([&] { return ::read(fd, bytes.data() + done, bytes.size() - done); });
        if (n < 0) Fail(VelmarError::PathFileAccess, errno);
        done += n;
        if (n == 0 || (lengthKnown && done == size)) break;
    }
    bytes.truncate(done);
    return bytes;
}

// A regular file or a link to one, or a link whose target cannot be reached.
bool IsListedFile(int folder, const dirent& entry) {
    if (entry.d_type == DT_REG) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    struct stat status {};
    if (::fstatat(folder, entry.d_name, &status, 0) == 0) return S_ISREG(status.st_mode);
    return ::fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(status.st_mode);
}

}  // namespace

Kind KindOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return Kind::Missing;
    if (S_ISREG(status.st_mode)) return Kind::File;
    return S_ISDIR(status.st_mode) ? Kind::Folder : Kind::Other;
}

QByteArray ReadFile(const QString& path) {
    const Descriptor file(path, O_RDONLY);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) Fail(VelmarError::PathFileAccess, errno);
    if (S_ISDIR(status.st_mode)) Fail(VelmarError::PermissionDenied, EISDIR);
    return ReadAll(file.Get(), status.st_size);
}

void AppendToFile(const QString& path, QByteArrayView bytes) {
    Descriptor file(path, O_WRONLY | O_APPEND | O_CREAT);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n =
            Retrying([&] { return ::write(file.Get(), bytes.data() + done, bytes.size() - done); });
        if (n <= 0) Fail(VelmarError::PathFileAccess, n < 0 ? errno : EIO);
        done += n;
    }
    file.Close();
}

void CreateFolder(const QString& path) {
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0)
        Fail(VelmarError::PermissionDenied, errno);
}

// From the directory entries and their types: QDir's name filters and file infos do several
// times the work for each file.
QStringList FilesIn(const QString& folder, QStringView suffix) {
    const QByteArray path = QFile::encodeName(folder);
    if (::access(path.constData(), R_OK | X_OK) != 0) Fail(VelmarError::PermissionDenied, errno);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.constData()), ::closedir);
    if (!dir) Fail(VelmarError::PermissionDenied, errno);
    QStringList names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) break;
        const QString name = QFile::decodeName(entry->d_name);
        if (name.startsWith(u'.') || !name.endsWith(suffix, Qt::CaseInsensitive)) continue;
        if (IsListedFile(::dirfd(dir.get()), *entry)) names << name;
    }
    if (errno != 0) Fail(VelmarError::PermissionDenied, errno);
    SortByName(names);
    return names;
}

}  // namespace Disk
