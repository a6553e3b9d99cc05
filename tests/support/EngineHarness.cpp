#include "EngineHarness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString EngineTest::Write(const QString& name, const QByteArray& bytes) const {
    const QString path = Path(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

QString EngineTest::ReadLog() const {
    QFile file(LogPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

LoadOutcome EngineTest::RunLogged(const QString& sPath, qint32 lError) {
    TCVelmar engine(std::make_unique<FakeConnection>(db), boxes, clock);
    engine.m_lError = lError;
    engine.m_sLogFile = LogPath();
    return engine.LoadStoredProcs(sPath, "srv", "Sales", "sa", "secret", QString());
}

LoadOutcome EngineTest::RunWindowed(const QString& sPath, qint32 lError) {
    TCVelmar engine(std::make_unique<FakeConnection>(db), boxes, clock);
    engine.m_lError = lError;
    engine.m_oCurForm = &receiver;
    return engine.LoadStoredProcs(sPath, "srv", "Sales", "sa", "secret", "me");
}

QStringList EngineTest::ResultLines() const {
    QStringList lines;
    static const QString stamp = QStringLiteral("04/03/2026 05:06:07 - ");
    for (const QString& line : ReadLog().split(QStringLiteral("\r\n")))
        if (line.startsWith(stamp)) lines << line.mid(stamp.size());
    return lines;
}
