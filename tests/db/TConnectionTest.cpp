#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>

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
        connection.OpenConnection(*ConnectionString(server.ServerName(), "Sales", "sa", "secret")))
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
    // Connections complete in the listening socket's backlog and are never answered.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    qunsetenv("TDSPORT");
    TConnection connection(TConnection::QueryTimeoutSeconds, 1);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(connection.OpenConnection(
        *ConnectionString(u"127.0.0.1,%1"_s.arg(ntohs(address.sin_port)), "B", "sa", "x")));
    EXPECT_LT(timer.elapsed(), 6000);
    close(listener);
}
