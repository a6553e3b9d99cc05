#include <gtest/gtest.h>
#include <sql.h>

#include "OdbcError.h"
#include "QStringPrinter.h"

using namespace Qt::StringLiterals;

TEST(OdbcError, PrincipalRecordIsTheFirstThatIsNotAWarning) {
    const DiagRecord print{u"01000"_s, 0, u"starting"_s};
    const DiagRecord truncated{u"01004"_s, 0, u"truncated"_s};
    const DiagRecord raised{u"42000"_s, 50000, u"boom"_s};
    // A class 42 state whose subclass happens to read "01": an error, not a warning.
    const DiagRecord exists{u"42S01"_s, 2714, u"There is already an object"_s};
    const struct {
        std::vector<DiagRecord> records;
        qint32 number;
        QString description;
    } cases[] = {
        {{print, raised}, 50000, raised.text},
        {{print, exists, raised}, 2714, exists.text},
        {{truncated, print}, 0, truncated.text},
        {{DiagRecord{u"01000"_s, 5701, u"context"_s}, print}, 5701, u"context"_s},
    };
    for (const auto& c : cases) {
        const OdbcError error(SQL_ERROR, c.records);
        EXPECT_EQ(error.Number(), c.number);
        EXPECT_EQ(error.Description(), c.description);
    }
    EXPECT_TRUE(OdbcError(SQL_INVALID_HANDLE, {}).Description().contains(u"-2"));
}
