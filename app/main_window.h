#pragma once

#include <QWidget>
#include <memory>

class QLabel;
class QResizeEvent;
class QTimer;

namespace kalvero {

class TTrackBar;
class TRadioGroup;
class TComboBox;
class TCheckBox;
class TSettingsControls;
class TProgramSettings;
class TStopwatch;
class TImageCatalogue;
class TFrameComposer;
class TCursorIdle;
class TSequenceTimer;
class TFollower;
class TAlertnessTask;
class TSpriteField;
class TTrainingSettings;
class TFrameLoop;
class TRefreshBoundaryWait;
class TThreadPacing;
class TMemoryProgramSettings;
struct TRunState;

// The main window: outside a run the settings screen, during a run the stimulus display. It
// composes the engine parts and carries the settings controls, which are the store of the
// training settings.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // programSettings backs "Takt" and "Fein" (read once here); null keeps them in memory.
    // The caller keeps ownership.
    explicit TForm1(TProgramSettings* programSettings = nullptr, QWidget* parent = nullptr);
    ~TForm1() override;

    // The settings panel and the controls of the ten training settings.
    QWidget* PanelSettings;
    TComboBox* ComboBackground;
    TComboBox* ComboSprite;
    TTrackBar* TrackBarSpeed;
    QLabel* LabelSpeed;
    TTrackBar* TrackBarNumberOfSprites;
    QLabel* LabelNumberOfSprites;
    TTrackBar* TrackBarDarbietungszeit;
    QLabel* LabelDarbietungszeit;
    TRadioGroup* RadioGroupDirection;
    TRadioGroup* RadioGroupSameSpeed;
    TRadioGroup* RadioGroupAlertness;
    TCheckBox* checkboxVerfolger;
    TCheckBox* checkboxZeit;
    // Background of the window (white outside a run); draws the frames when there is no back
    // buffer.
    QWidget* SkPaintBox1;

    // Engine parts.
    TSettingsControls& SettingsControls();
    TTrainingSettings& Settings();
    TSpriteField& SpriteField();
    TFrameLoop& FrameLoop();
    TRunState& RunState();
    TAlertnessTask& Alertness();
    TFollower& Follower();
    TImageCatalogue& Catalogue();
    const TStopwatch& Stopwatch() const;

    // Lets the idle timer run the frame loop; it stops by itself when a pass reports that no
    // further pass is needed (no run, paused, run ended).
    void StartFrameLoop();
    bool FrameLoopActive() const;

    // Change handlers of the settings controls.
    void TrackBarSpeedChange();
    void RadioGroupSameSpeedClick();
    void TrackBarNumberOfSpritesChange();
    void DarbietungChange();

    void UpdatePreviews();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class TControls;
    class TWindowSide;
    class TNoComposer;

    void CreateControls();
    void CreateEngine(TProgramSettings* programSettings);
    void FillLists();
    void ConnectHandlers();
    void AppIdle();

    std::unique_ptr<TControls> FControls;
    std::unique_ptr<TWindowSide> FWindowSide;
    std::unique_ptr<TStopwatch> FStopwatch;
    std::unique_ptr<TRunState> FRun;
    std::unique_ptr<TMemoryProgramSettings> FOwnProgramSettings;
    std::unique_ptr<TImageCatalogue> FCatalogue;
    std::unique_ptr<TNoComposer> FComposer;
    std::unique_ptr<TCursorIdle> FCursor;
    std::unique_ptr<TSequenceTimer> FSequence;
    std::unique_ptr<TFollower> FFollower;
    std::unique_ptr<TAlertnessTask> FAlertness;
    std::unique_ptr<TSpriteField> FSprites;
    std::unique_ptr<TTrainingSettings> FSettings;
    std::unique_ptr<TRefreshBoundaryWait> FCompositorWait;
    std::unique_ptr<TThreadPacing> FPacing;
    std::unique_ptr<TFrameLoop> FFrameLoop;
    QTimer* FIdleTimer;
};

} // namespace kalvero
