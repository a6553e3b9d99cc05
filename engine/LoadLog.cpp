#include "LoadLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "VelmarError.h"

namespace LoadLog {
namespace {

QString Frame() { return QString(62, u'-'); }

[[noreturn]] void Fail(const QString& what, const QString& reason) {
    throw VelmarError(VelmarError::PathFileAccess, what + QStringLiteral(" : ") + reason);
}

bool OpenForAppend(QFile& file, const QString& sLogFile) {
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) return true;
    const qsizetype slash = sLogFile.lastIndexOf(u'/');
    if (slash <= 0 || QFileInfo::exists(sLogFile.left(slash))) return false;
    const QString folder = sLogFile.left(slash + 1);
    if (!QDir().mkdir(folder))
        Fail(QStringLiteral("Le répertoire du fichier de log '%1' ne peut pas être créé")
                 .arg(folder),
             QFileInfo(sLogFile.left(slash)).dir().exists()
                 ? QStringLiteral("accès refusé")
                 : QStringLiteral("son parent n'existe pas"));
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

}  // namespace

QString Timestamp(const QDateTime& time) {
    return time.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString FramedBlock(const QString& message) {
    return Frame() + CrLf + message + CrLf + Frame() + CrLf;
}

QString ResultLine(const QDateTime& time, const QString& resultLine) {
    return Timestamp(time) + QStringLiteral(" - ") + resultLine + CrLf;
}

void Append(const QString& sLogFile, const QString& text) {
    const QString what =
        QStringLiteral("Le fichier de log '%1' ne peut pas être écrit").arg(sLogFile);
    QFile file(sLogFile);
    if (!OpenForAppend(file, sLogFile)) Fail(what, file.errorString());
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush()) Fail(what, file.errorString());
    file.close();
    if (file.error() != QFileDevice::NoError) Fail(what, file.errorString());
}

}  // namespace LoadLog
