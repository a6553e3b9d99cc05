#include <gtest/gtest.h>

#include "ConnectionString.h"
#include "QStringPrinter.h"
#include "VelmarError.h"

using namespace Qt::StringLiterals;

TEST(ConnectionString, NamesTheLoginServerAndDatabaseBracingOrRefusingWhatWouldBreakIt) {
    const char* const cases[][4] = {
        // server, user, password, the login part; no login part: refused
        {"dbserver", "sa", "secret", "uid=sa;pwd=secret;"},
        {"dbserver", "", "", ""},
        {"s", "sa", "p;w", "uid=sa;pwd={p;w};"},
        {"s", "sa", "{ab", "uid=sa;pwd={{ab};"},
        {"s", " sa", "p ", "uid={ sa};pwd={p };"},
        {"s", "d'a v", "p=w\"x", "uid=d'a v;pwd=p=w\"x;"},
        // The driver reads braces only around a value that begins with one.
        {"s", "s}a{", "ab}c{d", "uid=s}a{;pwd=ab}c{d;"},
        // FreeTDS does not read "}}": what follows the brace would be taken for keywords.
        {"s", "sa", "x};pwd=secret", nullptr},
        {"s", "{s}a", "p", nullptr},
        {"s", "sa", "p} ", nullptr},
    };
    for (const auto& [server, user, password, login] : cases) {
        if (!login) {
            EXPECT_THROW(ConnectionString(server, "B", user, password), VelmarError);
            continue;
        }
        EXPECT_EQ(ConnectionString(server, "B", user, password),
                  login + u"driver={SQL Server};server="_s + server +
                      u";database=B;TDS_Version=7.4;port=1433"_s);
    }
    // A port or an instance given with the server is the only one.
    for (const char* server : {"db,1500", "db\\INST"})
        EXPECT_EQ(ConnectionString(server, "B", "u", "p"),
                  u"uid=u;pwd=p;driver={SQL Server};server="_s + server +
                      u";database=B;TDS_Version=7.4"_s);
}
