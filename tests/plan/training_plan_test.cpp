#include "plan/training_plan.h"

#include "plan_test_util.h"
#include "platform/atomic_file.h"
#include "users/data_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kalvero;

namespace {

const QByteArray kBom("\xEF\xBB\xBF");
const char* const kSettings = R"({"sprite_index":0,"count":30,"speed":5})";

class PlanFileTest : public testing::Test {
protected:
    QTemporaryDir FDir;

    QString Write(const QByteArray& content, const QString& name = QStringLiteral("p.kvplan")) {
        const QString path = FDir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QByteArray Read(const QString& path) {
        QByteArray data;
        EXPECT_TRUE(ReadWholeFile(path, data));
        return data;
    }

    // A plan whose fields all differ from the defaults, to see what a refused load keeps.
    static TTrainingPlan Marked() {
        TTrainingPlan plan;
        plan.Kind = pkSequence;
        plan.Name = "Alt";
        plan.Minutes = 7;
        plan.Patient = "Anna";
        plan.Locked = true;
        plan.Items.push_back({"a.json", 10, "{}"});
        return plan;
    }
};

class RefusedPlanFile : public PlanFileTest, public testing::WithParamInterface<const char*> {};

TEST_P(RefusedPlanFile, IsNoPlanAndKeepsTheFields) {
    TTrainingPlan plan = Marked();
    EXPECT_FALSE(plan.LoadFromFile(Write(GetParam())));
    EXPECT_EQ(plan.Kind, pkSequence);
    EXPECT_EQ(plan.Name, "Alt");
    EXPECT_EQ(plan.Minutes, 7);
    EXPECT_EQ(plan.Patient, "Anna");
    EXPECT_TRUE(plan.Locked);
    EXPECT_EQ(plan.Items.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedPlanFile,
                         testing::Values("", "kein JSON", "[1,2]", "\"text\"", "{}",
                                         R"({"kind":"profil","settings":{"speed":5}})",
                                         R"({"kalvero_plan":true,"settings":{"speed":5}})",
                                         R"({"kalvero_plan":"eins","settings":{"speed":5}})",
                                         R"({"kalvero_plan":1.5,"settings":{"speed":5}})",
                                         R"({"kalvero_plan":null,"settings":{"speed":5}})",
                                         R"({"kalvero_plan":[1],"settings":{"speed":5}})",
                                         R"({"kalvero_plan":1,"settings":{"speed":5})"));

TEST_F(PlanFileTest, AcceptsAnyWholeMarkerAndAByteOrderMark) {
    for (const char* marker : {"1", "\"1\"", "1.0", "\"7\"", "-3"}) {
        TTrainingPlan plan;
        EXPECT_TRUE(plan.LoadFromFile(
            Write(kBom + "{\"kalvero_plan\":" + marker + ",\"settings\":{\"speed\":5}}")))
            << marker;
    }
}

TEST_F(PlanFileTest, HostileFilesAreRefusedWithoutCrashing) {
    TTrainingPlan plan;
    const QByteArray deep = "{\"kalvero_plan\":1,\"settings\":" + QByteArray(200000, '[') + "}";
    EXPECT_FALSE(plan.LoadFromFile(Write(deep, "deep.kvplan")));
    const QByteArray deepObjects =
        "{\"kalvero_plan\":1,\"settings\":" + QByteArray(200000, '{').replace("{", "{\"a\":") +
        "1}";
    EXPECT_FALSE(plan.LoadFromFile(Write(deepObjects, "deep2.kvplan")));
    QByteArray huge = "{\"kalvero_plan\":1,\"settings\":{},\"note\":\"";
    huge += QByteArray(5 * 1024 * 1024, 'x') + "\"}";
    EXPECT_FALSE(plan.LoadFromFile(Write(huge, "huge.kvplan")));
    EXPECT_FALSE(plan.LoadFromFile(FDir.filePath("missing.kvplan")));
    EXPECT_FALSE(plan.LoadFromFile(FDir.path()));
    EXPECT_TRUE(plan.Note.isEmpty());
}

TEST_F(PlanFileTest, WrongMemberTypesTakeDefaults) {
    TTrainingPlan plan = Marked();
    EXPECT_TRUE(plan.LoadFromFile(
        Write(R"({"kalvero_plan":1,"patient":["x"],"therapist":{},"created":false,"note":null,)"
              R"("minutes":"viele","locked":1,"searchtest":"true","name":42,"kind":7,)"
              R"("settings":{"speed":5},"items":{"a":1}})")));
    EXPECT_EQ(plan.Kind, pkProfile);
    EXPECT_EQ(plan.Patient, "");
    EXPECT_EQ(plan.Therapist, "");
    EXPECT_EQ(plan.Created, "");
    EXPECT_EQ(plan.Note, "");
    EXPECT_EQ(plan.Minutes, 0);
    EXPECT_FALSE(plan.Locked);
    EXPECT_FALSE(plan.SearchTest);
    EXPECT_EQ(plan.Name, "42");
    EXPECT_TRUE(plan.Items.empty());
}

TEST_F(PlanFileTest, LockedOnlyForLiteralTrue) {
    for (const auto& [value, expected] : std::vector<std::pair<const char*, bool>>{
             {"true", true}, {"1", false}, {"\"true\"", false}, {"false", false}}) {
        TTrainingPlan plan;
        ASSERT_TRUE(
            plan.LoadFromFile(Write(QByteArray(R"({"kalvero_plan":1,"settings":{},)") +
                                    "\"locked\":" + value + ",\"searchtest\":" + value + "}")));
        EXPECT_EQ(plan.Locked, expected) << value;
        EXPECT_EQ(plan.SearchTest, expected) << value;
    }
}

TEST_F(PlanFileTest, KindIsSequenceOnlyForSequenzInAnyCase) {
    for (const auto& [kind, expected] :
         std::vector<std::pair<const char*, TPlanKind>>{{R"("kind":"SEQUENZ",)", pkSequence},
                                                        {R"("kind":"Sequenz",)", pkSequence},
                                                        {R"("kind":"sequence",)", pkProfile},
                                                        {R"("kind":"profile",)", pkProfile},
                                                        {"", pkProfile}}) {
        TTrainingPlan plan;
        plan.LoadFromFile(Write(QByteArray(R"({"kalvero_plan":1,)") + kind +
                                R"("items":[{"settings":{}}],"settings":{}})"));
        EXPECT_EQ(plan.Kind, expected) << kind;
    }
}

TEST_F(PlanFileTest, SectionsNeedSettingsAndHaveAtLeastFiveSeconds) {
    TTrainingPlan plan;
    ASSERT_TRUE(
        plan.LoadFromFile(Write(R"({"kalvero_plan":1,"kind":"sequenz","name":"Reihe","items":[)"
                                R"({"name":"a.json","duration":2,"settings":{"speed":3}},)"
                                R"({"name":"b.json","settings":{}},)"
                                R"({"name":"c.json","duration":"90","settings":{"count":10}},)"
                                R"({"name":"d.json","duration":-4,"settings":{}},)"
                                R"({"name":"skip.json","duration":30},)"
                                R"({"name":"skip2.json","settings":"{\"speed\":5}"},)"
                                R"(17,"x",null,)"
                                R"({"duration":6e1,"settings":{}}]})")));
    ASSERT_EQ(plan.Items.size(), 5u);
    EXPECT_EQ(plan.Items[0].Name, "a.json");
    EXPECT_EQ(plan.Items[0].Duration, 5);
    EXPECT_EQ(plan.Items[0].Settings, R"({"speed":3})");
    EXPECT_EQ(plan.Items[1].Duration, 60);
    EXPECT_EQ(plan.Items[2].Duration, 90);
    EXPECT_EQ(plan.Items[3].Duration, 5);
    EXPECT_EQ(plan.Items[4].Name, "");
    EXPECT_EQ(plan.Items[4].Duration, 60);
}

TEST_F(PlanFileTest, PlansThatCannotBeTrainedLoadAsInvalid) {
    TTrainingPlan profile;
    EXPECT_FALSE(profile.LoadFromFile(Write(R"({"kalvero_plan":1,"minutes":25,"note":"n"})")));
    EXPECT_EQ(profile.Minutes, 25);
    EXPECT_EQ(profile.Note, "n");
    EXPECT_FALSE(profile.Valid());

    TTrainingPlan sequence;
    EXPECT_FALSE(sequence.LoadFromFile(
        Write(R"({"kalvero_plan":1,"kind":"sequenz","items":[{"name":"a"},{"settings":5}]})")));
    EXPECT_EQ(sequence.Kind, pkSequence);
    EXPECT_TRUE(sequence.Items.empty());
}

TEST_F(PlanFileTest, LoadPlanFileGivesNoneForMissingOrInvalidFiles) {
    EXPECT_EQ(LoadPlanFile(FDir.filePath("none.kvplan")), nullptr);
    EXPECT_EQ(LoadPlanFile(Write(R"({"kalvero_plan":1})")), nullptr);
    const auto plan = LoadPlanFile(Write(R"({"kalvero_plan":1,"settings":{"speed":9}})"));
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->Settings, R"({"speed":9})");
}

TEST_F(PlanFileTest, WritesEveryMemberInOrderEscapedAsAscii) {
    TTrainingPlan plan;
    plan.Patient = QString::fromUtf8("M\xC3\xBCller \xF0\x9F\x98\x80 /\t");
    plan.Therapist = "Frau \"Berg\"\\";
    plan.Created = "08.12.2026";
    plan.Note = "Zeile 1\r\nZeile 2";
    plan.Minutes = 20;
    plan.Locked = true;
    plan.Settings = QString::fromUtf8("{ \"sprite_index\": 12, \"x\": \"\xC3\x9F\" }");
    const QString path = FDir.filePath("a/b/plan.kvplan");
    plan.SaveToFile(path);
    EXPECT_EQ(Read(path), kBom + R"({"kalvero_plan":1,"patient":"M\u00FCller \uD83D\uDE00 /\t",)"
                                 R"("therapist":"Frau \"Berg\"\\","created":"08.12.2026",)"
                                 R"("note":"Zeile 1\r\nZeile 2","minutes":20,"locked":true,)"
                                 R"("searchtest":false,"name":"","kind":"profil",)"
                                 R"("settings":{"sprite_index":12,"x":"\u00DF"}})");
}

TEST_F(PlanFileTest, SequencePlanWritesItemsOnlyWithObjectSettings) {
    TTrainingPlan plan;
    plan.Kind = pkSequence;
    plan.Name = "Reihe";
    plan.Settings = R"({"speed":1})";
    plan.Items = {{"a.json", 90, R"({"speed":2})"},
                  {"bad.json", 30, "kein JSON"},
                  {"c.json", 3, "[]"},
                  {"d.json", 45, "{}"}};
    const QString path = FDir.filePath("seq.kvplan");
    plan.SaveToFile(path);
    EXPECT_EQ(Read(path),
              kBom + R"({"kalvero_plan":1,"patient":"","therapist":"","created":"","note":"",)"
                     R"("minutes":0,"locked":false,"searchtest":false,"name":"Reihe",)"
                     R"("kind":"sequenz","items":[{"name":"a.json","duration":90,)"
                     R"("settings":{"speed":2}},{"name":"d.json","duration":45,"settings":{}}]})");
}

TEST_F(PlanFileTest, ProfileSettingsThatAreNoObjectAreLostOnSaving) {
    TTrainingPlan plan;
    plan.Settings = "[1,2]";
    plan.Items = {{"a.json", 90, "{}"}};
    const QString path = FDir.filePath("p.kvplan");
    plan.SaveToFile(path);
    EXPECT_FALSE(Read(path).contains("settings"));
    EXPECT_FALSE(Read(path).contains("items"));
    TTrainingPlan loaded;
    EXPECT_FALSE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Settings, "");
}

TEST_F(PlanFileTest, SavingAndLoadingKeepsEveryField) {
    TTrainingPlan profile;
    profile.Name = QString::fromUtf8("Profil \xC3\xA4");
    profile.Settings = R"({"background_index":3,"sprite_index":1,"verfolger":true})";
    profile.Minutes = -2;
    profile.Therapist = "Herr Kern";
    profile.Patient = QString::fromUtf8("J\xC3\xBCrgen \xF0\x9F\x98\x80");
    profile.Note = "Bitte\r\ntäglich\t\x01 üben";
    profile.Locked = true;
    profile.SearchTest = true;
    profile.Created = "01.02.2026";

    TTrainingPlan sequence = profile;
    sequence.Kind = pkSequence;
    sequence.Settings.clear();
    sequence.Items = {{"a.json", 90, R"({"speed":2})"}, {QString::fromUtf8("ü.json"), 45, "{}"}};

    for (const TTrainingPlan& original : {profile, sequence}) {
        const QString path = FDir.filePath("roundtrip.kvplan");
        original.SaveToFile(path);
        TTrainingPlan loaded;
        ASSERT_TRUE(loaded.LoadFromFile(path));
        EXPECT_EQ(loaded.Kind, original.Kind);
        EXPECT_EQ(loaded.Name, original.Name);
        EXPECT_EQ(loaded.Settings, original.Settings);
        EXPECT_EQ(loaded.Minutes, original.Minutes);
        EXPECT_EQ(loaded.Therapist, original.Therapist);
        EXPECT_EQ(loaded.Patient, original.Patient);
        EXPECT_EQ(loaded.Note, original.Note);
        EXPECT_EQ(loaded.Locked, original.Locked);
        EXPECT_EQ(loaded.SearchTest, original.SearchTest);
        EXPECT_EQ(loaded.Created, original.Created);
        ASSERT_EQ(loaded.Items.size(), original.Items.size());
        for (size_t i = 0; i < loaded.Items.size(); ++i) {
            EXPECT_EQ(loaded.Items[i].Name, original.Items[i].Name);
            EXPECT_EQ(loaded.Items[i].Duration, original.Items[i].Duration);
            EXPECT_EQ(loaded.Items[i].Settings, original.Items[i].Settings);
        }
        // Saving what was loaded gives the same bytes again.
        const QByteArray first = Read(path);
        loaded.SaveToFile(path);
        EXPECT_EQ(Read(path), first);
    }
}

// Regression: a lone surrogate in a text was written as a \u escape no reader accepts.
TEST_F(PlanFileTest, LoneSurrogatesAreSavedAsReplacementCharacters) {
    TTrainingPlan plan;
    plan.Settings = "{}";
    plan.Note =
        QString("a") + QChar(0xD83D) + "b" + QChar(0xDE00) + QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString path = FDir.filePath("s.kvplan");
    plan.SaveToFile(path);
    EXPECT_TRUE(Read(path).contains(R"("note":"a\uFFFDb\uFFFD\uD83D\uDE00")"));
    TTrainingPlan loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Note, QString("a") + QChar(0xFFFD) + "b" + QChar(0xFFFD) +
                               QString::fromUtf8("\xF0\x9F\x98\x80"));
}

TEST_F(PlanFileTest, SavingOverAFolderRaisesWriteErrorAndKeepsTheFolder) {
    QDir(FDir.path()).mkdir("taken.kvplan");
    TTrainingPlan plan;
    plan.Settings = "{}";
    EXPECT_THROW(plan.SaveToFile(FDir.filePath("taken.kvplan")), TWriteError);
    EXPECT_TRUE(QFileInfo(FDir.filePath("taken.kvplan")).isDir());
}

TEST(PlanSummary, SequenceLineCountsSectionsAndOneRound) {
    TTrainingPlan plan;
    plan.Kind = pkSequence;
    plan.Name = "Reihe %1";
    plan.Items = {{"a.json", 90, "{}"}, {"b.json", 45, "{}"}};
    EXPECT_EQ(plan.Summary(), "Sequenz \"Reihe %1\" mit 2 Abschnitten (ein Umlauf 2:15 min)\r\n"
                              "Trainingszeit: ohne Begrenzung");
    plan.Items = {{"a", 60, "{}"}, {"b", 60, "{}"}, {"c", 60, "{}"}};
    EXPECT_TRUE(plan.Summary().startsWith("Sequenz \"Reihe %1\" mit 3 Abschnitten "
                                          "(ein Umlauf 3:00 min)\r\n"));
}

TEST(PlanSummary, ProfileLineNamesTheProfileWhenNamed) {
    TTrainingPlan plan;
    plan.Settings = R"({"sprite_index":3,"count":30})";
    plan.Minutes = 25;
    EXPECT_EQ(plan.Summary(), "Schmetterling 2, 30 Reize\r\nTrainingszeit: 25 Minuten");
    plan.Name = "Abend";
    EXPECT_EQ(plan.Summary(), "Profil \"Abend\": Schmetterling 2, 30 Reize\r\n"
                              "Trainingszeit: 25 Minuten");
}

struct TCreatedCase {
    const char* Created;
    const char* Therapist;
    const char* Line; // nullptr: no line
};

void PrintTo(const TCreatedCase& c, std::ostream* os) {
    *os << '[' << c.Created << '|' << c.Therapist << ']';
}

class CreatedLine : public testing::TestWithParam<TCreatedCase> {};

TEST_P(CreatedLine, IsTrimmedAndOnlyThereWithDateOrTherapist) {
    TTrainingPlan plan;
    plan.Settings = "{}";
    plan.Created = GetParam().Created;
    plan.Therapist = GetParam().Therapist;
    const QStringList lines = plan.Summary().split("\r\n");
    if (GetParam().Line == nullptr) {
        EXPECT_EQ(lines.size(), 2);
    } else {
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[2], GetParam().Line);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreatedLine,
    testing::Values(TCreatedCase{"08.12.2026", "", "Erstellt am 08.12.2026"},
                    TCreatedCase{"", "Frau Berg", "Erstellt von Frau Berg"},
                    TCreatedCase{"08.12.2026", "Frau Berg", "Erstellt am 08.12.2026 von Frau Berg"},
                    TCreatedCase{"", " ", "Erstellt von"}, TCreatedCase{"", "", nullptr}));

TEST(PlanSummary, FlagsAndNoteLines) {
    TTrainingPlan plan;
    plan.Settings = R"({"sprite_index":0})";
    plan.Locked = true;
    plan.SearchTest = true;
    plan.Note = "  \r\n Bitte langsam.\r\nDanke \t\n";
    EXPECT_EQ(plan.Summary(), "Hummel\r\nTrainingszeit: ohne Begrenzung\r\n"
                              "In der Patientenversion wird nur nach diesem Plan trainiert.\r\n"
                              "Vor und nach dem Training: kurze Suchaufgabe.\r\n"
                              "\r\n"
                              "Hinweis: Bitte langsam.\r\nDanke");
    plan.Note = " \t\r\n  ";
    plan.Locked = false;
    plan.SearchTest = false;
    EXPECT_EQ(plan.Summary(), "Hummel\r\nTrainingszeit: ohne Begrenzung");
}

struct TSettingsCase {
    const char* Json;
    const char* Summary;
};

void PrintTo(const TSettingsCase& c, std::ostream* os) {
    *os << c.Json;
}

class SettingsSummaryTest : public testing::TestWithParam<TSettingsCase> {};

TEST_P(SettingsSummaryTest, DescribesSixMembers) {
    EXPECT_EQ(SettingsSummary(QString::fromUtf8(GetParam().Json)),
              QString::fromUtf8(GetParam().Summary));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsSummaryTest,
    testing::Values(
        TSettingsCase{R"({"sprite_index":0,"count":30,"speed":5,"direction_index":1,)"
                      R"("alertness_index":2,"verfolger":true})",
                      "Hummel, 30 Reize, Geschwindigkeit 5, nach rechts, Alertness Papierdrache, "
                      "Verfolger"},
        TSettingsCase{R"({"verfolger":true,"speed":"7","count":40,"sprite_index":12})",
                      "Heißluftballons, 40 Reize, Geschwindigkeit 7, Verfolger"},
        TSettingsCase{R"({"sprite_index":15,"count":30,"direction_index":0})",
                      "30 Reize, nach links"},
        TSettingsCase{R"({"sprite_index":-1,"alertness_index":1})", "Alertness Stern"},
        TSettingsCase{R"({"alertness_index":3,"direction_index":-2})",
                      "nach rechts, Alertness Smiley"},
        TSettingsCase{R"({"alertness_index":0,"verfolger":"true","speed":2.5})", ""},
        TSettingsCase{R"({"alertness_index":4,"sprite_index":14})", "Blumenrad"},
        TSettingsCase{"{}", ""}, TSettingsCase{"[1]", ""}, TSettingsCase{"", ""},
        TSettingsCase{"kein JSON", ""}));

TEST(TrimLowCodes, RemovesCodesUpTo32AtBothEnds) {
    EXPECT_EQ(TrimLowCodes(QString("\x01 \t a b \r\n\x1F")), "a b");
    EXPECT_EQ(TrimLowCodes(QString(QChar(0xA0)) + "a"), QString(QChar(0xA0)) + "a");
    EXPECT_EQ(TrimLowCodes(" \r\n"), "");
}

} // namespace

namespace {

TEST(StoredPlan, IsTheUsersPlanFileInThePlansFolder) {
    QTemporaryDir dir;
    OverrideDataFolder(dir.path());
    EXPECT_EQ(LoadStoredPlan("Anna"), nullptr);
    EXPECT_EQ(LoadStoredPlan(" \t"), nullptr);

    TTrainingPlan plan;
    plan.Settings = R"({"speed":4})";
    plan.Patient = "Anna";
    plan.SaveToFile(GetUserPlanFile("Anna"));
    const auto stored = LoadStoredPlan("Anna");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->Settings, plan.Settings);
    EXPECT_TRUE(GetUserPlanFile("Anna").startsWith(GetPlansFolder()));

    // A file that is there but cannot be trained counts as no plan.
    TTrainingPlan empty;
    empty.SaveToFile(GetUserPlanFile("Anna"));
    EXPECT_EQ(LoadStoredPlan("Anna"), nullptr);
    OverrideDataFolder(QString());
}

} // namespace
