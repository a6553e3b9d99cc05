#include <gtest/gtest.h>

#include "QStringPrinter.h"
#include "TextFile.h"

using namespace Qt::StringLiterals;

TEST(TextFile, DecodesByByteOrderMarkElseUtf8ElseWindows1252) {
    const std::pair<QByteArray, QString> cases[] = {
        {"\xEF\xBB\xBF"_ba + "caf\xC3\xA9", u"café"_s},
        {"\xFF\xFE"_ba + "c\0\xE9\0\xAC\x20"_ba, u"cé€"_s},
        {"\xFE\xFF"_ba + "\0c\0\xE9\x20\xAC"_ba, u"cé€"_s},
        {"caf\xC3\xA9 \xE2\x82\xAC"_ba, u"café €"_s},
        {"caf\xE9 \x80 \x9C"_ba, u"café € œ"_s},
        {QByteArray(), QString()},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(DecodeText(bytes), text) << bytes.toHex().toStdString();
}
