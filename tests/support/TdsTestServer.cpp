#include "TdsTestServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QThread>
#include <stdexcept>

TdsTestServer::TdsTestServer(const QStringList& extraArguments) {
    const QString portFile = m_dir.filePath(QStringLiteral("port"));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Clients reach the server by its explicit port, which TDSPORT, even empty, overrides.
    qunsetenv("TDSPORT");
    m_process.start(
        QStringLiteral(VELMAR_PYTHON),
        QStringList{QStringLiteral(VELMAR_TDS_SERVER), QStringLiteral("--port-file"), portFile,
                    QStringLiteral("--journal"), m_dir.filePath(QStringLiteral("journal.jsonl"))} +
            extraArguments);
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        QFile file(portFile);
        if (file.open(QIODevice::ReadOnly)) {
            m_port = file.readAll().trimmed().toInt();
            if (m_port > 0) return;
        }
        QThread::msleep(20);
    }
    throw std::runtime_error("the TDS test server did not start");
}

TdsTestServer::~TdsTestServer() {
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) m_process.kill();
    m_process.waitForFinished(1000);
}

QString TdsTestServer::ServerName() const { return QStringLiteral("127.0.0.1,%1").arg(m_port); }

QList<QJsonObject> TdsTestServer::Journal() const {
    QList<QJsonObject> events;
    QFile file(m_dir.filePath(QStringLiteral("journal.jsonl")));
    if (!file.open(QIODevice::ReadOnly)) return events;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty()) events << QJsonDocument::fromJson(line).object();
    return events;
}

QStringList TdsTestServer::Batches() const {
    QStringList batches;
    for (const QJsonObject& event : Journal())
        if (event.value(u"event").toString() == u"batch")
            batches << event.value(u"text").toString();
    return batches;
}
