#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TextFile.h"
#include "VelmarError.h"

TEST(TextFile, ByteOrderMarkSelectsTheEncodingAndIsDropped) {
    EXPECT_EQ(DecodeText(QByteArray("\xEF\xBB\xBF"
                                    "caf\xC3\xA9")),
              u"café");
    EXPECT_EQ(DecodeText(QByteArray("\xFF\xFE"
                                    "c\0\xE9\0\xAC\x20",
                                    8)),
              u"cé€");
    EXPECT_EQ(DecodeText(QByteArray("\xFE\xFF"
                                    "\0c\0\xE9\x20\xAC",
                                    8)),
              u"cé€");
}

TEST(TextFile, ValidUtf8IsUtf8AndAnythingElseWindows1252) {
    EXPECT_EQ(DecodeText(QByteArray("caf\xC3\xA9 \xE2\x82\xAC")), u"café €");
    EXPECT_EQ(DecodeText(QByteArray("caf\xE9 \x80 \x9C")), u"café € œ");
    EXPECT_EQ(DecodeText(QByteArray()), u"");
}

TEST(TextFile, ListLinesEndAtLineFeedWithTheirCarriageReturnRemoved) {
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\nb\nc")), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\n\r\nb\r\n")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(SplitLines(QStringLiteral(" a \t\r\n")), (QStringList{" a \t"}));
    EXPECT_EQ(SplitLines(QStringLiteral("a\rb\r")), (QStringList{"a\rb\r"}));
    EXPECT_EQ(SplitLines(QString()), (QStringList{""}));
    EXPECT_EQ(SplitLines(QStringLiteral("\n")), (QStringList{""}));
}

TEST(TextFile, ReadFailuresTellWhetherTheFileIsMissing) {
    QTemporaryDir dir;
    try {
        ReadTextFile(dir.filePath(QStringLiteral("absent.sql")));
        FAIL() << "no error";
    } catch (const VelmarError& error) {
        EXPECT_EQ(error.Number(), VelmarError::FileNotFound);
        EXPECT_FALSE(error.Description().isEmpty());
    }
    QFile file(dir.filePath(QStringLiteral("a.sql")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("select 'd\xC3\xA9j\xC3\xA0'");
    file.close();
    EXPECT_EQ(ReadTextFile(file.fileName()), u"select 'déjà'");
}

TEST(TextFile, LargeFileIsReadWhole) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("large.sql")));
    const QByteArray text = QByteArray("select 'd\xC3\xA9j\xC3\xA0'\r\n").repeated(20000);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    EXPECT_EQ(ReadTextFile(file.fileName()), QString::fromUtf8(text));
}
