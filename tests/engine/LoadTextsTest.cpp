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

TEST(LoadTexts, ElapsedSecondsRoundHalfToEven) {
    const std::pair<qint64, qint64> cases[] = {
        {2500, 2}, {3500, 4}, {3725500, 3726}, {2501, 3}, {499, 0}};
    for (const auto& [milliseconds, seconds] : cases)
        EXPECT_EQ(LoadTexts::ElapsedSeconds(milliseconds), seconds) << milliseconds;
}
