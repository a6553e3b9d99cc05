#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The TDS test server, started on a free port of 127.0.0.1 for as long as this object lives.
class TdsTestServer {
public:
    TdsTestServer();
    ~TdsTestServer();

    // "127.0.0.1,<port>", as a server name for the connection string.
    QString ServerName() const { return m_serverName; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_serverName;
};
