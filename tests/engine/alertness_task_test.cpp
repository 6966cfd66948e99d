#include "engine/alertness_task.h"
#include "engine/plain_settings_controls.h"
#include "engine/run_state.h"
#include "platform/clock.h"
#include "platform/random.h"

#include "alertness_fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace kalvero {
namespace {

using test::TActiveTime;
using test::TAlertFrames;
using test::TRecordedSounds;

constexpr int Left = -1;
constexpr int Right = 1;

class AlertnessTest : public ::testing::Test {
protected:
    AlertnessTest() {
        Run.IsRunning = true;
        Run.FRenderWidth = 1920;
        Run.FRenderHeight = 1080;
        Clock.AdvanceMs(5000);
        Task.ResetAlertness(1);
    }

    // One frame of dt seconds: the clock and the active run time move on, then the update.
    void Step(double dt, int direction = Left) {
        const auto ms = static_cast<std::int64_t>(std::llround(dt * 1000));
        Clock.AdvanceMs(ms);
        RunTime.Ms += ms;
        Task.UpdateAlertness(dt, direction);
    }
    // Runs frames of 10 ms until a stimulus is visible.
    void WaitForStimulus(int direction = Left) {
        for (int i = 0; i < 1000 && !Task.AlertnessVars.IsVisible; ++i)
            Step(0.01, direction);
        ASSERT_TRUE(Task.AlertnessVars.IsVisible);
    }
    // Runs frames of 50 ms until the visible stimulus has gone; returns the frames it took.
    int WaitForMiss() {
        int frames = 0;
        while (Task.AlertnessVars.IsVisible && frames < 10000) {
            Step(0.05);
            ++frames;
        }
        return frames;
    }
    // The composition draws the stimulus now.
    void Draw() { Task.TakeOnset(Clock.NowMs()); }
    void Reset(int renderWidth, int item = 1) {
        Run.FRenderWidth = renderWidth;
        Task.ResetAlertness(item);
    }

    TManualClock Clock;
    TSeededRandom Random{20240611};
    TAlertFrames Frames;
    TRunState Run;
    TActiveTime RunTime;
    TRecordedSounds Sounds;
    TAlertnessTask Task{TAlertnessParts{Clock, Random, Frames, Run, RunTime, Sounds}};
    const TAlertnessState& A = Task.AlertnessVars;
};

TEST_F(AlertnessTest, ResetStartsAtStepOneWithTheFirstStimulusAfterOneSecond) {
    Task.AlertnessVars.CurrentStep = 6;
    Task.AlertnessVars.TotalHits = 3;
    Task.FStim.push_back({});
    Task.ResetAlertness(2);
    EXPECT_EQ(A.ActiveMode, 2);
    EXPECT_EQ(A.MaxSteps, 10);
    EXPECT_EQ(A.CurrentStep, 0);
    EXPECT_EQ(A.TotalHits, 0);
    EXPECT_EQ(A.StepWidth, 168);
    EXPECT_TRUE(Task.FStim.empty());
    Step(0.5);
    Step(0.49);
    EXPECT_FALSE(A.IsVisible);
    Step(0.02);
    EXPECT_TRUE(A.IsVisible);
    EXPECT_TRUE(Task.FAlertOnsetPending);
    EXPECT_EQ(Task.FAlertStep, 1);
}

struct TStepWidthCase {
    int RenderWidth;
    int StepWidth;
};

class StepWidthTest : public AlertnessTest, public ::testing::WithParamInterface<TStepWidthCase> {};

TEST_P(StepWidthTest, RenderWidthLessFourHundredOverNineSteps) {
    Reset(GetParam().RenderWidth);
    EXPECT_EQ(A.StepWidth, GetParam().StepWidth);
}

INSTANTIATE_TEST_SUITE_P(Displays, StepWidthTest,
                         ::testing::Values(TStepWidthCase{1920, 168}, TStepWidthCase{1000, 66},
                                           TStepWidthCase{1300, 100}, TStepWidthCase{499, 11},
                                           TStepWidthCase{400, 11}, TStepWidthCase{0, 11}));

TEST_F(AlertnessTest, OffModeNeverShowsAStimulusAndIgnoresTheSpaceBar) {
    Reset(1920, 0);
    for (int i = 0; i < 500; ++i)
        Step(0.02);
    Task.SpaceBar();
    EXPECT_FALSE(A.IsVisible);
    EXPECT_EQ(A.TotalFalseAlarms, 0);
    EXPECT_TRUE(Task.FStim.empty());
    EXPECT_TRUE(Sounds.Played.isEmpty());
}

TEST_F(AlertnessTest, WithoutAnswersEveryStimulusIsAMissAndEverySecondMissStepsDown) {
    Task.AlertnessVars.CurrentStep = 3;
    const int expectedSteps[] = {3, 2, 2, 1, 1, 0, 0, 0, 0, 0};
    std::set<double> waits;
    for (int expected : expectedSteps) {
        WaitForStimulus();
        WaitForMiss();
        EXPECT_EQ(A.CurrentStep, expected);
        EXPECT_EQ(A.Timer, A.SpawnInterval);
        waits.insert(A.SpawnInterval);
    }
    EXPECT_EQ(A.TotalMisses, 10);
    EXPECT_EQ(A.TotalHits, 0);
    ASSERT_EQ(Task.FStim.size(), 10u);
    for (std::size_t i = 0; i < Task.FStim.size(); ++i) {
        EXPECT_EQ(Task.FStim[i].Nr, static_cast<int>(i) + 1);
        EXPECT_EQ(Task.FStim[i].Outcome, soMiss);
        EXPECT_LT(Task.FStim[i].RtMs, 0);
    }
    EXPECT_EQ(Task.FStim[0].Step, 4);
    EXPECT_EQ(Task.FStim[9].Step, 1);
    EXPECT_TRUE(Sounds.Played.isEmpty()); // misses are silent
    for (double wait : waits)
        EXPECT_TRUE(wait == 2.0 || wait == 3.0 || wait == 4.0) << wait;
}

TEST_F(AlertnessTest, MissesSpreadTheWaitingTimeOverTwoThreeAndFourSeconds) {
    std::set<double> waits;
    for (int i = 0; i < 30; ++i) {
        WaitForStimulus();
        WaitForMiss();
        waits.insert(A.SpawnInterval);
    }
    EXPECT_EQ(waits, (std::set<double>{2.0, 3.0, 4.0}));
}

struct TVisibleCase {
    int Mode;
    int FrameCount;
    double Dt;
    int Frames; // updates during which the stimulus stays visible, the missing one included
};

class VisibleTimeTest : public AlertnessTest, public ::testing::WithParamInterface<TVisibleCase> {};

// Five passes at one frame per 0.05 s or more: the time left over in a frame is dropped.
TEST_P(VisibleTimeTest, FivePassesOfTheModesAnimation) {
    const TVisibleCase c = GetParam();
    Frames.Frames = {c.FrameCount, c.FrameCount, c.FrameCount};
    Reset(1920, c.Mode);
    WaitForStimulus();
    int frames = 0;
    int lastIndex = 0;
    while (A.IsVisible && frames < 10000) {
        lastIndex = A.FrameIndex;
        Step(c.Dt);
        ++frames;
    }
    EXPECT_EQ(frames, c.Frames);
    EXPECT_LT(lastIndex, std::max(c.FrameCount, 1));
    EXPECT_EQ(A.LoopCount, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Animations, VisibleTimeTest,
    ::testing::Values(TVisibleCase{1, 12, 0.05, 60}, TVisibleCase{1, 12, 0.07, 60},
                      TVisibleCase{2, 20, 0.03, 200}, TVisibleCase{3, 3, 0.1, 15},
                      // without pictures the square stays for five frame times
                      TVisibleCase{1, 0, 0.05, 5}, TVisibleCase{1, 0, 0.01, 25}));

TEST_F(AlertnessTest, TenHitsLeftwardsMoveTheStimulus168PixelsEachUntilStepTen) {
    for (int hit = 0; hit < 12; ++hit) {
        WaitForStimulus(Left);
        const int step = std::min(hit, 9);
        EXPECT_EQ(A.X, 1920 - 150 - 50 - step * 168) << "hit " << hit;
        EXPECT_EQ(Task.FAlertStep, step + 1);
        Draw();
        Clock.AdvanceMs(400);
        Task.SpaceBar();
        EXPECT_FALSE(A.IsVisible);
        EXPECT_EQ(A.CurrentStep, std::min(hit + 1, 9));
        EXPECT_TRUE(A.Timer == 2.0 || A.Timer == 3.0 || A.Timer == 4.0);
    }
    EXPECT_EQ(A.TotalHits, 12);
    ASSERT_EQ(Task.FStim.size(), 12u);
    EXPECT_EQ(Task.FStim[0].Step, 1);
    EXPECT_EQ(Task.FStim[9].Step, 10);
    EXPECT_EQ(Task.FStim[11].Step, 10);
    EXPECT_EQ(Task.FStim[0].Outcome, soHit);
    EXPECT_EQ(Task.FStim[0].RtMs, 400);
    EXPECT_EQ(Sounds.Played.size(), 12);
    EXPECT_EQ(Sounds.Played.front(), QStringLiteral("welldone.mp3"));
}

TEST_F(AlertnessTest, AHitAfterAMissClearsTheMissCount) {
    WaitForStimulus();
    Task.SpaceBar();
    WaitForStimulus();
    Task.SpaceBar(); // CurrentStep 2
    WaitForStimulus();
    WaitForMiss();
    WaitForStimulus();
    Task.SpaceBar(); // CurrentStep 3, the miss before it is forgotten
    WaitForStimulus();
    WaitForMiss(); // the first miss since the hit: no step down
    EXPECT_EQ(A.CurrentStep, 3);
    WaitForStimulus();
    WaitForMiss();
    EXPECT_EQ(A.CurrentStep, 2);
}

struct TPositionCase {
    int RenderWidth;
    int Width;
    int Direction;
    int Step;
    double X;
};

class PositionTest : public AlertnessTest, public ::testing::WithParamInterface<TPositionCase> {};

TEST_P(PositionTest, StartsAtTheEntrySideAndStaysFiftyPixelsInside) {
    const TPositionCase c = GetParam();
    Frames.Widths = {c.Width, c.Width, c.Width};
    Reset(c.RenderWidth);
    Task.AlertnessVars.CurrentStep = c.Step;
    WaitForStimulus(c.Direction);
    EXPECT_EQ(A.X, c.X);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, PositionTest,
    ::testing::Values(TPositionCase{1920, 150, Right, 0, 50},
                      TPositionCase{1920, 150, Right, 9, 1562},
                      TPositionCase{1000, 400, Left, 0, 550}, TPositionCase{1000, 400, Left, 7, 88},
                      TPositionCase{1000, 400, Left, 8, 50},
                      TPositionCase{1000, 400, Right, 7, 512},
                      TPositionCase{1000, 400, Right, 8, 550},
                      // wider than the screen allows: the leftward limit wins on the left
                      TPositionCase{300, 250, Left, 0, 50}));

TEST_F(AlertnessTest, StimulusIsCentredVerticallyByItsWidth) {
    Frames.Widths = {151, 151, 151};
    Run.FRenderHeight = 1081;
    WaitForStimulus();
    EXPECT_EQ(A.Y, 540 - 75);
}

struct TWidthCase {
    int Mode;
    int PictureWidth;
    float Px;
    int Width;
};

class StimulusWidthTest : public AlertnessTest, public ::testing::WithParamInterface<TWidthCase> {};

TEST_P(StimulusWidthTest, FirstScaledFrameOrOneHundredFiftyTimesTheScale) {
    const TWidthCase c = GetParam();
    Frames.Widths = {c.PictureWidth, c.PictureWidth, c.PictureWidth};
    Run.FPx = c.Px;
    Task.AlertnessVars.ActiveMode = c.Mode;
    EXPECT_EQ(Task.StimulusWidth(), c.Width);
}

INSTANTIATE_TEST_SUITE_P(Modes, StimulusWidthTest,
                         ::testing::Values(TWidthCase{2, 96, 1.0f, 96}, TWidthCase{3, 0, 1.0f, 150},
                                           TWidthCase{1, 0, 1.5f, 225},
                                           TWidthCase{1, 0, 1.25f, 188}, // 187.5
                                           TWidthCase{1, 0, 1.75f, 262}, // 262.5
                                           TWidthCase{4, 96, 1.0f, 150}));

struct TPercentCase {
    double X;
    int Width;
    int RenderWidth;
    int Percent;
};

class PositionPercentTest : public ::testing::TestWithParam<TPercentCase> {};

TEST_P(PositionPercentTest, CentreInPercentHalvesToEven) {
    const TPercentCase c = GetParam();
    EXPECT_EQ(AlertPositionPercent(c.X, c.Width, c.RenderWidth), c.Percent);
}

INSTANTIATE_TEST_SUITE_P(Centres, PositionPercentTest,
                         ::testing::Values(TPercentCase{445, 100, 1000, 50}, // 49.5
                                           TPercentCase{455, 100, 1000, 50}, // 50.5
                                           TPercentCase{456, 100, 1000, 51},
                                           TPercentCase{434, 100, 1000, 48},
                                           TPercentCase{50, 151, 200, 63}, // 62.75
                                           TPercentCase{-500, 100, 1000, 0},
                                           TPercentCase{2000, 100, 1000, 100},
                                           TPercentCase{50, 100, 0, 50}));

TEST_F(AlertnessTest, CentreAtPixel495OfAThousandCountsAsRight) {
    Frames.Widths = {890, 890, 890};
    Reset(1000);
    WaitForStimulus(Right);
    EXPECT_EQ(A.X + 890 / 2.0, 495);
    WaitForMiss();
    ASSERT_EQ(Task.FStim.size(), 1u);
    EXPECT_EQ(Task.FStim[0].PosPct, 50);
    EXPECT_GT(Task.FStim[0].PosPct, 49); // the right half
}

TEST_F(AlertnessTest, PressBeforeTheStimulusWasDrawnIsAHitWithoutReactionTime) {
    WaitForStimulus();
    Task.SpaceBar();
    ASSERT_EQ(Task.FStim.size(), 1u);
    EXPECT_EQ(Task.FStim[0].Outcome, soHit);
    EXPECT_EQ(Task.FStim[0].RtMs, -1);
    EXPECT_FALSE(Task.FAlertOnsetPending);
    EXPECT_EQ(A.TotalHits, 1);
    EXPECT_EQ(A.CurrentStep, 1);
}

TEST_F(AlertnessTest, OnlyTheFirstDrawnFrameTakesTheOnset) {
    WaitForStimulus();
    Draw();
    Step(0.05);
    Draw();
    Clock.AdvanceMs(250);
    Task.SpaceBar();
    EXPECT_EQ(Task.FStim.at(0).RtMs, 300);
}

TEST_F(AlertnessTest, FalseAlarmRecordsStepZeroAndNoPositionAndKeepsStepAndTimer) {
    Task.AlertnessVars.CurrentStep = 4;
    Step(0.3);
    const double timer = A.Timer;
    RunTime.Ms = 12345;
    Task.SpaceBar();
    EXPECT_EQ(A.TotalFalseAlarms, 1);
    EXPECT_EQ(A.CurrentStep, 4);
    EXPECT_EQ(A.Timer, timer);
    EXPECT_FALSE(A.IsVisible);
    ASSERT_EQ(Task.FStim.size(), 1u);
    const TStimulusRec& rec = Task.FStim[0];
    EXPECT_EQ(rec.Nr, 1);
    EXPECT_EQ(rec.Outcome, soFalseAlarm);
    EXPECT_EQ(rec.Step, 0);
    EXPECT_EQ(rec.PosPct, -1);
    EXPECT_LT(rec.RtMs, 0);
    EXPECT_DOUBLE_EQ(rec.TimeSec, 12.345);
    EXPECT_EQ(Sounds.Played, QStringList{QStringLiteral("error.mp3")});
}

TEST_F(AlertnessTest, PauseWhileVisibleIsLeftOutOfTheReactionTime) {
    WaitForStimulus();
    Draw();
    Clock.AdvanceMs(200);
    // Paused for 30 s: the frame loop does not step; the run control ends the pause.
    Clock.AdvanceMs(30000);
    Task.ShiftOnset(30000);
    EXPECT_TRUE(A.IsVisible);
    Step(0.05);
    Clock.AdvanceMs(250);
    Task.SpaceBar();
    EXPECT_EQ(Task.FStim.at(0).RtMs, 500);
}

TEST_F(AlertnessTest, PauseShiftsNoOnsetThatIsNotTakenYet) {
    Task.ShiftOnset(30000); // nothing visible
    EXPECT_EQ(Task.FAlertOnsetTick, 0);
    WaitForStimulus();
    Task.ShiftOnset(30000); // visible but not drawn: the onset comes with the first frame
    Draw();
    EXPECT_EQ(Task.FAlertOnsetTick, Clock.NowMs());
}

TEST_F(AlertnessTest, RecordsCarryActiveTimeAndRunningNumbers) {
    WaitForStimulus();
    Task.SpaceBar();
    Task.SpaceBar();
    WaitForStimulus();
    RunTime.Ms = 61500;
    WaitForMiss();
    ASSERT_EQ(Task.FStim.size(), 3u);
    EXPECT_EQ(Task.FStim[0].Nr, 1);
    EXPECT_EQ(Task.FStim[1].Nr, 2);
    EXPECT_EQ(Task.FStim[2].Nr, 3);
    EXPECT_EQ(Task.FStim[1].Outcome, soFalseAlarm);
    EXPECT_EQ(Task.FStim[2].Step, 2);
    EXPECT_NEAR(Task.FStim[2].TimeSec, RunTime.Ms / 1000.0, 1e-9);
}

TEST_F(AlertnessTest, NothingIsRecordedOutsideARunButTheCountsGoOn) {
    Run.IsRunning = false;
    Task.SpaceBar();
    WaitForStimulus();
    Task.SpaceBar();
    EXPECT_TRUE(Task.FStim.empty());
    EXPECT_EQ(A.TotalFalseAlarms, 1);
    EXPECT_EQ(A.TotalHits, 1);
}

struct TToggleCase {
    int Item;
    int NewItem;
};

class ToggleTest : public AlertnessTest, public ::testing::WithParamInterface<TToggleCase> {
protected:
    TPlainSettingsControls Controls;
};

TEST_P(ToggleTest, KeyASwitchesBetweenOffAndStern) {
    TRadioGroupControl& item = Controls.RadioGroupAlertness();
    item.SetItemIndex(GetParam().Item);
    Task.ToggleAlertness(item);
    EXPECT_EQ(item.ItemIndex(), GetParam().NewItem);
    EXPECT_EQ(A.ActiveMode, GetParam().NewItem);
}

INSTANTIATE_TEST_SUITE_P(Items, ToggleTest,
                         ::testing::Values(TToggleCase{-1, 1}, TToggleCase{0, 1}, TToggleCase{1, 0},
                                           TToggleCase{2, 0}, TToggleCase{3, 0}));

TEST_F(AlertnessTest, KeyAOnDracheSwitchesOffAndAgainToSternKeepingSteps) {
    TPlainSettingsControls controls;
    TRadioGroupControl& item = controls.RadioGroupAlertness();
    item.SetItemIndex(2);
    Reset(1920, 2);
    WaitForStimulus();
    Task.SpaceBar(); // CurrentStep 1
    WaitForStimulus();

    Task.ToggleAlertness(item);
    EXPECT_EQ(item.ItemIndex(), 0);
    EXPECT_EQ(A.ActiveMode, 0);
    EXPECT_TRUE(A.IsVisible); // off keeps the stimulus as it stands, but nothing runs
    for (int i = 0; i < 400; ++i)
        Step(0.05);
    Task.SpaceBar();
    EXPECT_TRUE(A.IsVisible);
    EXPECT_EQ(A.TotalHits, 1);

    Task.ToggleAlertness(item);
    EXPECT_EQ(item.ItemIndex(), 1);
    EXPECT_EQ(A.ActiveMode, 1);
    EXPECT_FALSE(A.IsVisible);
    EXPECT_EQ(A.CurrentStep, 1);
    EXPECT_EQ(A.TotalHits, 1);
    for (int i = 0; i < 199; ++i)
        Step(0.01);
    EXPECT_FALSE(A.IsVisible);
    Step(0.011);
    EXPECT_TRUE(A.IsVisible);
    EXPECT_EQ(Task.FAlertStep, 2);
}

TEST(AlertnessUnconnected, ShowsNothingRecordsNothingAndPlaysNothing) {
    TAlertnessTask task;
    task.ResetAlertness(1);
    EXPECT_EQ(task.AlertnessVars.StepWidth, 11);
    for (int i = 0; i < 200; ++i)
        task.UpdateAlertness(0.05, Left);
    task.SpaceBar();
    EXPECT_FALSE(task.AlertnessVars.IsVisible);
    EXPECT_TRUE(task.FStim.empty());
}

} // namespace
} // namespace kalvero
