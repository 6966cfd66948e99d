#include "sequence_fixture.h"

#include "engine/frame_composer.h"
#include "engine/frame_loop.h"
#include "engine/image_catalogue.h"
#include "engine/program_settings.h"
#include "platform/clock.h"
#include "platform/refresh_wait.h"

#include <gtest/gtest.h>

#include <vector>

namespace kalvero {
namespace {

using test::TSequenceRig;

constexpr double Frame = 1.0 / 16; // seconds per simulated frame, exact in binary

class SequencePlayerTest : public ::testing::Test, protected TSequenceRig {
protected:
    // Plays a playlist as a sequence load does once the run has started.
    void Play(TPlaylist playlist) {
        RunState.IsRunning = true;
        Player.SetPlaylist(std::move(playlist), ProfilesFolder());
        Player.StartPlaylist();
        Player.NextSequenceEntry();
    }
    // The speed shown in the middle of each of `count` spans of `spanSeconds` of active time.
    std::vector<int> SpeedsPerSpan(double spanSeconds, int count) {
        std::vector<int> speeds;
        const int framesPerSpan = static_cast<int>(spanSeconds / Frame + 0.5);
        for (int span = 0; span < count; ++span) {
            Steps(framesPerSpan / 2);
            speeds.push_back(Speed());
            Steps(framesPerSpan - framesPerSpan / 2);
        }
        return speeds;
    }
    void Steps(int frames) {
        for (int i = 0; i < frames; ++i)
            Field.SimulationStep(Frame);
    }
};

TEST_F(SequencePlayerTest, ThreeProfilesPlayInTurnAndFromTheTopAgain) {
    WriteProfile("Eins.json", 2);
    WriteProfile("Zwei.json", 3);
    WriteProfile("Drei.json", 4);
    Play({{"Eins.json", 60, {}}, {"Zwei.json", 60, {}}, {"Drei.json", 60, {}}});
    EXPECT_EQ(SpeedsPerSpan(60, 7), (std::vector<int>{2, 3, 4, 2, 3, 4, 2}));
    EXPECT_TRUE(Player.FPlaylistActive);
    EXPECT_TRUE(Notices.isEmpty());
}

TEST_F(SequencePlayerTest, AMissingProfileIsSkipped) {
    WriteProfile("Eins.json", 2);
    WriteProfile("Drei.json", 4);
    Play({{"Eins.json", 10, {}}, {"Zwei.json", 10, {}}, {"Drei.json", 10, {}}});
    EXPECT_EQ(SpeedsPerSpan(10, 5), (std::vector<int>{2, 4, 2, 4, 2}));
    EXPECT_TRUE(Notices.isEmpty());
}

// Regression: a profile path that exists but cannot be read ended the program from inside the
// simulation step.
TEST_F(SequencePlayerTest, AnUnreadableProfileIsSkippedLikeAMissingOne) {
    WriteProfile("Eins.json", 2);
    ASSERT_TRUE(QDir(Dir.path()).mkdir("Ordner.json"));
    Play({{"Ordner.json", 10, {}}, {"Eins.json", 10, {}}});
    EXPECT_EQ(Speed(), 2);
    EXPECT_EQ(Player.FPlaylistIndex, 1);
    EXPECT_EQ(SpeedsPerSpan(10, 2), (std::vector<int>{2, 2}));
}

TEST_F(SequencePlayerTest, WithoutAnyProfileTheSequenceEndsAndTheRunGoesOn) {
    Controls.FSpeed.SetPosition(7);
    Play({{"Eins.json", 10, {}}, {"Zwei.json", 10, {}}});
    EXPECT_FALSE(Player.FPlaylistActive);
    EXPECT_EQ(Notices, QStringList{QStringLiteral(
                           "Sequenz beendet: Keine der Profil-Dateien wurde gefunden.")});
    Steps(1000);
    EXPECT_EQ(Notices.size(), 1);
    EXPECT_EQ(Speed(), 7);
    EXPECT_TRUE(RunState.IsRunning);
    EXPECT_EQ(Player.FPlaylist.size(), 2u);
}

TEST_F(SequencePlayerTest, AnEmptyPlaylistOnlyStopsPlaying) {
    Play({});
    EXPECT_FALSE(Player.FPlaylistActive);
    EXPECT_TRUE(Notices.isEmpty());
}

TEST_F(SequencePlayerTest, AnEntryOfZeroOrLessIsShownForOneFrame) {
    WriteProfile("Eins.json", 2);
    WriteProfile("Zwei.json", 3);
    Play({{"Eins.json", 0, {}}, {"Zwei.json", 5, {}}, {"Eins.json", -4, {}}});
    EXPECT_EQ(Speed(), 2);
    Steps(1);
    EXPECT_EQ(Speed(), 3);
    Steps(79);
    EXPECT_EQ(Speed(), 3);
    Steps(1); // 5 seconds over: the third entry
    EXPECT_EQ(Speed(), 2);
    EXPECT_EQ(Player.FPlaylistIndex, 2);
    Steps(1);
    EXPECT_EQ(Player.FPlaylistIndex, 0);
    Steps(1);
    EXPECT_EQ(Player.FPlaylistIndex, 1);
}

TEST_F(SequencePlayerTest, AnEntryWithoutDurationIsShownForThirtySeconds) {
    WriteProfile("Eins.json", 2);
    WriteProfile("Zwei.json", 3);
    WriteFileAtomic(ProfilesFolder() + "Folge.seq",
                    R"({"playlist":[{"file":"Eins.json"},{"file":"Zwei.json","duration":10}]})");
    const TSequenceLoad load =
        Player.LoadSequenceFile(ProfilesFolder() + "Folge.seq", ProfilesFolder());
    ASSERT_EQ(load.Status, TSequenceLoadStatus::Loaded);
    EXPECT_FALSE(Player.FPlaylistActive);
    RunState.IsRunning = true;
    Player.StartPlaylist();
    Player.NextSequenceEntry();
    EXPECT_EQ(SpeedsPerSpan(10, 4), (std::vector<int>{2, 2, 2, 3}));
}

TEST_F(SequencePlayerTest, PlanEntriesApplyTheirOwnSettingsText) {
    WriteProfile("Eins.json", 2); // not read: the entry carries its settings
    Play({{"Eins.json", 10, R"({"speed":9})"}, {"Weg.json", 10, R"({"speed":11})"}});
    EXPECT_EQ(SpeedsPerSpan(10, 3), (std::vector<int>{9, 11, 9}));
}

TEST_F(SequencePlayerTest, TheTimerOnlyRunsDuringARunWhilePlaying) {
    WriteProfile("Eins.json", 2);
    WriteProfile("Zwei.json", 3);
    Play({{"Eins.json", 1, {}}, {"Zwei.json", 1, {}}});
    RunState.IsRunning = false;
    Steps(100);
    EXPECT_EQ(Speed(), 2);
    RunState.IsRunning = true;
    Player.StopPlaying();
    Steps(100);
    EXPECT_EQ(Speed(), 2);
    EXPECT_EQ(Player.FPlaylist.size(), 2u);
}

TEST_F(SequencePlayerTest, LoadingReplacesThePlaylistUnlessTheFileIsMissing) {
    WriteProfile("Eins.json", 2);
    Play({{"Eins.json", 10, {}}});
    Player.LoadSequenceFile(ProfilesFolder() + "fehlt.seq", ProfilesFolder());
    EXPECT_TRUE(Player.FPlaylistActive);
    EXPECT_EQ(Player.FPlaylist.size(), 1u);

    WriteFileAtomic(ProfilesFolder() + "kaputt.seq", R"({"playlist":[1]})");
    const TSequenceLoad load =
        Player.LoadSequenceFile(ProfilesFolder() + "kaputt.seq", ProfilesFolder());
    EXPECT_EQ(load.Status, TSequenceLoadStatus::Malformed);
    EXPECT_FALSE(Player.FPlaylistActive);
    EXPECT_TRUE(Player.FPlaylist.empty());
}

TEST_F(SequencePlayerTest, PrewarmEntriesNameTheSettingsOrTheProfileFile) {
    Player.SetPlaylist({{"Eins.json", 10, {}}, {"Zwei.json", 10, R"({"sprite_index":3})"}},
                       ProfilesFolder());
    const std::vector<TPrewarmEntry> entries = Player.PrewarmEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].ProfileFile, ProfilesFolder() + "Eins.json");
    EXPECT_TRUE(entries[0].SettingsJson.isEmpty());
    EXPECT_EQ(entries[1].SettingsJson, QStringLiteral(R"({"sprite_index":3})"));
}

// The whole chain of a run: the frame loop advances the simulation only while the run is not
// paused, so a pause of minutes does not shorten the entry shown.
class NoDraw final : public TFrameComposer {
public:
    void EnsureBackBuffer(int, int) override {}
    bool HasBackBuffer() const override { return true; }
    int BackWidth() const override { return 800; }
    int BackHeight() const override { return 600; }
    void DrawFrame(bool, int, int) override {}
    int BandWorkerCount() const override { return 0; }
};

class NoWait final : public TCompositorWait {
public:
    bool WaitForNextRefresh() override { return true; }
    void SleepAfterFailedWait() override {}
};

class NoPacing final : public TRunPacing {
public:
    bool RequestTimerResolution() override { return true; }
    void ReleaseTimerResolution() override {}
    void SetRaisedPriority(bool) override {}
};

class NoHooks final : public TRunHooks {
public:
    explicit NoHooks(TRunState& run) : FRun(run) {}
    void CaptureRunSettings() override { FRun.FRunCaptured = true; }
    std::int64_t ActiveElapsedMs() const override { return 0; }
    void StopRun() override { FRun.IsRunning = false; }
    void BeginPause(bool) override { FRun.FPaused = true; }

private:
    TRunState& FRun;
};

class NoWindow final : public TFrameWindow {
public:
    int ClientWidth() const override { return 800; }
    int ClientHeight() const override { return 600; }
    void PresentBackBuffer(int, int) override {}
    void ShowPaintBoxFallback() override {}
    void RequestPaintBoxRepaint() override {}
};

TEST_F(SequencePlayerTest, PausesDoNotShortenAnEntry) {
    WriteProfile("Eins.json", 2);
    WriteProfile("Zwei.json", 3);
    TManualClock clock;
    NoWait wait;
    NoPacing pacing;
    TMemoryProgramSettings program;
    NoHooks hooks(RunState);
    NoDraw composer;
    NoWindow window;
    TFrameLoop loop({clock, wait, pacing, program, RunState, Field, hooks, composer, window},
                    1.0 / 60);
    loop.ResetLastTicks();
    Play({{"Eins.json", 60, {}}, {"Zwei.json", 60, {}}});
    const auto passes = [&](int count) {
        for (int i = 0; i < count; ++i) {
            clock.AdvanceMs(50);
            bool done = false;
            loop.AppIdle(done);
        }
    };
    passes(600); // 30 s
    RunState.FPaused = true;
    passes(6000); // 5 minutes of pause
    RunState.FPaused = false;
    loop.ResetLastTicks(); // as the end of a pause does
    passes(590);           // 59.5 s of active time
    EXPECT_EQ(Speed(), 2);
    passes(20);
    EXPECT_EQ(Speed(), 3);
}

} // namespace
} // namespace kalvero
