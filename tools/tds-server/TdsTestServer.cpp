#include "TdsTestServer.h"

#include <stdexcept>

// The launcher owns the server's start and its time limit; it prints the port once the
// server answers, or ends without a line.
TdsTestServer::TdsTestServer() {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Clients reach the server by its explicit port, which TDSPORT, even empty, overrides.
    qunsetenv("TDSPORT");
    m_process.start(QStringLiteral(VELMAR_PYTHON),
                    {QStringLiteral(VELMAR_TDS_SERVER_LAUNCHER), QStringLiteral("--journal"),
                     m_dir.filePath(QStringLiteral("journal"))});
    while (!m_process.canReadLine() && m_process.waitForReadyRead(-1)) {
    }
    const QByteArray port = m_process.readLine().trimmed();
    if (port.isEmpty()) throw std::runtime_error("the TDS test server did not start");
    m_serverName = QStringLiteral("127.0.0.1,") + QString::fromLatin1(port);
}

TdsTestServer::~TdsTestServer() {
    m_process.terminate();
    m_process.waitForFinished();
}
