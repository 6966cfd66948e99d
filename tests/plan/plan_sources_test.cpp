#include "plan/plan_sources.h"

#include "plan_test_util.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kalvero;

namespace {

class SequenceSectionsTest : public testing::Test {
protected:
    QTemporaryDir FDir;

    QString Folder() const { return FDir.path() + '/'; }

    void Write(const QString& name, const QByteArray& content) {
        QFile file(Folder() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    TSequenceSections Read(const QByteArray& sequence) {
        Write("s.seq", sequence);
        return ReadSequenceSections(Folder() + "s.seq", Folder());
    }
};

TEST_F(SequenceSectionsTest, DurationsFollowTheIntegerRulesWithoutLowerBound) {
    Write("a.json", R"({"speed":1})");
    const TSequenceSections sections =
        Read(R"({"playlist":[{"file":"a.json","duration":"45"},{"file":"a.json","duration":0},)"
             R"({"file":"a.json","duration":-3},{"file":"a.json","duration":7.5},)"
             R"({"file":"a.json","duration":true},{"file":"a.json","duration":6e1}]})");
    ASSERT_EQ(sections.Items.size(), 6u);
    const std::vector<std::int32_t> expected{45, 0, -3, 30, 30, 60};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(sections.Items[i].Duration, expected[i]) << i;
    EXPECT_EQ(sections.Missing, 0);
}

TEST_F(SequenceSectionsTest, FileNamesWithUmlautsAreReadUnchanged) {
    Write(QString::fromUtf8("M\xC3\xBCller.json"), "\xEF\xBB\xBF{\"count\":10}");
    const TSequenceSections sections =
        Read("{\"playlist\":[{\"file\":\"M\xC3\xBCller.json\",\"duration\":20}]}");
    ASSERT_EQ(sections.Items.size(), 1u);
    EXPECT_EQ(sections.Items[0].Name, QString::fromUtf8("M\xC3\xBCller.json"));
    EXPECT_EQ(sections.Items[0].Settings, R"({"count":10})");
}

TEST_F(SequenceSectionsTest, CountsOnlyEntriesWhoseProfileIsUnusable) {
    Write("a.json", "{}");
    Write("list.json", "[]");
    QDir(FDir.path()).mkdir("folder.json");
    const TSequenceSections sections = Read(
        R"({"playlist":[{"file":"a.json"},{"file":"weg.json"},{"file":"list.json"},)"
        R"({"file":"folder.json"},{"file":""},{"file":3},{"file":null},{"name":"a.json"},"a.json",[]]})");
    EXPECT_EQ(sections.Items.size(), 1u);
    EXPECT_EQ(sections.Missing, 5); // "3" names no profile either
}

TEST_F(SequenceSectionsTest, MissingFileGivesNothing) {
    const TSequenceSections sections = ReadSequenceSections(Folder() + "none.seq", Folder());
    EXPECT_TRUE(sections.Items.empty());
    EXPECT_EQ(sections.Missing, 0);
}

} // namespace
