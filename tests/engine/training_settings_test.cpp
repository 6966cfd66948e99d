#include "engine/alertness_task.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/frame_source.h"
#include "engine/plain_settings_controls.h"
#include "engine/run_state.h"
#include "engine/sequence_timer.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "no_frames.h"
#include "platform/atomic_file.h"
#include "platform/random.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

namespace kalvero {
namespace {

using test::TNoFrames;

class TRecordingWindow final : public TSettingsWindow {
public:
    void UpdatePreviews() override { ++Previews; }
    void SetLabelSpeed(const QString& text) override { LabelSpeed = text; }
    void SetLabelNumberOfSprites(const QString& text) override { LabelCount = text; }
    void FocusMainWindow() override { ++Focus; }
    int Previews = 0, Focus = 0;
    QString LabelSpeed, LabelCount;
};

const char* const FactoryText =
    R"({"background_index":0,"sprite_index":0,"speed":5,"count":40,"showtime":0,)"
    R"("direction_index":0,"variance_index":0,"alertness_index":0,"verfolger":false,)"
    R"("show_timer":false})";

const char* const ChangedText =
    R"({"background_index":71,"sprite_index":14,"speed":20,"count":150,"showtime":30,)"
    R"("direction_index":1,"variance_index":1,"alertness_index":3,"verfolger":true,)"
    R"("show_timer":true})";

class TrainingSettingsTest : public ::testing::Test {
protected:
    TrainingSettingsTest() {
        Run.FRenderWidth = 800;
        Run.FRenderHeight = 600;
        Controls.FCount.OnChange = [this] { Settings.TrackBarNumberOfSpritesChange(); };
        Controls.FSpeed.OnChange = [this] { Settings.TrackBarSpeedChange(); };
    }
    QString Path(const char* name) const { return Dir.filePath(name); }

    TPlainSettingsControls Controls;
    TRunState Run;
    TSeededRandom Random{7};
    TNoFrames Frames{4};
    TCursorIdle Cursor;
    TSequenceTimer Sequence;
    TFollower Follower;
    TAlertnessTask Alertness;
    TSpriteField Field{Random, Frames, Controls, Run, {Cursor, Sequence, Follower, Alertness}};
    TRecordingWindow Window;
    TTrainingSettings Settings{Controls, Field, Alertness, Run, Window};
    QTemporaryDir Dir;
};

TEST_F(TrainingSettingsTest, FactoryStateInTableOrder) {
    EXPECT_EQ(Settings.SettingsSnapshot().toStdString(), FactoryText);
}

TEST_F(TrainingSettingsTest, EmptyObjectKeepsIntegersAndUnchecksBoth) {
    Settings.ApplySettingsText(ChangedText);
    Settings.ApplySettingsText("{}");
    QString expected = ChangedText;
    expected.replace("true", "false");
    EXPECT_EQ(Settings.SettingsSnapshot(), expected);
}

TEST_F(TrainingSettingsTest, WrongTypesSkipIntegersAndReadBooleansAsFalse) {
    Settings.ApplySettingsText(ChangedText);
    Settings.ApplySettingsText(
        R"({"speed":"3","count":12.5,"showtime":null,"direction_index":[0],"sprite_index":{},)"
        R"("verfolger":"true","show_timer":1,"unknown":5})");
    QString expected = ChangedText;
    expected.replace("true", "false");
    EXPECT_EQ(Settings.SettingsSnapshot(), expected);
}

TEST_F(TrainingSettingsTest, MembersInAnyOrderAndHugeNumbersClamp) {
    Settings.ApplySettingsText(
        R"({"show_timer":true,"count":99999999999999,"speed":-99999999999999,"verfolger":true})");
    EXPECT_EQ(Controls.TrackBarNumberOfSprites().Position(), 150);
    EXPECT_EQ(Controls.TrackBarSpeed().Position(), 1);
    EXPECT_TRUE(Controls.checkboxZeit().Checked());
    EXPECT_TRUE(Controls.checkboxVerfolger().Checked());
}

class IgnoredTextTest : public TrainingSettingsTest,
                        public ::testing::WithParamInterface<const char*> {};

TEST_P(IgnoredTextTest, ChangesNothing) {
    Settings.ApplySettingsText(ChangedText);
    const int previews = Window.Previews;
    Settings.ApplySettingsText(QString::fromUtf8(GetParam()));
    EXPECT_EQ(Settings.SettingsSnapshot().toStdString(), ChangedText);
    EXPECT_EQ(Window.Previews, previews);
}

INSTANTIATE_TEST_SUITE_P(Texts, IgnoredTextTest,
                         ::testing::Values("", "   \r\n\t  \n", "[{\"speed\":3}]", "42", "\"x\"",
                                           "null", "{\"speed\":3", "speed=3",
                                           "{\"speed\":3} trailing"));

TEST_F(TrainingSettingsTest, SurroundingControlCharactersAreTrimmed) {
    Settings.ApplySettingsText("\n\t {\"speed\":9} \r\n\x01");
    EXPECT_EQ(Controls.TrackBarSpeed().Position(), 9);
}

TEST_F(TrainingSettingsTest, ApplyOutsideARunRefreshesPreviewsLabelsAndWorkingCopies) {
    Settings.ApplySettingsText(ChangedText);
    EXPECT_EQ(Window.Previews, 1);
    EXPECT_EQ(Window.LabelSpeed, "Geschwindigkeit: 20");
    EXPECT_EQ(Window.LabelCount, "Anzahl der Sprites: 150");
    EXPECT_EQ(Field.CurrentBackgroundIndex, 71);
    EXPECT_EQ(Field.CurrentSpriteType, 14);
    EXPECT_EQ(Alertness.AlertnessVars.ActiveMode, 3);
    EXPECT_TRUE(Field.ActiveSprites.empty()); // no run: the field is left alone
    EXPECT_EQ(Field.MoveDirection, -1);
    EXPECT_EQ(Window.Focus, 0);
}

TEST_F(TrainingSettingsTest, ApplyDuringARunRebuildsTheField) {
    Run.IsRunning = true;
    Field.BackOffset = 33;
    Follower.VerfolgerObj = std::make_unique<TSpriteObj>(0, 0, 1.0, 1.0, 0);
    Settings.ApplySettingsText(
        R"({"speed":7,"count":12,"direction_index":1,"sprite_index":-1,"alertness_index":2})");
    EXPECT_EQ(Window.Previews, 0);
    EXPECT_EQ(Field.BackOffset, 0.0);
    EXPECT_EQ(Field.BaseSpeedFactor, 7.0);
    EXPECT_EQ(Field.MoveDirection, 1);
    EXPECT_EQ(Field.CurrentSpriteType, -1);
    EXPECT_EQ(Field.SpriteCount(), 12);
    EXPECT_EQ(Follower.VerfolgerObj, nullptr);
    EXPECT_EQ(Alertness.AlertnessVars.ActiveMode, 2);
    for (const auto& sprite : Field.ActiveSprites)
        EXPECT_EQ(sprite->FrameIndex, 0); // no stimulus set: one frame
}

TEST_F(TrainingSettingsTest, ChangeHandlersDuringARunUpdateTheField) {
    Run.IsRunning = true;
    Field.RebuildSprites();
    Controls.TrackBarSpeed().SetPosition(10);
    EXPECT_EQ(Field.BaseSpeedFactor, 10.0);
    EXPECT_EQ(Window.LabelSpeed, "Geschwindigkeit: 10");
    for (const auto& sprite : Field.ActiveSprites)
        EXPECT_EQ(sprite->SpeedPxPerSec, 400.0);
    Controls.TrackBarNumberOfSprites().SetPosition(45);
    EXPECT_EQ(Field.SpriteCount(), 45);
    EXPECT_EQ(Window.LabelCount, "Anzahl der Sprites: 45");
    Controls.RadioGroupSameSpeed().SetItemIndex(1);
    Settings.RadioGroupSameSpeedClick();
    bool varied = false;
    for (const auto& sprite : Field.ActiveSprites)
        varied = varied || sprite->SpeedPxPerSec != 400.0;
    EXPECT_TRUE(varied);
    EXPECT_EQ(Window.Focus, 3);
}

TEST_F(TrainingSettingsTest, ProfileRoundTripIsExactAndCarriesABom) {
    Settings.ApplySettingsText(R"({"background_index":12,"sprite_index":3,"speed":13,"count":85,)"
                               R"("showtime":25,"direction_index":1,"variance_index":1,)"
                               R"("alertness_index":2,"verfolger":true,"show_timer":false})");
    const QString first = Path("a.json");
    Settings.SaveSettingsFile(first);
    QByteArray written;
    ASSERT_TRUE(ReadWholeFile(first, written));
    EXPECT_EQ(written, Utf8Bom() + Settings.SettingsSnapshot().toUtf8());

    TPlainSettingsControls other;
    TRunState otherRun;
    TSpriteField otherField{
        Random, Frames, other, otherRun, {Cursor, Sequence, Follower, Alertness}};
    TRecordingWindow otherWindow;
    TTrainingSettings reader{other, otherField, Alertness, otherRun, otherWindow};
    reader.LoadSettingsFile(first);
    EXPECT_EQ(reader.SettingsSnapshot(), Settings.SettingsSnapshot());
    const QString second = Path("b.json");
    reader.SaveSettingsFile(second);
    QByteArray rewritten;
    ASSERT_TRUE(ReadWholeFile(second, rewritten));
    EXPECT_EQ(rewritten, written);
}

TEST_F(TrainingSettingsTest, LoadReadsFilesWithAndWithoutBom) {
    WriteFileAtomic(Path("bom.json"), Utf8Bom() + QByteArray(R"({"speed":17})"));
    Settings.LoadSettingsFile(Path("bom.json"));
    EXPECT_EQ(Controls.TrackBarSpeed().Position(), 17);
    WriteFileAtomic(Path("plain.json"), QByteArray(R"( {"speed":3} )"));
    Settings.LoadSettingsFile(Path("plain.json"));
    EXPECT_EQ(Controls.TrackBarSpeed().Position(), 3);
}

TEST_F(TrainingSettingsTest, MissingFileDoesNothingUnreadableOneRaises) {
    Settings.LoadSettingsFile(Path("missing.json"));
    EXPECT_EQ(Window.Previews, 0);
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.json"));
    EXPECT_THROW(Settings.LoadSettingsFile(Path("folder.json")), TReadError);
    EXPECT_THROW(Settings.SaveSettingsFile(Path("folder.json")), TWriteError);
}

TEST_F(TrainingSettingsTest, JsonObjectOverloadsAgree) {
    Settings.ApplySettingsJson(nlohmann::json::parse(ChangedText));
    EXPECT_EQ(Settings.SettingsSnapshot().toStdString(), ChangedText);
    Settings.ApplySettingsJson(nlohmann::ordered_json::parse(FactoryText));
    EXPECT_EQ(Settings.SettingsToJson(), nlohmann::ordered_json::parse(FactoryText));
}

TEST(LabelTextTest, Labels) {
    EXPECT_EQ(SpeedLabelText(5), "Geschwindigkeit: 5");
    EXPECT_EQ(NumberOfSpritesLabelText(40), "Anzahl der Sprites: 40");
    EXPECT_EQ(DarbietungszeitLabelText(0), "Darbietungszeit in min: unbegrenzt");
    EXPECT_EQ(DarbietungszeitLabelText(25), "Darbietungszeit in min: 25");
}

TEST(SpriteNamesTest, FifteenSetsInComboOrder) {
    ASSERT_EQ(SpriteNames().size(), 15);
    EXPECT_EQ(SpriteNames().front(), "Hummel");
    EXPECT_EQ(SpriteNames()[12], QString::fromUtf8("Heißluftballons"));
    EXPECT_EQ(SpriteNames().back(), "Blumenrad");
}

} // namespace
} // namespace kalvero
