#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CCollection.h"
#include "QStringPrinter.h"

namespace {

using Strings = CCollection<QString>;

auto Raises(qint32 number) {
    return testing::Throws<VelmarError>(testing::Property(&VelmarError::Number, number));
}

QString Contents(const Strings& c) { return QStringList(c.begin(), c.end()).join(u' '); }

}  // namespace

TEST(CCollection, KeysIgnoreLetterCaseAccentsIncludedAndAbsentItemsAreEmpty) {
    Strings c;
    c.Add("first", QStringLiteral("Éclair.SQL"));
    EXPECT_EQ(c.Item(QStringLiteral("éclair.sql")), u"first");
    EXPECT_FALSE(c.IncludesKey(QStringLiteral("eclair.sql")));
    EXPECT_THAT([&] { c.Add("second", QStringLiteral("éCLAIR.SQL")); },
                Raises(VelmarError::DuplicateKey));
    EXPECT_EQ(c.AddIfAbsent("third", QStringLiteral("ÉCLAIR.sql")), u"first");
    EXPECT_EQ(c.AddIfAbsent("", QString()), u"");  // an empty key is an ordinary key
    EXPECT_EQ(c.AddIfAbsent("other", QString()), u"");
    EXPECT_EQ(Contents(c), u"first ");
    for (const Strings::Ref& absent : {Strings::Ref(qsizetype(0)), Strings::Ref(qsizetype(3)),
                                       Strings::Ref(QStringLiteral("x"))})
        EXPECT_TRUE(c.Item(absent).isNull());
}

TEST(CCollection, InsertAndRemoveKeepKeysOnTheirElements) {
    Strings c;
    c.Add("a", QStringLiteral("ka"));
    c.Add("c", QStringLiteral("kc"));
    c.Add("b", QStringLiteral("kb"), Strings::Ref(QStringLiteral("kc")));
    c.Add("d", std::nullopt, std::nullopt, Strings::Ref(qsizetype(3)));
    c.Add("0", std::nullopt, Strings::Ref(qsizetype(1)));
    EXPECT_EQ(Contents(c), u"0 a b c d");
    EXPECT_THAT([&] { c.Add("z", std::nullopt, Strings::Ref(qsizetype(9))); },
                Raises(VelmarError::InvalidArgument));
    c.Remove(qsizetype(1));
    c.Remove(QStringLiteral("KB"));
    EXPECT_EQ(Contents(c), u"a c d");
    EXPECT_EQ(c.Item(QStringLiteral("kc")), u"c");
    EXPECT_FALSE(c.IncludesKey(QStringLiteral("kb")));
    EXPECT_THAT([&] { c.Remove(QStringLiteral("kb")); }, Raises(VelmarError::InvalidArgument));
}
