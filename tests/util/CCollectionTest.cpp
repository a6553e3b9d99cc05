#include <gtest/gtest.h>

#include <vector>

#include "CCollection.h"

namespace {

using Strings = CCollection<QString>;

qint32 ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const VelmarError& error) {
        return error.Number();
    }
    return 0;
}

std::vector<QString> Contents(const Strings& collection) {
    return {collection.begin(), collection.end()};
}

}  // namespace

TEST(CCollection, ItemOfAbsentElementIsEmptyWithoutError) {
    Strings c;
    EXPECT_EQ(c.Count(), 0);
    EXPECT_TRUE(c.Item(1).isNull());
    c.Add(QStringLiteral("x"), QStringLiteral("k"));
    EXPECT_TRUE(c.Item(0).isNull());
    EXPECT_TRUE(c.Item(2).isNull());
    EXPECT_TRUE(c.Item(QStringLiteral("other")).isNull());
    EXPECT_EQ(c.Item(1), u"x");
}

TEST(CCollection, KeysIgnoreLetterCaseAccentedLettersIncluded) {
    Strings c;
    c.Add(QStringLiteral("first"), QStringLiteral("Éclair.SQL"));
    EXPECT_EQ(c.Item(QStringLiteral("éclair.sql")), u"first");
    EXPECT_TRUE(c.IncludesKey(QStringLiteral("ÉCLAIR.sql")));
    EXPECT_FALSE(c.IncludesKey(QStringLiteral("eclair.sql")));
    EXPECT_EQ(ErrorNumberOf([&] { c.Add(QStringLiteral("second"), QStringLiteral("éCLAIR.SQL")); }),
              VelmarError::DuplicateKey);
    EXPECT_EQ(Contents(c), std::vector<QString>{u"first"_qs});
}

TEST(CCollection, AddIfAbsentKeepsTheFirstValueAndAnswersIt) {
    Strings c;
    EXPECT_EQ(c.AddIfAbsent(QStringLiteral("x"), QStringLiteral("k")), u"x");
    EXPECT_EQ(c.AddIfAbsent(QStringLiteral("y"), QStringLiteral("K")), u"x");
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.Item(1), u"x");
}

TEST(CCollection, EmptyKeyIsAnOrdinaryKey) {
    Strings c;
    c.AddIfAbsent(QString(), QString());
    c.AddIfAbsent(QStringLiteral("other"), QString());
    EXPECT_EQ(c.Count(), 1);
    EXPECT_TRUE(c.IncludesKey(QString()));
}

TEST(CCollection, InsertBeforeAndAfterKeepKeysOnTheirElements) {
    Strings c;
    c.Add(QStringLiteral("a"), QStringLiteral("ka"));
    c.Add(QStringLiteral("c"), QStringLiteral("kc"));
    c.Add(QStringLiteral("b"), QStringLiteral("kb"), Strings::Ref(QStringLiteral("kc")));
    c.Add(QStringLiteral("d"), std::nullopt, std::nullopt, Strings::Ref(qsizetype(3)));
    c.Add(QStringLiteral("0"), std::nullopt, Strings::Ref(qsizetype(1)));
    EXPECT_EQ(Contents(c), (std::vector<QString>{u"0"_qs, u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs}));
    EXPECT_EQ(c.Item(QStringLiteral("kc")), u"c");
    EXPECT_EQ(c.Item(QStringLiteral("ka")), u"a");
    EXPECT_EQ(ErrorNumberOf(
                  [&] { c.Add(QStringLiteral("z"), std::nullopt, Strings::Ref(qsizetype(9))); }),
              VelmarError::InvalidArgument);
    EXPECT_EQ(c.Count(), 5);
}

TEST(CCollection, RemoveMovesLaterElementsUpAndFreesTheKey) {
    Strings c;
    c.Add(QStringLiteral("a"), QStringLiteral("ka"));
    c.Add(QStringLiteral("b"), QStringLiteral("kb"));
    c.Add(QStringLiteral("c"), QStringLiteral("kc"));
    c.Remove(qsizetype(1));
    EXPECT_EQ(c.Count(), 2);
    EXPECT_EQ(c.Item(1), u"b");
    EXPECT_EQ(c.Item(QStringLiteral("kc")), u"c");
    EXPECT_FALSE(c.IncludesKey(QStringLiteral("ka")));
    c.Remove(QStringLiteral("KB"));
    EXPECT_EQ(Contents(c), std::vector<QString>{u"c"_qs});
    c.Add(QStringLiteral("b2"), QStringLiteral("kb"));
    EXPECT_EQ(c.Item(QStringLiteral("kb")), u"b2");
    EXPECT_EQ(ErrorNumberOf([&] { c.Remove(QStringLiteral("absent")); }),
              VelmarError::InvalidArgument);
}
