#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>
#include <optional>

#include "OdbcError.h"
#include "QStringPrinter.h"
#include "TConnection.h"
#include "TdsTestServer.h"

using namespace Qt::StringLiterals;

namespace {

QString ConnectionString(const TdsTestServer& server, const QString& database = u"Sales"_s,
                         const QString& password = u"secret"_s) {
    return u"uid=sa;pwd=%1;driver={SQL Server};server=%2;database=%3"_s.arg(
        password, server.ServerName(), database);
}

// The OdbcError the batch raised; fails the test when it raised none.
std::optional<OdbcError> FailureOf(TConnection& connection, QStringView sql) {
    try {
        connection.ExecuteQuery(sql);
    } catch (const OdbcError& error) {
        return error;
    }
    ADD_FAILURE() << "no OdbcError for: " << sql.toString().toStdString();
    return std::nullopt;
}

// The server journals a disconnect when it notices it, a moment after the client has gone.
bool JournalGetsEvent(const TdsTestServer& server, const QString& event, int conn) {
    const QDeadlineTimer deadline(5000);
    do {
        for (const QJsonObject& e : server.Journal())
            if (e.value(u"event").toString() == event && e.value(u"conn").toInt() == conn)
                return true;
        QThread::msleep(20);
    } while (!deadline.hasExpired());
    return false;
}

}  // namespace

TEST(TConnection, OpenSendsQuotedIdentifierOffAsTheFirstBatch) {
    TdsTestServer server;
    TConnection connection;
    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server)))
        << connection.OpenFailure().toStdString();
    EXPECT_TRUE(connection.OpenFailure().isEmpty());
    connection.ExecuteQuery(u"select 1");
    EXPECT_EQ(server.Batches(), (QStringList{u"set quoted_identifier off"_s, u"select 1"_s}));
}

TEST(TConnection, RefusedOpenAnswersFalseWithTheDriverMessage) {
    TdsTestServer server;
    TConnection connection;
    bool opened = true;
    EXPECT_NO_THROW(
        opened = connection.OpenConnection(ConnectionString(server, u"Sales"_s, u"wrong"_s)));
    EXPECT_FALSE(opened);
    EXPECT_EQ(connection.OpenFailure(), u"[FreeTDS][SQL Server]Login failed for user 'sa'."_s);

    EXPECT_FALSE(connection.OpenConnection(ConnectionString(server, u"Nope"_s)));
    EXPECT_EQ(
        connection.OpenFailure(),
        u"[FreeTDS][SQL Server]Cannot open database \"Nope\" requested by the login. The login failed."_s);

    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server)));
    EXPECT_TRUE(connection.OpenFailure().isEmpty()) << "a successful open clears the last failure";
}

TEST(TConnection, RejectedQuotedIdentifierOffFailsTheOpenAndLeavesNothingOpen) {
    TdsTestServer server({u"--fail-quoted-identifier"_s});
    TConnection connection;
    EXPECT_FALSE(connection.OpenConnection(ConnectionString(server)));
    EXPECT_TRUE(connection.OpenFailure().contains(u"Incorrect syntax near 'quoted_identifier'."))
        << connection.OpenFailure().toStdString();
    EXPECT_THROW(connection.ExecuteQuery(u"select 1"), VelmarError);
    EXPECT_TRUE(JournalGetsEvent(server, u"disconnect"_s, 1));
}

TEST(TConnection, NothingListeningAnswersFalseWellBeforeTheLoginTimeout) {
    QString dsn;
    {
        TdsTestServer gone;
        dsn = ConnectionString(gone);
    }
    TConnection connection;
    QElapsedTimer timer;
    timer.start();
    bool opened = true;
    EXPECT_NO_THROW(opened = connection.OpenConnection(dsn));
    EXPECT_FALSE(opened);
    EXPECT_FALSE(connection.OpenFailure().isEmpty());
    EXPECT_LT(timer.elapsed(), TConnection::LoginTimeoutSeconds * 1000 / 2);
}

TEST(TConnection, RejectedBatchRaisesServerMessageAndConnectionStaysUsable) {
    TdsTestServer server;
    TConnection connection;
    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server)));
    const auto error = FailureOf(connection, u"RAISERROR('text', 16, 1)");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), 50000);
    EXPECT_EQ(error->Description(), u"[FreeTDS][SQL Server]text"_s);
    EXPECT_NO_THROW(connection.ExecuteQuery(u"select 2"));
    EXPECT_EQ(server.Batches().last(), u"select 2"_s);
}

TEST(TConnection, ErrorLaterInTheBatchIsNotHiddenByEarlierResults) {
    TdsTestServer server;
    TConnection connection;
    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server)));

    const auto afterCount =
        FailureOf(connection, u"insert into t values (1)\nTHROW 51000, 'after insert', 1");
    ASSERT_TRUE(afterCount);
    EXPECT_EQ(afterCount->Number(), 51000);
    EXPECT_EQ(afterCount->Description(), u"[FreeTDS][SQL Server]after insert"_s);

    const auto afterPrint =
        FailureOf(connection, u"PRINT 'hello'\nRAISERROR('after print', 16, 1)");
    ASSERT_TRUE(afterPrint);
    EXPECT_EQ(afterPrint->Number(), 50000);
    EXPECT_EQ(afterPrint->Description(), u"[FreeTDS][SQL Server]after print"_s);

    const auto afterRows =
        FailureOf(connection, u"select 1\nselect 2\nTHROW 52000, 'after rows', 1");
    ASSERT_TRUE(afterRows);
    EXPECT_EQ(afterRows->Number(), 52000);
}

TEST(TConnection, BatchesWithoutErrorsSucceed) {
    TdsTestServer server;
    TConnection connection;
    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server)));
    EXPECT_NO_THROW(connection.ExecuteQuery(u"select 1"));
    EXPECT_NO_THROW(connection.ExecuteQuery(u"create table t (a int)"));  // no result at all
    EXPECT_NO_THROW(connection.ExecuteQuery(u"PRINT 'note'\ninsert into t values (1)\nselect 3"));
    EXPECT_NO_THROW(connection.ExecuteQuery(u"RAISERROR('only info', 10, 1)"));
    EXPECT_EQ(server.Batches().size(), 5);
}

TEST(TConnection, QueryTimeoutInterruptsTheBatchAndConnectionStaysUsable) {
    TdsTestServer server;
    TConnection connection(1);
    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server)));
    QElapsedTimer timer;
    timer.start();
    const auto error = FailureOf(connection, u"WAITFOR DELAY '00:00:05'");
    EXPECT_LT(timer.elapsed(), 4500);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->Description().contains(u"timeout", Qt::CaseInsensitive)) << error->what();
    EXPECT_TRUE(JournalGetsEvent(server, u"attention"_s, 1));
    EXPECT_NO_THROW(connection.ExecuteQuery(u"select 1"));
    EXPECT_EQ(server.Batches().last(), u"select 1"_s);
}

TEST(TConnection, ServerDroppingTheConnectionMidBatchRaises) {
    TdsTestServer server;
    TConnection connection;
    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server)));
    const auto error = FailureOf(connection, u"insert into t values (1)\nSHUTDOWN");
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->Description().contains(u"EOF")) << error->what();
    EXPECT_THROW(connection.ExecuteQuery(u"select 1"), VelmarError);
}

TEST(TConnection, BatchTextReachesTheServerUnchanged) {
    TdsTestServer server;
    TConnection connection;
    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server)));
    const QString accented = u"PRINT 'café à 5 €, ça 😀'\r\n-- ﬁn"_s;
    connection.ExecuteQuery(accented);
    QString big;
    for (int i = 0; big.size() < 20000; ++i)
        big += u"insert into t values (%1) -- ligne n°%1\r\n"_s.arg(i);
    connection.ExecuteQuery(big);
    EXPECT_EQ(server.Batches().mid(1), (QStringList{accented, big}));
}

TEST(TConnection, ClosedConnectionRefusesBatches) {
    TdsTestServer server;
    TConnection connection;
    EXPECT_THROW(connection.ExecuteQuery(u"select 1"), VelmarError) << "never opened";
    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server)));
    connection.CloseConnection();
    EXPECT_TRUE(JournalGetsEvent(server, u"disconnect"_s, 1));
    EXPECT_THROW(connection.ExecuteQuery(u"select 1"), VelmarError);
    EXPECT_EQ(server.Batches().size(), 1);
}

TEST(TConnection, SecondOpenReplacesTheFirstConnection) {
    TdsTestServer server;
    TConnection connection;
    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server)));
    ASSERT_TRUE(connection.OpenConnection(ConnectionString(server, u"Demo"_s)));
    EXPECT_TRUE(JournalGetsEvent(server, u"disconnect"_s, 1));
    connection.ExecuteQuery(u"select 7");
    QStringList logins, batchesOf2;
    for (const QJsonObject& e : server.Journal()) {
        if (e.value(u"event").toString() == u"login")
            logins << u"%1:%2"_s.arg(e.value(u"conn").toInt()).arg(e.value(u"database").toString());
        if (e.value(u"event").toString() == u"batch" && e.value(u"conn").toInt() == 2)
            batchesOf2 << e.value(u"text").toString();
    }
    EXPECT_EQ(logins, (QStringList{u"1:Sales"_s, u"2:Demo"_s}));
    EXPECT_EQ(batchesOf2, (QStringList{u"set quoted_identifier off"_s, u"select 7"_s}));
}
