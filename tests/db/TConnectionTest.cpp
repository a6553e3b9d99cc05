#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

#include "ConnectionString.h"
#include "OdbcError.h"
#include "QStringPrinter.h"
#include "TConnection.h"
#include "TdsTestServer.h"

using namespace Qt::StringLiterals;

namespace {

QString Dsn(const TdsTestServer& server, const QString& database = u"Sales"_s,
            const QString& password = u"secret"_s) {
    return u"uid=sa;pwd=%1;driver={SQL Server};server=%2;database=%3"_s.arg(
        password, server.ServerName(), database);
}

// The server journals an event when it notices it, a moment after the client acted.
bool JournalGetsEvent(const TdsTestServer& server, const QString& event) {
    const QDeadlineTimer deadline(5000);
    do {
        for (const QJsonObject& e : server.Journal())
            if (e.value(u"event").toString() == event) return true;
        QThread::msleep(20);
    } while (!deadline.hasExpired());
    return false;
}

}  // namespace

TEST(TConnection, OpensWithQuotedIdentifierOffAndSendsTextUnchanged) {
    TdsTestServer server;
    TConnection connection;
    ASSERT_TRUE(connection.OpenConnection(Dsn(server))) << connection.OpenFailure().toStdString();
    const QString accented = u"PRINT 'café à 5 €, ça 😀'\r\n-- ﬁn"_s;
    QString big;
    for (int i = 0; big.size() < 20000; ++i)
        big += u"insert into t values (%1) -- n°%1\r\n"_s.arg(i);
    connection.ExecuteQuery(accented);
    connection.ExecuteQuery(big);
    EXPECT_EQ(server.Batches(), (QStringList{u"set quoted_identifier off"_s, accented, big}));
    connection.CloseConnection();
    EXPECT_THROW(connection.ExecuteQuery(u"select 1"), VelmarError);
}

TEST(TConnection, RefusedOpenAnswersFalseWithTheServersMessage) {
    const struct {
        QStringList serverArguments;
        QString database, password, failure;
    } cases[] = {
        {{}, u"Sales"_s, u"wrong"_s, u"Login failed for user 'sa'."_s},
        {{}, u"Nope"_s, u"secret"_s, u"Cannot open database \"Nope\" requested by the login."_s},
        {{u"--fail-quoted-identifier"_s},
         u"Sales"_s,
         u"secret"_s,
         u"Incorrect syntax near 'quoted_identifier'."_s},
    };
    for (const auto& c : cases) {
        TdsTestServer server(c.serverArguments);
        TConnection connection;
        EXPECT_FALSE(connection.OpenConnection(Dsn(server, c.database, c.password)));
        EXPECT_TRUE(connection.OpenFailure().contains(c.failure)) << c.failure.toStdString();
        EXPECT_THROW(connection.ExecuteQuery(u"select 1"), VelmarError);
    }
}

TEST(TConnection, ServerThatNeverAnswersAnswersFalseByTheLoginTimeout) {
    // Connections complete in the listening socket's backlog and are never answered.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    TConnection connection;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(connection.OpenConnection(
        *ConnectionString(u"127.0.0.1,%1"_s.arg(ntohs(address.sin_port)), "B", "sa", "x")));
    EXPECT_LT(timer.elapsed(), (TConnection::LoginTimeoutSeconds + 5) * 1000);
    close(listener);
}

TEST(TConnection, ABatchFailsWithItsErrorEvenAfterOtherResultsAndTheConnectionStaysUsable) {
    TdsTestServer server;
    TConnection connection;
    ASSERT_TRUE(connection.OpenConnection(Dsn(server)));
    const std::pair<QString, qint32> failing[] = {
        {u"RAISERROR('boom', 16, 1)"_s, 50000},
        {u"insert into t values (1)\nTHROW 51000, 'boom', 1"_s, 51000},
        {u"PRINT 'hello'\nRAISERROR('boom', 16, 1)"_s, 50000},
        {u"select 1\nselect 2\nTHROW 52000, 'boom', 1"_s, 52000},
    };
    for (const auto& [batch, number] : failing) {
        try {
            connection.ExecuteQuery(batch);
            ADD_FAILURE() << "no error for " << batch.toStdString();
        } catch (const OdbcError& error) {
            EXPECT_EQ(error.Number(), number);
            EXPECT_EQ(error.Description(), u"[FreeTDS][SQL Server]boom"_s);
        }
        EXPECT_NO_THROW(
            connection.ExecuteQuery(u"PRINT 'note'\ninsert into t values (1)\nselect 3"));
    }
}

TEST(TConnection, QueryTimeoutInterruptsTheBatchAndTheConnectionStaysUsable) {
    TdsTestServer server;
    TConnection connection(1);
    ASSERT_TRUE(connection.OpenConnection(Dsn(server)));
    QElapsedTimer timer;
    timer.start();
    try {
        connection.ExecuteQuery(u"WAITFOR DELAY '00:00:05'");
        ADD_FAILURE() << "no timeout";
    } catch (const VelmarError& error) {
        EXPECT_TRUE(error.Description().contains(u"timeout", Qt::CaseInsensitive)) << error.what();
    }
    EXPECT_LT(timer.elapsed(), 4500);
    EXPECT_TRUE(JournalGetsEvent(server, u"attention"_s));
    EXPECT_NO_THROW(connection.ExecuteQuery(u"select 1"));
}
