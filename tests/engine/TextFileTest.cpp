#include <gtest/gtest.h>

#include "QStringPrinter.h"
#include "TextFile.h"

TEST(TextFile, DecodesByByteOrderMarkElseUtf8ElseWindows1252) {
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray("\xEF\xBB\xBF"
                    "caf\xC3\xA9"),
         u"café"_qs},
        {QByteArray("\xFF\xFE"
                    "c\0\xE9\0\xAC\x20",
                    8),
         u"cé€"_qs},
        {QByteArray("\xFE\xFF"
                    "\0c\0\xE9\x20\xAC",
                    8),
         u"cé€"_qs},
        {QByteArray("caf\xC3\xA9 \xE2\x82\xAC"), u"café €"_qs},
        {QByteArray("caf\xE9 \x80 \x9C"), u"café € œ"_qs},
        {QByteArray(), QString()},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(DecodeText(bytes), text) << bytes.toHex().toStdString();
}

TEST(TextFile, ListLinesEndAtLineFeedWithTheirCarriageReturnRemoved) {
    const std::pair<QString, QStringList> cases[] = {
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {" a \t\r\n", {" a \t"}},
        {"a\rb\r", {"a\rb\r"}},
        {"", {""}},
        {"\n", {""}},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(SplitLines(text), lines) << text.toStdString();
}
