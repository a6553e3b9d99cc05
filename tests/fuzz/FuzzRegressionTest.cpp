#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "FuzzChecks.h"

namespace {

struct SavedInput {
    QString (*check)(QByteArrayView);
    QString file;
};

void PrintTo(const SavedInput& input, std::ostream* out) { *out << input.file.toStdString(); }

// Every input kept under the fuzz corpus: the seeds and each one a fuzzer found at fault.
std::vector<SavedInput> SavedInputs() {
    const std::pair<const char*, QString (*)(QByteArrayView)> targets[] = {
        {"commandline", CheckCommandLine},
        {"splitter", CheckScriptSplitter},
        {"decoder", CheckDecodeText},
        {"listfile", CheckSplitLines}};
    std::vector<SavedInput> inputs;
    for (const auto& [name, check] : targets) {
        const QDir folder(QStringLiteral(VELMAR_FUZZ_CORPUS "/") + name);
        for (const QString& file : folder.entryList(QDir::Files))
            inputs.push_back({check, folder.filePath(file)});
    }
    return inputs;
}

class FuzzRegression : public ::testing::TestWithParam<SavedInput> {};

TEST_P(FuzzRegression, AgreesWithTheReference) {
    QFile file(GetParam().file);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(GetParam().check(file.readAll()).toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Saved, FuzzRegression, ::testing::ValuesIn(SavedInputs()));

}  // namespace
