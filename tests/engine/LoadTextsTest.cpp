#include <gtest/gtest.h>

#include "LoadLog.h"
#include "LoadTexts.h"

namespace {

const QDateTime kTime(QDate(2026, 1, 2), QTime(13, 4, 5));

}  // namespace

TEST(LoadTexts, HeaderOfSqlLoginEndsWithTheMaskedPassword) {
    EXPECT_EQ(LoadTexts::Header(kTime, "srv", "Sales", "sa", "secret"),
              u"Déploiement (02/01/2026 13:04:05) : \r\n    Serveur : srv\r\n    Base : Sales\r\n"
              u"    User : sa\r\n    Password : ********");
}

TEST(LoadTexts, ConnectionFailureOfWindowsLoginEndsWithALineEnd) {
    EXPECT_EQ(LoadTexts::ConnectionFailure(kTime, "srv", "Sales", "", ""),
              u"La connection suivante a échouée (02/01/2026 13:04:05) : \r\n    Serveur : srv\r\n"
              u"    Base : Sales\r\n");
}

TEST(LoadTexts, EmptyPasswordIsWrittenAsNothing) {
    EXPECT_TRUE(LoadTexts::Header(kTime, "s", "b", "sa", "").endsWith(u"    Password : "));
}

TEST(LoadTexts, SummaryShowsRemainingOnlyWhenStopped) {
    EXPECT_EQ(LoadTexts::Summary(4, 1, 1, 2, 3726),
              u"Nbr de procédures : 4\r\nNbr de procédures chargées : 1\r\n"
              u"Nbr de procédures rejettées : 1\r\nNbr de procédures restantes à charger : 2\r\n"
              u"Temps de chargement : 1h2m6s");
    EXPECT_EQ(LoadTexts::Summary(0, 0, 0, std::nullopt, 0),
              u"Nbr de procédures : 0\r\nNbr de procédures chargées : 0\r\n"
              u"Nbr de procédures rejettées : 0\r\nTemps de chargement : 0h0m0s");
}

TEST(LoadTexts, ElapsedSecondsRoundHalfToEven) {
    EXPECT_EQ(LoadTexts::ElapsedSeconds(2500), 2);
    EXPECT_EQ(LoadTexts::ElapsedSeconds(3500), 4);
    EXPECT_EQ(LoadTexts::ElapsedSeconds(3725500), 3726);
    EXPECT_EQ(LoadTexts::ElapsedSeconds(2501), 3);
    EXPECT_EQ(LoadTexts::ElapsedSeconds(499), 0);
}

TEST(LoadLog, BlocksAndResultLinesEndWithCrLf) {
    const QString hyphens(62, u'-');
    EXPECT_EQ(LoadLog::FramedBlock("a\r\nb"), hyphens + "\r\na\r\nb\r\n" + hyphens + "\r\n");
    EXPECT_EQ(LoadLog::ResultLine(kTime, "x.sql\tRéussi"),
              u"02/01/2026 13:04:05 - x.sql\tRéussi\r\n");
    EXPECT_EQ(LoadLog::Timestamp(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))),
              u"31/12/2026 23:59:58");
}
