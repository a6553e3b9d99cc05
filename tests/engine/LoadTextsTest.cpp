#include <gtest/gtest.h>

#include "LoadTexts.h"
#include "QStringPrinter.h"

TEST(LoadTexts, WindowsLoginBlockEndsWithALineEndAndAnEmptyPasswordStaysEmpty) {
    const QDateTime time(QDate(2026, 1, 2), QTime(13, 4, 5));
    EXPECT_EQ(LoadTexts::ConnectionFailure(time, "srv", "Sales", "", ""),
              u"La connection suivante a échouée (02/01/2026 13:04:05) : \r\n    Serveur : srv\r\n"
              u"    Base : Sales\r\n");
    EXPECT_TRUE(LoadTexts::Header(time, "s", "b", "sa", "").endsWith(u"    Password : "));
}

// The log's own texts are checked end to end, times aside.
TEST(LoadTexts, ElapsedTimeIsInWholeSecondsHalvesGoingToTheEvenOne) {
    const std::pair<qint64, QString> cases[] = {
        {2500, "0h0m2s"}, {3500, "0h0m4s"}, {2501, "0h0m3s"}, {499, "0h0m0s"}, {3725500, "1h2m6s"}};
    for (const auto& [milliseconds, duration] : cases)
        EXPECT_EQ(LoadTexts::Duration(LoadTexts::ElapsedSeconds(milliseconds)), duration);
}
