#pragma once

#include <QWidget>
#include <memory>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QMouseEvent;
class QPaintEvent;
class QPushButton;
class QResizeEvent;
class QShowEvent;
class QTimer;

namespace kalvero {

class TTrackBar;
class TRadioGroup;
class TComboBox;
class TCheckBox;
class TPictureBox;
class TSettingsControls;
class TProgramSettings;
class TClock;
class TStopwatch;
class TImageCatalogue;
class TCairoFrameComposer;
class TCatalogueImages;
class TFramePresenter;
class TCursorIdle;
class TSequenceTimer;
class TFollower;
class TAlertnessTask;
class TSpriteField;
class TTrainingSettings;
class TFrameLoop;
class TRefreshBoundaryWait;
class TThreadPacing;
class TRunControl;
class TRunControlRecordSource;
class TRunRecorder;
class TSequencePlayer;
class TProfileRun;
class TSoundSink;
class TUserManager;
class TUserHooks;
class TKeyboardCommands;
struct TRunState;

// What the main window is made with; every part left null is made by the window itself.
struct TForm1Parts {
    // Backs "Takt" and "Fein"; by default section "Programm" of the users file.
    TProgramSettings* ProgramSettings = nullptr;
    // The one clock of frame and run times; by default a stopwatch started with the window.
    const TClock* Clock = nullptr;
    // Where the alertness sounds go; by default the sound player of "Sound/".
    TSoundSink* Sound = nullptr;
};

// The main window: outside a run the settings screen, during a run the stimulus display. It
// composes the engine parts and carries the settings controls, which are the store of the
// training settings.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // programSettings backs "Takt" and "Fein" (read once here); null uses the users file.
    // The caller keeps ownership.
    explicit TForm1(TProgramSettings* programSettings = nullptr, QWidget* parent = nullptr);
    explicit TForm1(const TForm1Parts& parts, QWidget* parent = nullptr);
    ~TForm1() override;

    // The panel's design size.
    static constexpr int DesignWidth = 1078;
    static constexpr int DesignHeight = 776;

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

    // The other controls of the settings panel.
    QLabel* Panel1;
    TPictureBox* Image1;
    QLabel* Label1;
    QLabel* LabelUser;
    QPushButton* btnUser;
    QPushButton* btnHistory;
    QCheckBox* CheckBoxPlan;
    QPushButton* btnPlan;
    QLabel* LabelHintergrund;
    QLabel* LabelSprite;
    TPictureBox* ImagePreview;
    TPictureBox* spritepreview;
    QLabel* LabelPause;
    TTrackBar* TrackBarPause;
    QCheckBox* CheckBoxSuchaufgabe;
    QPushButton* btnLoadProfile;
    QPushButton* btnSaveProfile;
    QPushButton* btnCreateSequence;
    QPushButton* btnLoadSequence;
    QPushButton* ButtonKommandos;
    QPushButton* btnStartStop;
    QPushButton* btn_Exit;

    // Engine parts.
    TSettingsControls& SettingsControls();
    TTrainingSettings& Settings();
    TSpriteField& SpriteField();
    TFrameLoop& FrameLoop();
    TRunState& RunState();
    TAlertnessTask& Alertness();
    TFollower& Follower();
    TImageCatalogue& Catalogue();
    TCursorIdle& Cursor();
    TRunControl& RunControl();
    TSequencePlayer& SequencePlayer();
    TProfileRun& ProfileRun();
    TCairoFrameComposer& Composer();
    const TClock& Stopwatch() const;

    // The user registry and the current user ("" while none is chosen).
    TUserManager& Users();
    const QString& CurrentUser() const { return FUser; }
    bool TherapistMode() const;
    // The per-user settings and plan use; null restores the window's own minimal behaviour.
    void SetUserHooks(TUserHooks* hooks);
    TUserHooks& UserHooks();

    // Sets the geometry to the whole monitor (no border, task bar included), shows and
    // activates the window. Without a window manager a maximise request keeps the old size, so
    // the size is set explicitly.
    void ShowCoveringMonitor();

    // Lets the idle timer run the frame loop; it stops by itself when a pass reports that no
    // further pass is needed (no run, paused, run ended).
    void StartFrameLoop();
    bool FrameLoopActive() const;

    // Start-up: the user choice once the window is visible.
    void WMShowWelcome();
    // Opens the welcome window; false when no user was chosen (the current one stays).
    bool ChooseUser();
    void UpdatePauseLabel();

    // Event handlers of the settings screen.
    void btnStartStopClick();
    void btn_ExitClick();
    void btnUserClick();
    void btnHistoryClick();
    void btnPlanClick();
    void btnCreateSequenceClick();
    void TrackBarPauseChange();
    // The button "Tastaturkommandos" (and key H during a run): the help text of the keys.
    void ButtonKommandosClick();
    // The keyboard commands; the plan use sets their lock.
    TKeyboardCommands& KeyboardCommands();

    // Change handlers of the settings controls.
    void TrackBarSpeedChange();
    void RadioGroupSameSpeedClick();
    void TrackBarNumberOfSpritesChange();
    void DarbietungChange();
    void ComboBackgroundChange();
    void ComboSpriteChange();

    void UpdatePreviews();
    // Owner drawing of a background item: refreshes the previews when a selected item other
    // than the last previewed one is drawn.
    void cbBackgroundsDrawItem(int index, bool selected);

    // The window is shown for the first time: posts the start-up message once.
    void FormShow();
    // One-time scaling of the panel (at the first resize) and its centring.
    void FormResize();
    // Mouse movement during a run: the cursor comes back.
    void FormMouseMove();

    bool FWelcomeShown = false;
    bool FUIInitialized = false;
    int FOriginalPanelWidth = 0;
    int FOriginalPanelHeight = 0;
    int FLastPreviewIndex = -1;

signals:
    // The welcome window was cancelled at start-up: the program ends.
    void NoUserChosen();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // FormKeyDown: the keyboard commands; keys they do not consume go on as usual.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TControls;
    class TWindowSide;
    class TOwnUserHooks;
    class TKeyboardSide;

    void CreateControls();
    void CreatePanelControls();
    void LayoutPanel();
    void CreateEngine(const TForm1Parts& parts);
    void FillLists();
    void ConnectHandlers();
    void ConnectButtons();
    void AppIdle();
    void FormDestroy();

    QString FUser;
    std::unique_ptr<TUserManager> FUsers;
    std::unique_ptr<TOwnUserHooks> FOwnUserHooks;
    TUserHooks* FUserHooks = nullptr;
    std::unique_ptr<TControls> FControls;
    std::unique_ptr<TWindowSide> FWindowSide;
    std::unique_ptr<TStopwatch> FOwnStopwatch;
    const TClock* FStopwatch = nullptr;
    std::unique_ptr<TRunState> FRun;
    std::unique_ptr<TProgramSettings> FOwnProgramSettings;
    std::unique_ptr<TSoundSink> FOwnSound;
    std::unique_ptr<TImageCatalogue> FCatalogue;
    std::unique_ptr<TCatalogueImages> FImages;
    std::unique_ptr<TCairoFrameComposer> FComposer;
    TFramePresenter* FPresenter = nullptr; // owned by the window as its child object
    std::unique_ptr<TCursorIdle> FCursor;
    std::unique_ptr<TSequenceTimer> FSequence;
    std::unique_ptr<TFollower> FFollower;
    std::unique_ptr<TAlertnessTask> FAlertness;
    std::unique_ptr<TSpriteField> FSprites;
    std::unique_ptr<TTrainingSettings> FSettings;
    std::unique_ptr<TRefreshBoundaryWait> FCompositorWait;
    std::unique_ptr<TThreadPacing> FPacing;
    std::unique_ptr<TFrameLoop> FFrameLoop;
    std::unique_ptr<TSequencePlayer> FSequencePlayer;
    std::unique_ptr<TProfileRun> FProfileRun;
    std::unique_ptr<TRunControl> FRunControl;
    std::unique_ptr<TRunControlRecordSource> FRecordSource;
    std::unique_ptr<TRunRecorder> FRecorder;
    std::unique_ptr<TKeyboardSide> FKeyboardSide;
    std::unique_ptr<TKeyboardCommands> FKeyboard;
    QTimer* FIdleTimer;
};

} // namespace kalvero
