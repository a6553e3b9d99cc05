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

TEST(CCollection, KeysIgnoreLetterCaseAccentsIncludedAndStayOnTheirElements) {
    Strings c;
    c.Add("a", QStringLiteral("Éclair.SQL"));
    EXPECT_FALSE(c.IncludesKey(QStringLiteral("eclair.sql")));
    EXPECT_THAT([&] { c.Add("x", QStringLiteral("éCLAIR.SQL")); },
                Raises(VelmarError::DuplicateKey));
    EXPECT_EQ(c.AddIfAbsent("x", QStringLiteral("ÉCLAIR.sql")), u"a");
    EXPECT_EQ(c.AddIfAbsent("", QString()), u"");  // an empty key is an ordinary key
    EXPECT_EQ(c.AddIfAbsent("x", QString()), u"");
    c.Add("c", QStringLiteral("kc"));
    c.Add("b", QStringLiteral("kb"), Strings::Ref(QStringLiteral("kc")));
    c.Add("d", std::nullopt, std::nullopt, Strings::Ref(qsizetype(4)));
    c.Add("0", std::nullopt, Strings::Ref(qsizetype(1)));
    EXPECT_EQ(Contents(c), u"0 a  b c d");
    EXPECT_THAT([&] { c.Add("z", std::nullopt, Strings::Ref(qsizetype(9))); },
                Raises(VelmarError::InvalidArgument));
    c.Remove(qsizetype(1));
    c.Remove(QStringLiteral("KB"));
    EXPECT_EQ(Contents(c), u"a  c d");
    EXPECT_EQ(c.Item(QStringLiteral("éclair.sql")), u"a");
    EXPECT_EQ(c.Item(QStringLiteral("kc")), u"c");
    EXPECT_THAT([&] { c.Remove(QStringLiteral("kb")); }, Raises(VelmarError::InvalidArgument));
    for (const Strings::Ref& absent : {Strings::Ref(qsizetype(0)), Strings::Ref(qsizetype(5)),
                                       Strings::Ref(QStringLiteral("x"))})
        EXPECT_TRUE(c.Item(absent).isNull());
}
