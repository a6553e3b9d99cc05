#include <gtest/gtest.h>

#include "ConnectionString.h"
#include "QStringPrinter.h"

TEST(ConnectionString, NamesTheLoginServerAndDatabaseBracingOrRefusingWhatWouldBreakIt) {
    const char* const cases[][5] = {
        {"dbserver", "sa", "secret",
         "uid=sa;pwd=secret;driver={SQL "
         "Server};server=dbserver;database=B;TDS_Version=7.4;port=1433"},
        {"dbserver", "", "",
         "driver={SQL Server};server=dbserver;database=B;TDS_Version=7.4;port=1433"},
        {"db,1500", "u", "p",
         "uid=u;pwd=p;driver={SQL Server};server=db,1500;database=B;TDS_Version=7.4"},
        {"db\\INST", "u", "p",
         "uid=u;pwd=p;driver={SQL Server};server=db\\INST;database=B;TDS_Version=7.4"},
        {"s", "sa", "p;w",
         "uid=sa;pwd={p;w};driver={SQL Server};server=s;database=B;TDS_Version=7.4;port=1433"},
        {"s", "sa", "a{b",
         "uid=sa;pwd={a{b};driver={SQL Server};server=s;database=B;TDS_Version=7.4;port=1433"},
        // FreeTDS does not read "}}": what follows the brace would be taken for keywords.
        {"s", "sa", "x};pwd=secret", nullptr},
        {"s", "s}a", "p", nullptr},
        {"s", " sa", "p ",
         "uid={ sa};pwd={p };driver={SQL Server};server=s;database=B;TDS_Version=7.4;port=1433"},
        {"s", "d'a v", "p=w\"x",
         "uid=d'a v;pwd=p=w\"x;driver={SQL Server};server=s;database=B;TDS_Version=7.4;port=1433"},
    };
    for (const auto& [server, user, password, dsn, _] : cases)
        EXPECT_EQ(ConnectionString(server, "B", user, password),
                  dsn ? std::optional(QString::fromUtf8(dsn)) : std::nullopt);
}
