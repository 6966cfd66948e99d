#include "app/main_window.h"

#include "app/settings_widgets.h"
#include "engine/alertness_task.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/frame_composer.h"
#include "engine/frame_loop.h"
#include "engine/image_catalogue.h"
#include "engine/program_settings.h"
#include "engine/run_state.h"
#include "engine/sequence_timer.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/refresh_wait.h"

#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace kalvero {

namespace {
constexpr int PanelDesignWidth = 1078;
constexpr int PanelDesignHeight = 776;
const QColor WindowColour(0xB9, 0xD1, 0xEA); // the gradient end of an active title bar
const QColor PanelFontColour(0x00, 0x00, 0x80);
} // namespace

// The ten controls as the training settings see them.
class TForm1::TControls final : public TSettingsControls {
public:
    explicit TControls(TForm1& form) : F(form) {}
    TComboBoxControl& ComboBackground() override { return *F.ComboBackground; }
    TComboBoxControl& ComboSprite() override { return *F.ComboSprite; }
    TTrackBarControl& TrackBarSpeed() override { return *F.TrackBarSpeed; }
    TTrackBarControl& TrackBarNumberOfSprites() override { return *F.TrackBarNumberOfSprites; }
    TTrackBarControl& TrackBarDarbietungszeit() override { return *F.TrackBarDarbietungszeit; }
    TRadioGroupControl& RadioGroupDirection() override { return *F.RadioGroupDirection; }
    TRadioGroupControl& RadioGroupSameSpeed() override { return *F.RadioGroupSameSpeed; }
    TRadioGroupControl& RadioGroupAlertness() override { return *F.RadioGroupAlertness; }
    TCheckBoxControl& checkboxVerfolger() override { return *F.checkboxVerfolger; }
    TCheckBoxControl& checkboxZeit() override { return *F.checkboxZeit; }

private:
    TForm1& F;
};

// What the engine parts may ask of the window. The run-control answers are the minimal ones
// until run control is built: captures are marked done, no active time passes, stopping and
// pausing only set the flags.
class TForm1::TWindowSide final : public TSettingsWindow, public TFrameWindow, public TRunHooks {
public:
    TWindowSide(TForm1& form, TRunState& run) : F(form), FRun(run) {}

    void UpdatePreviews() override { F.UpdatePreviews(); }
    void SetLabelSpeed(const QString& text) override { F.LabelSpeed->setText(text); }
    void SetLabelNumberOfSprites(const QString& text) override {
        F.LabelNumberOfSprites->setText(text);
    }
    void FocusMainWindow() override { F.setFocus(); }

    int ClientWidth() const override { return F.width(); }
    int ClientHeight() const override { return F.height(); }
    void PresentBackBuffer(int, int) override {}
    void ShowPaintBoxFallback() override {
        F.SkPaintBox1->show();
        F.SkPaintBox1->update();
    }
    void RequestPaintBoxRepaint() override { F.SkPaintBox1->update(); }

    void CaptureRunSettings() override { FRun.FRunCaptured = true; }
    std::int64_t ActiveElapsedMs() const override { return 0; }
    void StopRun() override { FRun.IsRunning = false; }
    void BeginPause(bool reminder) override {
        FRun.FPaused = true;
        FRun.FPauseIsReminder = reminder;
    }

private:
    TForm1& F;
    TRunState& FRun;
};

// Frame composition is not built yet: there is never a back buffer, so frames go to the paint
// box.
class TForm1::TNoComposer final : public TFrameComposer {
public:
    void EnsureBackBuffer(int, int) override {}
    bool HasBackBuffer() const override { return false; }
    int BackWidth() const override { return 0; }
    int BackHeight() const override { return 0; }
    void DrawFrame(bool, int, int) override {}
    int BandWorkerCount() const override { return 0; }
};

TForm1::TForm1(TProgramSettings* programSettings, QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Kalvero 4"));
    setWindowFlag(Qt::FramelessWindowHint);
    setFocusPolicy(Qt::StrongFocus);
    CreateControls();
    CreateEngine(programSettings);
    FillLists();
    ConnectHandlers();
    UpdatePreviews();
}

TForm1::~TForm1() {
    FIdleTimer->stop();
    FFrameLoop->ReleaseTiming();
}

void TForm1::CreateControls() {
    SkPaintBox1 = new QWidget(this);
    SkPaintBox1->setObjectName(QStringLiteral("SkPaintBox1"));
    QPalette white = SkPaintBox1->palette();
    white.setColor(QPalette::Window, Qt::white);
    SkPaintBox1->setPalette(white);
    SkPaintBox1->setAutoFillBackground(true);

    PanelSettings = new QWidget(this);
    PanelSettings->setObjectName(QStringLiteral("PanelSettings"));
    PanelSettings->resize(PanelDesignWidth, PanelDesignHeight);
    QPalette panel = PanelSettings->palette();
    panel.setColor(QPalette::Window, WindowColour);
    panel.setColor(QPalette::WindowText, PanelFontColour);
    PanelSettings->setPalette(panel);
    PanelSettings->setAutoFillBackground(true);
    PanelSettings->setFont(QFont(QStringLiteral("Segoe UI"), 9));

    auto named = [](QWidget* widget, const char* name, QRect geometry) {
        widget->setObjectName(QString::fromLatin1(name));
        widget->setGeometry(geometry);
    };
    using namespace settings_range;
    ComboBackground = new TComboBox(PanelSettings);
    named(ComboBackground, "ComboBackground", {24, 200, 200, 24});
    ComboSprite = new TComboBox(PanelSettings);
    ComboSprite->setEditable(true);
    ComboSprite->setInsertPolicy(QComboBox::NoInsert);
    named(ComboSprite, "ComboSprite", {240, 200, 200, 24});
    RadioGroupDirection =
        new TRadioGroup(QString::fromUtf8(DirectionCaption), DirectionItems(), PanelSettings);
    named(RadioGroupDirection, "RadioGroupDirection", {460, 180, 180, 80});

    LabelSpeed = new QLabel(PanelSettings);
    named(LabelSpeed, "LabelSpeed", {680, 170, 360, 20});
    TrackBarSpeed = new TTrackBar(SpeedMin, SpeedMax, SpeedDefault, 1, 1, PanelSettings);
    named(TrackBarSpeed, "TrackBarSpeed", {680, 190, 360, 30});
    LabelNumberOfSprites = new QLabel(PanelSettings);
    named(LabelNumberOfSprites, "LabelNumberOfSprites", {680, 230, 360, 20});
    TrackBarNumberOfSprites = new TTrackBar(CountMin, CountMax, CountDefault, CountLineSize,
                                            CountLineSize, PanelSettings);
    named(TrackBarNumberOfSprites, "TrackBarNumberOfSprites", {680, 250, 360, 30});
    LabelDarbietungszeit = new QLabel(PanelSettings);
    named(LabelDarbietungszeit, "LabelDarbietungszeit", {680, 290, 360, 20});
    TrackBarDarbietungszeit = new TTrackBar(ShowtimeMin, ShowtimeMax, ShowtimeDefault,
                                            ShowtimeLineSize, ShowtimeLineSize, PanelSettings);
    named(TrackBarDarbietungszeit, "TrackBarDarbietungszeit", {680, 310, 360, 30});

    RadioGroupSameSpeed =
        new TRadioGroup(QString::fromUtf8(SameSpeedCaption), SameSpeedItems(), PanelSettings);
    named(RadioGroupSameSpeed, "RadioGroupSameSpeed", {24, 300, 280, 80});
    RadioGroupAlertness =
        new TRadioGroup(QString::fromUtf8(AlertnessCaption), AlertnessItems(), PanelSettings);
    named(RadioGroupAlertness, "RadioGroupAlertness", {24, 560, 200, 130});
    checkboxVerfolger = new TCheckBox(QString::fromUtf8(VerfolgerCaption), PanelSettings);
    named(checkboxVerfolger, "checkboxVerfolger", {460, 560, 260, 24});
    checkboxZeit = new TCheckBox(QString::fromUtf8(ZeitCaption), PanelSettings);
    named(checkboxZeit, "checkboxZeit", {460, 590, 260, 24});

    LabelSpeed->setText(SpeedLabelText(TrackBarSpeed->Position()));
    LabelNumberOfSprites->setText(NumberOfSpritesLabelText(TrackBarNumberOfSprites->Position()));
    LabelDarbietungszeit->setText(DarbietungszeitLabelText(TrackBarDarbietungszeit->Position()));
}

void TForm1::CreateEngine(TProgramSettings* programSettings) {
    FControls = std::make_unique<TControls>(*this);
    FRun = std::make_unique<TRunState>();
    FWindowSide = std::make_unique<TWindowSide>(*this, *FRun);
    if (!programSettings) {
        FOwnProgramSettings = std::make_unique<TMemoryProgramSettings>();
        programSettings = FOwnProgramSettings.get();
    }
    FCatalogue = std::make_unique<TImageCatalogue>();
    FComposer = std::make_unique<TNoComposer>();
    FCursor = std::make_unique<TCursorIdle>();
    FSequence = std::make_unique<TSequenceTimer>();
    FFollower = std::make_unique<TFollower>();
    FAlertness = std::make_unique<TAlertnessTask>();
    FSprites = std::make_unique<TSpriteField>(
        ProcessRandom(), *FCatalogue, *FControls, *FRun,
        TSimulationParts{*FCursor, *FSequence, *FFollower, *FAlertness});
    FSettings = std::make_unique<TTrainingSettings>(*FControls, *FSprites, *FAlertness, *FRun,
                                                    *FWindowSide);

    FStopwatch = std::make_unique<TStopwatch>();
    const QScreen* display = screen();
    const double period = RefreshPeriodFromRate(display ? display->refreshRate() : 0.0);
    FCompositorWait = std::make_unique<TRefreshBoundaryWait>(period);
    FPacing = std::make_unique<TThreadPacing>();
    FFrameLoop = std::make_unique<TFrameLoop>(
        TFrameLoopParts{*FStopwatch, *FCompositorWait, *FPacing, *programSettings, *FRun, *FSprites,
                        *FWindowSide, *FComposer, *FWindowSide},
        period);
    FIdleTimer = new QTimer(this);
    FIdleTimer->setInterval(0);
    connect(FIdleTimer, &QTimer::timeout, this, &TForm1::AppIdle);
}

void TForm1::FillLists() {
    ComboSprite->addItems(SpriteNames());
    ComboSprite->SetItemIndex(0);
    FCatalogue->LoadImages();
    ComboBackground->addItems(FCatalogue->BackgroundNames());
    if (ComboBackground->count() > 0)
        ComboBackground->SetItemIndex(0);
}

void TForm1::ConnectHandlers() {
    connect(TrackBarSpeed, &QSlider::valueChanged, this, &TForm1::TrackBarSpeedChange);
    connect(TrackBarNumberOfSprites, &QSlider::valueChanged, this,
            &TForm1::TrackBarNumberOfSpritesChange);
    connect(TrackBarDarbietungszeit, &QSlider::valueChanged, this, &TForm1::DarbietungChange);
    connect(RadioGroupSameSpeed, &TRadioGroup::Click, this, &TForm1::RadioGroupSameSpeedClick);
}

TSettingsControls& TForm1::SettingsControls() {
    return *FControls;
}
TTrainingSettings& TForm1::Settings() {
    return *FSettings;
}
TSpriteField& TForm1::SpriteField() {
    return *FSprites;
}
TFrameLoop& TForm1::FrameLoop() {
    return *FFrameLoop;
}
TRunState& TForm1::RunState() {
    return *FRun;
}
TAlertnessTask& TForm1::Alertness() {
    return *FAlertness;
}
TFollower& TForm1::Follower() {
    return *FFollower;
}
TImageCatalogue& TForm1::Catalogue() {
    return *FCatalogue;
}
const TStopwatch& TForm1::Stopwatch() const {
    return *FStopwatch;
}

void TForm1::StartFrameLoop() {
    FIdleTimer->start();
}

bool TForm1::FrameLoopActive() const {
    return FIdleTimer->isActive();
}

void TForm1::AppIdle() {
    bool done = true;
    FFrameLoop->AppIdle(done);
    if (done)
        FIdleTimer->stop();
}

void TForm1::TrackBarSpeedChange() {
    FSettings->TrackBarSpeedChange();
}

void TForm1::RadioGroupSameSpeedClick() {
    FSettings->RadioGroupSameSpeedClick();
}

void TForm1::TrackBarNumberOfSpritesChange() {
    FSettings->TrackBarNumberOfSpritesChange();
}

void TForm1::DarbietungChange() {
    LabelDarbietungszeit->setText(DarbietungszeitLabelText(TrackBarDarbietungszeit->Position()));
}

void TForm1::UpdatePreviews() {}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SkPaintBox1->setGeometry(rect());
    PanelSettings->move((width() - PanelSettings->width()) / 2,
                        (height() - PanelSettings->height()) / 2);
}

} // namespace kalvero
