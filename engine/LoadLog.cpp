#include "LoadLog.h"

#include <QFileInfo>

#include "Disk.h"
#include "LoadTexts.h"
#include "VelmarError.h"

namespace LoadLog {
namespace {

QString Frame() { return QString(62, u'-'); }

[[noreturn]] void Fail(const QString& what, const QString& reason) {
    throw VelmarError(VelmarError::PathFileAccess, what + QStringLiteral(" : ") + reason);
}

// Creates the log's folder, one level only, when it is missing; answers whether it did.
bool CreateMissingFolder(const QString& sLogFile) {
    const qsizetype slash = sLogFile.lastIndexOf(u'/');
    if (slash <= 0 || Disk::KindOf(sLogFile.left(slash)) != Disk::Kind::Missing) return false;
    const QString folder = sLogFile.left(slash + 1);
    try {
        Disk::CreateFolder(folder);
    } catch (const VelmarError&) {
        const bool parentExists =
            Disk::KindOf(QFileInfo(sLogFile.left(slash)).path()) == Disk::Kind::Folder;
        Fail(LoadTexts::LogFolderNotCreated(folder),
             parentExists ? LoadTexts::AccessDenied : LoadTexts::ParentMissing);
    }
    return true;
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

void Append(const QString& sLogFile, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    try {
        Disk::AppendToFile(sLogFile, bytes);
    } catch (const VelmarError& error) {
        if (error.Number() != VelmarError::FileNotFound || !CreateMissingFolder(sLogFile))
            Fail(LoadTexts::LogNotWritten(sLogFile), error.Description());
        Append(sLogFile, text);
    }
}

}  // namespace LoadLog
