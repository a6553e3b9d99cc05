#include "OdbcError.h"
#include "QStringPrinter.h"

#include <sql.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const DiagRecord Print{u"01000"_s, 0, u"[FreeTDS][SQL Server]starting"_s};
const DiagRecord Truncated{u"01004"_s, 0, u"[FreeTDS][SQL Server]String data, right truncated"_s};
const DiagRecord Raised{u"42000"_s, 50000, u"[FreeTDS][SQL Server]boom"_s};
// A class 42 state whose subclass happens to read "01": an error, not a warning.
const DiagRecord TableExists{u"42S01"_s, 2714,
                             u"[FreeTDS][SQL Server]There is already an object"_s};

}  // namespace

TEST(OdbcError, PrincipalRecordIsTheFirstThatIsNotAWarning) {
    const OdbcError printFirst(SQL_ERROR, {Print, Raised});
    EXPECT_EQ(printFirst.Number(), 50000);
    EXPECT_EQ(printFirst.Description(), Raised.text);
    EXPECT_STREQ(printFirst.what(), "[FreeTDS][SQL Server]boom");

    const OdbcError errorFirst(SQL_ERROR, {Raised, Print, Truncated});
    EXPECT_EQ(errorFirst.Number(), 50000);
    EXPECT_EQ(errorFirst.Description(), Raised.text);

    const OdbcError twoErrors(SQL_ERROR, {Print, TableExists, Raised});
    EXPECT_EQ(twoErrors.Number(), 2714);
    EXPECT_EQ(twoErrors.Description(), TableExists.text);
}

TEST(OdbcError, OnlyWarningsMakeTheFirstRecordPrincipal) {
    const OdbcError error(SQL_ERROR, {Truncated, Print});
    EXPECT_EQ(error.Number(), 0);
    EXPECT_EQ(error.Description(), Truncated.text);

    const OdbcError numbered(SQL_ERROR, {DiagRecord{u"01000"_s, 5701, u"context"_s}, Print});
    EXPECT_EQ(numbered.Number(), 5701);
    EXPECT_EQ(numbered.Description(), u"context"_s);
}

TEST(OdbcError, WithoutRecordsTheDescriptionNamesTheReturnCode) {
    const OdbcError failed(SQL_ERROR, {});
    EXPECT_EQ(failed.Number(), 0);
    EXPECT_TRUE(failed.Description().contains(u"-1")) << failed.what();
    EXPECT_TRUE(failed.Records().empty());

    const OdbcError invalid(SQL_INVALID_HANDLE, {});
    EXPECT_TRUE(invalid.Description().contains(u"-2")) << invalid.what();
    EXPECT_NE(invalid.Description(), failed.Description());
}

TEST(OdbcError, KeepsEveryRecordInOrderAndIsAVelmarError) {
    try {
        throw OdbcError(SQL_ERROR, {Print, Raised, Truncated});
    } catch (const VelmarError& error) {
        const auto* odbc = dynamic_cast<const OdbcError*>(&error);
        ASSERT_NE(odbc, nullptr);
        const std::vector<DiagRecord>& records = odbc->Records();
        ASSERT_EQ(records.size(), 3u);
        const DiagRecord expected[] = {Print, Raised, Truncated};
        for (size_t i = 0; i < records.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(records[i].sqlState, expected[i].sqlState);
            EXPECT_EQ(records[i].native, expected[i].native);
            EXPECT_EQ(records[i].text, expected[i].text);
        }
        EXPECT_EQ(error.Number(), 50000);
    }
}
