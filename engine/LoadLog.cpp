#include "LoadLog.h"

#include <fcntl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "FileDescriptor.h"
#include "VelmarError.h"

namespace LoadLog {
namespace {

QString Frame() { return QString(62, u'-'); }

[[noreturn]] void Fail(const QString& what, const QString& reason) {
    throw VelmarError(VelmarError::PathFileAccess, what + QStringLiteral(" : ") + reason);
}

// The message of a failed write, told only when there is one.
[[noreturn]] void FailToWrite(const QString& sLogFile, int error) {
    Fail(QStringLiteral("Le fichier de log '%1' ne peut pas être écrit").arg(sLogFile),
         qt_error_string(error));
}

FileDescriptor Open(const QString& sLogFile) {
    return FileDescriptor(::open(QFile::encodeName(sLogFile).constData(),
                                 O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
}

// Creates the log's folder, one level only, when it is missing; answers whether it did.
bool CreateMissingFolder(const QString& sLogFile) {
    const qsizetype slash = sLogFile.lastIndexOf(u'/');
    if (slash <= 0 || QFileInfo::exists(sLogFile.left(slash))) return false;
    const QString folder = sLogFile.left(slash + 1);
    if (!QDir().mkdir(folder))
        Fail(QStringLiteral("Le répertoire du fichier de log '%1' ne peut pas être créé")
                 .arg(folder),
             QFileInfo(sLogFile.left(slash)).dir().exists()
                 ? QStringLiteral("accès refusé")
                 : QStringLiteral("son parent n'existe pas"));
    return true;
}

FileDescriptor OpenForAppend(const QString& sLogFile) {
    FileDescriptor log = Open(sLogFile);
    int error = errno;
    if (!log.IsOpen() && error == ENOENT && CreateMissingFolder(sLogFile)) {
        log = Open(sLogFile);
        error = errno;
    }
    if (!log.IsOpen()) FailToWrite(sLogFile, error);
    return log;
}

}  // namespace

QString Timestamp(const QDateTime& time) {
    const QDate date = time.date();
    const QTime clock = time.time();
    QString text(19, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    // Digits written directly: this runs for every result line.
    const auto put = [&](int value, int digits, char16_t after) {
        for (int i = digits - 1; i >= 0; --i, value /= 10) out[i] = u'0' + value % 10;
        out += digits;
        if (after) *out++ = after;
    };
    put(date.day(), 2, u'/');
    put(date.month(), 2, u'/');
    put(date.year(), 4, u' ');
    put(clock.hour(), 2, u':');
    put(clock.minute(), 2, u':');
    put(clock.second(), 2, 0);
    return text;
}

QString FramedBlock(const QString& message) {
    return Frame() + CrLf + message + CrLf + Frame() + CrLf;
}

QString ResultLine(const QDateTime& time, const QString& resultLine) {
    return Timestamp(time) + QStringLiteral(" - ") + resultLine + CrLf;
}

// Plain system calls: this runs once per script, and Qt's file layer costs as much again.
void Append(const QString& sLogFile, const QString& text) {
    FileDescriptor log = OpenForAppend(sLogFile);
    const QByteArray bytes = text.toUtf8();
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(log.Get(), bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) FailToWrite(sLogFile, n < 0 ? errno : EIO);
        done += n;
    }
    if (const int error = log.Close()) FailToWrite(sLogFile, error);
}

}  // namespace LoadLog
