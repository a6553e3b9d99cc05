#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The project's TDS test server, started on a free port of 127.0.0.1 for one test.
class TdsTestServer {
public:
    // `extraArguments` go to the server's command line (e.g. --fail-quoted-identifier).
    explicit TdsTestServer(const QStringList& extraArguments = {});
    ~TdsTestServer();

    int Port() const { return m_port; }
    // "127.0.0.1,<port>", as a server name for the connection string.
    QString ServerName() const;
    // Every event the server journalled so far.
    QList<QJsonObject> Journal() const;
    // The text of every batch received, in order.
    QStringList Batches() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
