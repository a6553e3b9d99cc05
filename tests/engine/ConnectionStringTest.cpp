#include <gtest/gtest.h>

#include "ConnectionString.h"

TEST(ConnectionString, SqlLoginNamesUserPasswordServerDatabaseAndDefaultPort) {
    EXPECT_EQ(ConnectionString("dbserver", "Sales", "sa", "secret"),
              u"uid=sa;pwd=secret;driver={SQL Server};server=dbserver;database=Sales;port=1433");
}

TEST(ConnectionString, WindowsLoginHasNoCredentials) {
    EXPECT_EQ(ConnectionString("dbserver", "Sales", "", ""),
              u"driver={SQL Server};server=dbserver;database=Sales;port=1433");
}

TEST(ConnectionString, ServerNamingAPortOrAnInstanceGetsNoDefaultPort) {
    EXPECT_EQ(ConnectionString("db,1500", "B", "u", "p"),
              u"uid=u;pwd=p;driver={SQL Server};server=db,1500;database=B");
    EXPECT_EQ(ConnectionString("db\\INST", "B", "u", "p"),
              u"uid=u;pwd=p;driver={SQL Server};server=db\\INST;database=B");
}

TEST(ConnectionString, CredentialsThatWouldBreakTheStringAreBraced) {
    EXPECT_EQ(ConnectionString("s", "b", "sa", "p;w"),
              u"uid=sa;pwd={p;w};driver={SQL Server};server=s;database=b;port=1433");
    EXPECT_EQ(ConnectionString("s", "b", "sa", "a{b"),
              u"uid=sa;pwd={a{b};driver={SQL Server};server=s;database=b;port=1433");
    EXPECT_EQ(ConnectionString("s", "b", " sa", "p "),
              u"uid={ sa};pwd={p };driver={SQL Server};server=s;database=b;port=1433");
    // Anything else stays byte for byte, inner blanks and quotes included.
    EXPECT_EQ(ConnectionString("s", "b", "d'a v", "p=w\"x"),
              u"uid=d'a v;pwd=p=w\"x;driver={SQL Server};server=s;database=b;port=1433");
}

TEST(ConnectionString, CredentialHoldingAClosingBraceIsRefused) {
    EXPECT_FALSE(ConnectionString("s", "b", "sa", "x};pwd=secret"));
    EXPECT_FALSE(ConnectionString("s", "b", "s}a", "p"));
}
