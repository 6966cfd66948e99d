#include "fuzz/inputs/one_input.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <ostream>

namespace kalvero::fuzz {

// Test names and messages show the target by its name.
void PrintTo(const TFuzzTarget& target, std::ostream* out) {
    *out << target.Name;
}

namespace {

// The stored inputs of a fuzz target: its seed corpus and the inputs that once found a fault.
QStringList StoredInputs(const char* target) {
    QStringList files;
    const QString folder = QStringLiteral(KALVERO_FUZZ_CORPUS "/") + target;
    for (const QString& sub : {folder, folder + "/crashes"}) {
        const QDir dir(sub);
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            files << dir.filePath(name);
    }
    return files;
}

class FuzzReplayTest : public testing::TestWithParam<TFuzzTarget> {};

TEST_P(FuzzReplayTest, EveryStoredInputHolds) {
    const QStringList files = StoredInputs(GetParam().Name);
    ASSERT_FALSE(files.isEmpty()) << "no seed inputs for " << GetParam().Name;
    for (const QString& path : files) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray data = file.readAll();
        const std::string finding = GetParam().Input(
            reinterpret_cast<const std::uint8_t*>(data.constData()), std::size_t(data.size()));
        EXPECT_EQ(finding, "") << path.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplayTest, testing::ValuesIn(FuzzTargets),
                         [](const testing::TestParamInfo<TFuzzTarget>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
} // namespace kalvero::fuzz
