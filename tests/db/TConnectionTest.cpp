#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>

#include "ConnectionString.h"
#include "TConnection.h"
#include "TdsTestServer.h"
#include "VelmarError.h"

using namespace Qt::StringLiterals;

// Both timeouts are given short here; what the server and the log see of everything else is
// checked end to end.

TEST(TConnection, QueryTimeoutInterruptsTheBatchAndTheConnectionStaysUsable) {
    const TdsTestServer server;
    TConnection connection(1);
    ASSERT_TRUE(
        connection.OpenConnection(ConnectionString(server.ServerName(), "Sales", "sa", "secret")))
        << connection.OpenFailure().toStdString();
    QElapsedTimer timer;
    timer.start();
    try {
        connection.ExecuteQuery(u"WAITFOR DELAY '00:00:05'");
        ADD_FAILURE() << "no timeout";
    } catch (const VelmarError& error) {
        EXPECT_TRUE(error.Description().contains(u"timeout", Qt::CaseInsensitive)) << error.what();
    }
    EXPECT_LT(timer.elapsed(), 4500);
    EXPECT_NO_THROW(connection.ExecuteQuery(u"select 1"));
}

TEST(TConnection, ServerThatNeverAnswersEndsTheLoginAtItsTimeout) {
    // With no event loop, connections complete in the listening socket's backlog, unanswered.
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
    qunsetenv("TDSPORT");
    TConnection connection(TConnection::QueryTimeoutSeconds, 1);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(connection.OpenConnection(
        ConnectionString(u"127.0.0.1,%1"_s.arg(listener.serverPort()), "B", "sa", "x")));
    EXPECT_LT(timer.elapsed(), 6000);
}
