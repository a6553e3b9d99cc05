#include "TdsTestServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <stdexcept>

TdsTestServer::TdsTestServer() {
    const QString portFile = m_dir.filePath(QStringLiteral("port"));
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    // Clients reach the server by its explicit port, which TDSPORT, even empty, overrides.
    qunsetenv("TDSPORT");
    m_process.start(QStringLiteral(VELMAR_PYTHON),
                    {QStringLiteral(VELMAR_TDS_SERVER), QStringLiteral("--port-file"), portFile,
                     QStringLiteral("--journal"), m_dir.filePath(QStringLiteral("journal"))});
    for (const QDeadlineTimer deadline(10000);
         !deadline.hasExpired() && m_process.state() != QProcess::NotRunning; QThread::msleep(20)) {
        QFile file(portFile);
        if (file.open(QIODevice::ReadOnly) && file.size() > 0) {
            m_serverName = QStringLiteral("127.0.0.1,") + file.readAll().trimmed();
            return;
        }
    }
    throw std::runtime_error("the TDS test server did not start");
}

TdsTestServer::~TdsTestServer() {
    m_process.terminate();
    m_process.waitForFinished();
}
