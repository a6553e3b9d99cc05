#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <random>

#include "FuzzChecks.h"

// Every input kept under the fuzz corpus (the seeds and each one a fuzzer found at fault),
// then random ones, through each check.
TEST(FuzzRegression, SavedAndRandomInputsAgreeWithTheReferences) {
    const std::pair<const char*, QString (*)(QByteArrayView)> checks[] = {
        {"commandline", CheckCommandLine},
        {"splitter", CheckScriptSplitter},
        {"decoder", CheckDecodeText},
        {"listfile", CheckSplitLines}};
    std::mt19937 random(20261206);
    for (const auto& [name, check] : checks) {
        const QDir folder(QStringLiteral(VELMAR_FUZZ_CORPUS "/") + name);
        for (const QString& file : folder.entryList(QDir::Files)) {
            QFile input(folder.filePath(file));
            ASSERT_TRUE(input.open(QIODevice::ReadOnly));
            EXPECT_EQ(check(input.readAll()).toStdString(), "") << input.fileName().toStdString();
        }
        for (int i = 0; i < 20000; ++i) {
            QByteArray bytes(random() % 48, Qt::Uninitialized);
            for (char& byte : bytes) byte = static_cast<char>(random());
            ASSERT_EQ(check(bytes).toStdString(), "") << name << ' ' << bytes.toHex().toStdString();
        }
    }
}
