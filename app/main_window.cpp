#include "app/main_window.h"

#include "app/frame_presenter.h"
#include "app/keyboard_commands.h"
#include "app/logo_picture.h"
#include "app/panel_scaling.h"
#include "app/picture_box.h"
#include "app/profile_actions.h"
#include "app/run_control.h"
#include "app/run_recording.h"
#include "app/settings_widgets.h"
#include "app/user_hooks.h"
#include "engine/alertness_task.h"
#include "engine/composition_images.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/frame_composer_cairo.h"
#include "engine/frame_loop.h"
#include "engine/image_catalogue.h"
#include "engine/image_catalogue_preview.h"
#include "engine/profile_run.h"
#include "engine/program_settings.h"
#include "engine/run_state.h"
#include "engine/sequence_player.h"
#include "engine/sequence_timer.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "history/form_history.h"
#include "plan/ui/plan_editor.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/refresh_wait.h"
#include "platform/sound_player.h"
#include "platform/ui/dialogs.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTimer>

namespace kalvero {

namespace {
const QColor WindowColour(0xB9, 0xD1, 0xEA); // the gradient end of an active title bar
const QColor TitleColour(0x99, 0xB4, 0xD1);  // an active title bar
const QColor PanelFontColour(0x00, 0x00, 0x80);
const QString Caption = QStringLiteral("Kalvero 4");

constexpr int PauseMin = 0, PauseMax = 60, PauseDefault = 20, PauseStep = 5;

void Place(QWidget* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
}

QFont PointFont(const char* family, double points, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// "Takt" and "Fein" in section "Programm" of the users file.
class TUsersProgramSettings final : public TProgramSettings {
public:
    explicit TUsersProgramSettings(TUserManager& users) : FUsers(users) {}
    QString ProgramValue(const QString& key, const QString& defaultValue) const override {
        return FUsers.GetValue(QLatin1String(kProgramSection), key, defaultValue);
    }
    void SetProgramValue(const QString& key, const QString& value) override {
        FUsers.SetValue(QLatin1String(kProgramSection), key, value);
    }

private:
    TUserManager& FUsers;
};

// Items of the background list: the background brush, the text 4 pixels from the left and 1
// from the top; drawing a selected item tells the window.
class TBackgroundItemDelegate final : public QStyledItemDelegate {
public:
    TBackgroundItemDelegate(TForm1& form, QObject* parent)
        : QStyledItemDelegate(parent), FForm(form) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = QPalette::Normal;
        painter->fillRect(option.rect, option.palette.brush(group, selected ? QPalette::Highlight
                                                                            : QPalette::Base));
        painter->setPen(
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        const QRect text = option.rect.adjusted(4, 1, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, index.data().toString());
        if (selected) {
            const int row = index.row();
            QMetaObject::invokeMethod(
                &FForm, [form = &FForm, row] { form->cbBackgroundsDrawItem(row, true); },
                Qt::QueuedConnection);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), option.fontMetrics.height() + 3};
    }

private:
    TForm1& FForm;
};
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

// What the engine parts and the run control may ask of the window.
class TForm1::TWindowSide final : public TSettingsWindow,
                                  public TFrameWindow,
                                  public TRunHooks,
                                  public TRunWindow,
                                  public TCursorDisplay {
public:
    explicit TWindowSide(TForm1& form) : F(form) {}

    // TSettingsWindow
    void UpdatePreviews() override { F.UpdatePreviews(); }
    void SetLabelSpeed(const QString& text) override { F.LabelSpeed->setText(text); }
    void SetLabelNumberOfSprites(const QString& text) override {
        F.LabelNumberOfSprites->setText(text);
    }
    void FocusMainWindow() override { F.setFocus(); }

    // TFrameWindow
    int ClientWidth() const override { return F.width(); }
    int ClientHeight() const override { return F.height(); }
    void PresentBackBuffer(int width, int height) override {
        F.FPresenter->PresentBackBuffer(width, height);
    }
    void ShowPaintBoxFallback() override {
        F.SkPaintBox1->show();
        F.SkPaintBox1->update();
    }
    void RequestPaintBoxRepaint() override { F.SkPaintBox1->update(); }

    // TRunHooks, answered by the run control
    void CaptureRunSettings() override { F.FRunControl->CaptureRunSettings(); }
    std::int64_t ActiveElapsedMs() const override { return F.FRunControl->ActiveElapsedMs(); }
    void StopRun() override { F.FRunControl->StopRun(); }
    void BeginPause(bool reminder) override { F.FRunControl->BeginPause(reminder); }

    // TRunWindow
    QString CurrentUser() const override { return F.FUser; }
    double PixelsPerInch() const override {
        const QScreen* screen = F.screen();
        return screen ? screen->logicalDotsPerInch() : 0.0;
    }
    int PauseMinutes() const override { return F.TrackBarPause->Position(); }
    void SetBusyCursor(bool busy) override {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    void MakeOverlayFonts(float px) override { F.FComposer->MakeFonts(px); }
    void ShowDisplay() override {
        F.btnStartStop->setText(QStringLiteral("Stop"));
        F.PanelSettings->hide();
        F.SkPaintBox1->hide();
        F.setFocus();
    }
    void ShowSettingsScreen() override {
        F.btnStartStop->setText(QStringLiteral("Start"));
        F.SkPaintBox1->show();
        F.PanelSettings->show();
        CentreInParent(*F.PanelSettings);
        F.UpdatePreviews();
        F.repaint();
        QCoreApplication::processEvents();
    }
    void StartFrameLoop() override { F.StartFrameLoop(); }
    void RepaintWindow() override { F.repaint(); }
    QWidget* DialogParent() override { return &F; }

    // TCursorDisplay
    void SetCursorHidden(bool hidden) override {
        if (hidden)
            F.setCursor(Qt::BlankCursor);
        else
            F.unsetCursor();
    }

private:
    TForm1& F;
};

// A refused file read or write of a settings-screen button is shown, not passed on.
static void ReportFileErrors(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowMessage(nullptr, TMsgKind::Error, Caption, QString::fromUtf8(error.what()));
    }
}

// The window's own answers until the per-user settings and plan use are connected: the user
// label by operating mode and the search task from its check box.
class TForm1::TOwnUserHooks final : public TUserHooks {
public:
    explicit TOwnUserHooks(TForm1& form) : F(form) {}

    void UpdateUserCaptions() override {
        if (F.FUser.isEmpty())
            F.LabelUser->setText(QStringLiteral("Nutzer:"));
        else if (F.TherapistMode())
            F.LabelUser->setText(QStringLiteral("Nutzer: ") + F.FUser);
        else
            F.LabelUser->setText(QStringLiteral("Willkommen, ") + F.FUser);
    }
    bool SearchTaskEnabled() const override {
        return !F.FUser.isEmpty() && F.CheckBoxSuchaufgabe->isChecked();
    }

private:
    TForm1& F;
};

// What the keyboard commands ask of the window, its run control and its frame loop.
class TForm1::TKeyboardSide final : public TKeyboardWindow {
public:
    explicit TKeyboardSide(TForm1& form) : F(form) {}

    void BeginPause(bool reminder) override { F.FRunControl->BeginPause(reminder); }
    void EndPause() override { F.FRunControl->EndPause(); }
    void StopRun(const QString& reason) override {
        F.FRunControl->StopRun(reason);
        F.update();
    }
    void CloseProgram() override { F.btn_ExitClick(); }
    void OpenHistory() override { F.btnHistoryClick(); }
    void ToggleVSync() override { F.FFrameLoop->ToggleVSync(); }
    void ToggleSmooth() override { F.FFrameLoop->ToggleSmooth(); }
    void ToggleStats() override { F.FFrameLoop->ToggleStats(); }
    void MarkRunChanged() override { F.FRecorder->MarkChanged(); }

private:
    TForm1& F;
};

TForm1::TForm1(TProgramSettings* programSettings, QWidget* parent)
    : TForm1(TForm1Parts{programSettings, nullptr, nullptr}, parent) {}

TForm1::TForm1(const TForm1Parts& parts, QWidget* parent) : QWidget(parent) {
    FUsers = std::make_unique<TUserManager>();
    FOwnUserHooks = std::make_unique<TOwnUserHooks>(*this);
    FUserHooks = FOwnUserHooks.get();
    setWindowTitle(Caption);
    setWindowFlag(Qt::FramelessWindowHint);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    CreateControls();
    CreatePanelControls();
    LayoutPanel();
    FOriginalPanelWidth = PanelSettings->width();
    FOriginalPanelHeight = PanelSettings->height();
    CreateEngine(parts);
    FillLists();
    ConnectHandlers();
    ConnectButtons();
    UpdatePreviews();
    UpdatePauseLabel();
    CheckBoxPlan->hide();
    FUserHooks->UpdateUserCaptions();
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::FormDestroy() {
    FIdleTimer->stop();
    FRunControl->FinishAtProgramEnd();
    if (!FUser.isEmpty()) {
        // Nothing may leave a destructor: a refused write is still reported.
        try {
            FUserHooks->SaveUserSettings();
        } catch (const std::exception& error) {
            ShowMessage(nullptr, TMsgKind::Error, Caption, QString::fromUtf8(error.what()));
        }
    }
    FFrameLoop->ReleaseTiming();
    FComposer->ReleaseBackBuffer();
}

void TForm1::CreateControls() {
    SkPaintBox1 = new QWidget(this);
    SkPaintBox1->setObjectName(QStringLiteral("SkPaintBox1"));
    QPalette white = SkPaintBox1->palette();
    white.setColor(QPalette::Window, Qt::white);
    SkPaintBox1->setPalette(white);
    SkPaintBox1->setAutoFillBackground(true);
    SkPaintBox1->setMouseTracking(true);

    PanelSettings = new QWidget(this);
    PanelSettings->setObjectName(QStringLiteral("PanelSettings"));
    PanelSettings->resize(DesignWidth, DesignHeight);
    QPalette panel = PanelSettings->palette();
    panel.setColor(QPalette::Window, WindowColour);
    panel.setColor(QPalette::WindowText, PanelFontColour);
    PanelSettings->setPalette(panel);
    PanelSettings->setAutoFillBackground(true);
    PanelSettings->setFont(PointFont("Segoe UI", 9, false));
    PanelSettings->setMouseTracking(true);
    PanelSettings->installEventFilter(this);

    using namespace settings_range;
    ComboBackground = new TComboBox(PanelSettings);
    ComboBackground->setObjectName(QStringLiteral("ComboBackground"));
    ComboBackground->setItemDelegate(new TBackgroundItemDelegate(*this, ComboBackground));
    ComboSprite = new TComboBox(PanelSettings);
    ComboSprite->setObjectName(QStringLiteral("ComboSprite"));
    ComboSprite->setEditable(true);
    ComboSprite->setInsertPolicy(QComboBox::NoInsert);
    RadioGroupDirection =
        new TRadioGroup(QString::fromUtf8(DirectionCaption), DirectionItems(), PanelSettings);
    RadioGroupDirection->setObjectName(QStringLiteral("RadioGroupDirection"));

    LabelSpeed = new QLabel(PanelSettings);
    LabelSpeed->setObjectName(QStringLiteral("LabelSpeed"));
    TrackBarSpeed = new TTrackBar(SpeedMin, SpeedMax, SpeedDefault, 1, 1, PanelSettings);
    TrackBarSpeed->setObjectName(QStringLiteral("TrackBarSpeed"));
    LabelNumberOfSprites = new QLabel(PanelSettings);
    LabelNumberOfSprites->setObjectName(QStringLiteral("LabelNumberOfSprites"));
    TrackBarNumberOfSprites = new TTrackBar(CountMin, CountMax, CountDefault, CountLineSize,
                                            CountLineSize, PanelSettings);
    TrackBarNumberOfSprites->setObjectName(QStringLiteral("TrackBarNumberOfSprites"));
    LabelDarbietungszeit = new QLabel(PanelSettings);
    LabelDarbietungszeit->setObjectName(QStringLiteral("LabelDarbietungszeit"));
    TrackBarDarbietungszeit = new TTrackBar(ShowtimeMin, ShowtimeMax, ShowtimeDefault,
                                            ShowtimeLineSize, ShowtimeLineSize, PanelSettings);
    TrackBarDarbietungszeit->setObjectName(QStringLiteral("TrackBarDarbietungszeit"));

    RadioGroupSameSpeed =
        new TRadioGroup(QString::fromUtf8(SameSpeedCaption), SameSpeedItems(), PanelSettings);
    RadioGroupSameSpeed->setObjectName(QStringLiteral("RadioGroupSameSpeed"));
    RadioGroupAlertness =
        new TRadioGroup(QString::fromUtf8(AlertnessCaption), AlertnessItems(), PanelSettings);
    RadioGroupAlertness->setObjectName(QStringLiteral("RadioGroupAlertness"));
    checkboxVerfolger = new TCheckBox(QString::fromUtf8(VerfolgerCaption), PanelSettings);
    checkboxVerfolger->setObjectName(QStringLiteral("checkboxVerfolger"));
    checkboxZeit = new TCheckBox(QString::fromUtf8(ZeitCaption), PanelSettings);
    checkboxZeit->setObjectName(QStringLiteral("checkboxZeit"));

    LabelSpeed->setText(SpeedLabelText(TrackBarSpeed->Position()));
    LabelNumberOfSprites->setText(NumberOfSpritesLabelText(TrackBarNumberOfSprites->Position()));
    LabelDarbietungszeit->setText(DarbietungszeitLabelText(TrackBarDarbietungszeit->Position()));
}

void TForm1::CreatePanelControls() {
    Panel1 = new QLabel(Caption, PanelSettings);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFont(PointFont("Papyrus", 72, true));
    Panel1->setAlignment(Qt::AlignCenter);
    QPalette title = Panel1->palette();
    title.setColor(QPalette::Window, TitleColour);
    title.setColor(QPalette::WindowText, PanelFontColour);
    Panel1->setPalette(title);
    Panel1->setAutoFillBackground(true);

    Image1 = new TPictureBox(TPictureBox::TFit::Stretch, PanelSettings);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->SetPicture(KalveroLogo());
    Label1 = new QLabel(QStringLiteral("Vers. 4.3"), PanelSettings);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    LabelUser = new QLabel(QStringLiteral("Nutzer:"), PanelSettings);
    LabelUser->setObjectName(QStringLiteral("LabelUser"));
    LabelUser->setFont(PointFont("Segoe UI", 12, true));
    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), PanelSettings);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    btnUser = button("btnUser", "Nutzer wechseln");
    btnHistory = button("btnHistory", "Verlauf ...");
    btnHistory->setToolTip(QStringLiteral("Protokoll und Verlauf (F3)"));
    btnPlan = button("btnPlan", "Trainingsplan ...");
    CheckBoxPlan = new QCheckBox(QStringLiteral("Nach Trainingsplan trainieren"), PanelSettings);
    CheckBoxPlan->setObjectName(QStringLiteral("CheckBoxPlan"));

    LabelHintergrund = new QLabel(QStringLiteral("Hintergründe"), PanelSettings);
    LabelHintergrund->setObjectName(QStringLiteral("LabelHintergrund"));
    LabelSprite = new QLabel(QStringLiteral("Bewegte Reize"), PanelSettings);
    LabelSprite->setObjectName(QStringLiteral("LabelSprite"));
    ImagePreview = new TPictureBox(TPictureBox::TFit::CentreProportional, PanelSettings);
    ImagePreview->setObjectName(QStringLiteral("ImagePreview"));
    spritepreview = new TPictureBox(TPictureBox::TFit::CentreProportional, PanelSettings);
    spritepreview->setObjectName(QStringLiteral("spritepreview"));

    LabelPause = new QLabel(PanelSettings);
    LabelPause->setObjectName(QStringLiteral("LabelPause"));
    TrackBarPause =
        new TTrackBar(PauseMin, PauseMax, PauseDefault, PauseStep, PauseStep, PanelSettings);
    TrackBarPause->setObjectName(QStringLiteral("TrackBarPause"));
    TrackBarPause->setPageStep(PauseStep);
    CheckBoxSuchaufgabe =
        new QCheckBox(QStringLiteral("Suchaufgabe vor/nach dem Training"), PanelSettings);
    CheckBoxSuchaufgabe->setObjectName(QStringLiteral("CheckBoxSuchaufgabe"));
    CheckBoxSuchaufgabe->setToolTip(
        QStringLiteral("Vor und nach dem Training (ab 5 Minuten) eine kurze Suchaufgabe: "
                       "Auslassungen links/rechts und Zeit im Vergleich"));

    btnLoadProfile = button("btnLoadProfile", "Profil laden");
    btnSaveProfile = button("btnSaveProfile", "Profil speichern");
    btnCreateSequence = button("btnCreateSequence", "Sequenz erzeugen");
    btnLoadSequence = button("btnLoadSequence", "Sequenz laden");
    ButtonKommandos = button("ButtonKommandos", "Tastaturkommandos");
    btnStartStop = button("btnStartStop", "Start");
    btnStartStop->setFont(PointFont("Dubai", 16, true));
    btn_Exit = button("btn_Exit", "Programm beenden");
}

// Positions at the design size 1078 x 776: title, user area and logo at the top; the row of
// lists, direction and track bars; below it the speed group, the previews, the alertness
// group, the pause reminder and the check boxes, with the button column on the right.
void TForm1::LayoutPanel() {
    Place(Panel1, "Panel1", {16, 12, 660, 116});
    Place(Image1, "Image1", {805, 12, 257, 161});
    Place(LabelUser, "LabelUser", {20, 136, 440, 26});
    Place(btnUser, "btnUser", {20, 168, 150, 30});
    Place(btnHistory, "btnHistory", {180, 168, 130, 30});
    Place(btnPlan, "btnPlan", {320, 168, 150, 30});
    Place(CheckBoxPlan, "CheckBoxPlan", {484, 172, 310, 24});

    Place(LabelHintergrund, "LabelHintergrund", {20, 208, 210, 20});
    Place(ComboBackground, "ComboBackground", {20, 230, 210, 26});
    Place(LabelSprite, "LabelSprite", {246, 208, 210, 20});
    Place(ComboSprite, "ComboSprite", {246, 230, 210, 26});
    Place(RadioGroupDirection, "RadioGroupDirection", {472, 202, 170, 84});
    Place(LabelSpeed, "LabelSpeed", {660, 200, 400, 20});
    Place(TrackBarSpeed, "TrackBarSpeed", {660, 220, 400, 30});
    Place(LabelNumberOfSprites, "LabelNumberOfSprites", {660, 256, 400, 20});
    Place(TrackBarNumberOfSprites, "TrackBarNumberOfSprites", {660, 276, 400, 30});
    Place(LabelDarbietungszeit, "LabelDarbietungszeit", {660, 312, 400, 20});
    Place(TrackBarDarbietungszeit, "TrackBarDarbietungszeit", {660, 332, 400, 30});

    Place(RadioGroupSameSpeed, "RadioGroupSameSpeed", {20, 296, 436, 76});
    Place(ImagePreview, "ImagePreview", {20, 388, 340, 255});
    Place(spritepreview, "spritepreview", {376, 388, 156, 255});
    Place(RadioGroupAlertness, "RadioGroupAlertness", {556, 388, 200, 136});
    Place(LabelPause, "LabelPause", {556, 540, 320, 20});
    Place(TrackBarPause, "TrackBarPause", {556, 560, 320, 30});
    Place(checkboxVerfolger, "checkboxVerfolger", {20, 660, 420, 22});
    Place(checkboxZeit, "checkboxZeit", {20, 686, 420, 22});
    Place(CheckBoxSuchaufgabe, "CheckBoxSuchaufgabe", {20, 712, 520, 22});

    Place(btnLoadProfile, "btnLoadProfile", {900, 388, 160, 30});
    Place(btnSaveProfile, "btnSaveProfile", {900, 424, 160, 30});
    Place(btnCreateSequence, "btnCreateSequence", {900, 460, 160, 30});
    Place(btnLoadSequence, "btnLoadSequence", {900, 496, 160, 30});
    Place(ButtonKommandos, "ButtonKommandos", {900, 532, 160, 30});
    Place(btnStartStop, "btnStartStop", {920, 580, 121, 73});
    Place(btn_Exit, "btn_Exit", {900, 668, 160, 30});
    Place(Label1, "Label1", {940, 748, 120, 20});
}

void TForm1::CreateEngine(const TForm1Parts& parts) {
    FControls = std::make_unique<TControls>(*this);
    FRun = std::make_unique<TRunState>();
    FWindowSide = std::make_unique<TWindowSide>(*this);
    TProgramSettings* programSettings = parts.ProgramSettings;
    if (!programSettings) {
        FOwnProgramSettings = std::make_unique<TUsersProgramSettings>(*FUsers);
        programSettings = FOwnProgramSettings.get();
    }
    FCatalogue = std::make_unique<TImageCatalogue>();
    FCursor = std::make_unique<TCursorIdle>();
    FCursor->Connect(FWindowSide.get());
    FSequence = std::make_unique<TSequenceTimer>();
    FFollower = std::make_unique<TFollower>();
    FAlertness = std::make_unique<TAlertnessTask>();
    FSprites = std::make_unique<TSpriteField>(
        ProcessRandom(), *FCatalogue, *FControls, *FRun,
        TSimulationParts{*FCursor, *FSequence, *FFollower, *FAlertness});
    FSettings = std::make_unique<TTrainingSettings>(*FControls, *FSprites, *FAlertness, *FRun,
                                                    *FWindowSide);

    FStopwatch = parts.Clock;
    if (!FStopwatch) {
        FOwnStopwatch = std::make_unique<TStopwatch>();
        FStopwatch = FOwnStopwatch.get();
    }
    const QScreen* display = screen();
    const double period = RefreshPeriodFromRate(display ? display->refreshRate() : 0.0);
    FCompositorWait = std::make_unique<TRefreshBoundaryWait>(period);
    FPacing = std::make_unique<TThreadPacing>();
    FImages = std::make_unique<TCatalogueImages>(*FCatalogue);
    FComposer = std::make_unique<TCairoFrameComposer>(
        TComposerParts{*FStopwatch, *FImages, *FSprites, *FFollower, *FAlertness, *FRun, *FControls,
                       *FWindowSide});
    FPresenter = new TFramePresenter(*FComposer, *FRun, *this, *SkPaintBox1);
    FFrameLoop = std::make_unique<TFrameLoop>(
        TFrameLoopParts{*FStopwatch, *FCompositorWait, *FPacing, *programSettings, *FRun, *FSprites,
                        *FWindowSide, *FComposer, *FWindowSide},
        period);
    FComposer->SetFrameLoop(FFrameLoop.get());
    FIdleTimer = new QTimer(this);
    FIdleTimer->setInterval(0);
    connect(FIdleTimer, &QTimer::timeout, this, &TForm1::AppIdle);

    FSequencePlayer = std::make_unique<TSequencePlayer>(*FSequence, *FSettings);
    FProfileRun = std::make_unique<TProfileRun>();
    FSequencePlayer->OnNotice = QueuedSequenceNotice(this);
    FRunControl = std::make_unique<TRunControl>(TRunControlParts{
        *FStopwatch, ProcessRandom(), *FRun, *FControls, *FSettings, *FSprites, *FCatalogue,
        *FAlertness, *FFollower, *FCursor, *FFrameLoop, *FWindowSide});
    FRunControl->SetSequencePlayer(FSequencePlayer.get());
    FRunControl->SetProfileRun(FProfileRun.get());
    FRunControl->SetUserHooks(FUserHooks);
    FRecordSource = std::make_unique<TRunControlRecordSource>(*FRunControl, *FWindowSide);
    FRecorder = std::make_unique<TRunRecorder>(TRunRecorderParts{
        *FControls, [this](int index) { return ComboBackground->itemText(index); }, *FRun,
        *FRunControl, *FAlertness, *FRecordSource});
    FRunControl->SetRecordHooks(FRecorder.get());
    FKeyboardSide = std::make_unique<TKeyboardSide>(*this);
    FKeyboard = std::make_unique<TKeyboardCommands>(
        TKeyboardParts{*FControls, *FRun, *FSprites, *FAlertness, *FKeyboardSide, this});

    TSoundSink* sound = parts.Sound;
    if (!sound) {
        FOwnSound = std::make_unique<TSoundPlayer>();
        sound = FOwnSound.get();
    }
    FAlertness->Connect(
        TAlertnessParts{*FStopwatch, ProcessRandom(), *FCatalogue, *FRun, *FRunControl, *sound});
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
    connect(ComboBackground, &QComboBox::currentIndexChanged, this, &TForm1::ComboBackgroundChange);
    connect(ComboSprite, &QComboBox::currentIndexChanged, this, &TForm1::ComboSpriteChange);
    connect(TrackBarPause, &QSlider::valueChanged, this, &TForm1::TrackBarPauseChange);
}

void TForm1::ConnectButtons() {
    connect(btnStartStop, &QPushButton::clicked, this, &TForm1::btnStartStopClick);
    connect(btn_Exit, &QPushButton::clicked, this, &TForm1::btn_ExitClick);
    connect(btnUser, &QPushButton::clicked, this, &TForm1::btnUserClick);
    connect(btnHistory, &QPushButton::clicked, this, &TForm1::btnHistoryClick);
    connect(btnPlan, &QPushButton::clicked, this, &TForm1::btnPlanClick);
    connect(ButtonKommandos, &QPushButton::clicked, this, &TForm1::ButtonKommandosClick);
    connect(btnSaveProfile, &QPushButton::clicked, this,
            [this] { ReportFileErrors([this] { SaveProfile(this, Settings(), ProfileRun()); }); });
    connect(btnLoadProfile, &QPushButton::clicked, this,
            [this] { ReportFileErrors([this] { LoadProfile(this, Settings(), ProfileRun()); }); });
    connect(btnLoadSequence, &QPushButton::clicked, this, [this] {
        ReportFileErrors([this] {
            LoadSequence(this, SequencePlayer(), [this] {
                if (!RunState().IsRunning)
                    FRunControl->StartRun();
            });
        });
    });
    connect(btnCreateSequence, &QPushButton::clicked, this, &TForm1::btnCreateSequenceClick);
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
TCursorIdle& TForm1::Cursor() {
    return *FCursor;
}
TRunControl& TForm1::RunControl() {
    return *FRunControl;
}
TSequencePlayer& TForm1::SequencePlayer() {
    return *FSequencePlayer;
}
TProfileRun& TForm1::ProfileRun() {
    return *FProfileRun;
}
TCairoFrameComposer& TForm1::Composer() {
    return *FComposer;
}
const TClock& TForm1::Stopwatch() const {
    return *FStopwatch;
}
TUserManager& TForm1::Users() {
    return *FUsers;
}

bool TForm1::TherapistMode() const {
    return ReadOperatingMode(*FUsers) == TOperatingMode::Therapist;
}

void TForm1::SetUserHooks(TUserHooks* hooks) {
    FUserHooks = hooks ? hooks : FOwnUserHooks.get();
    FRunControl->SetUserHooks(FUserHooks);
}

TUserHooks& TForm1::UserHooks() {
    return *FUserHooks;
}

void TForm1::ShowCoveringMonitor() {
    if (const QScreen* monitor = screen())
        setGeometry(monitor->geometry());
    show();
    raise();
    activateWindow();
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

void TForm1::FormShow() {
    if (FWelcomeShown)
        return;
    FWelcomeShown = true;
    QMetaObject::invokeMethod(this, &TForm1::WMShowWelcome, Qt::QueuedConnection);
}

void TForm1::WMShowWelcome() {
    if (!ChooseUser()) {
        emit NoUserChosen();
        close();
    }
}

bool TForm1::ChooseUser() {
    const QString name = TFormWelcome::Execute(*FUsers, this);
    btnUser->setVisible(TherapistMode());
    if (name.isEmpty()) {
        FUserHooks->UpdateUserCaptions();
        return false;
    }
    if (!FUser.isEmpty() && FUser.compare(name, Qt::CaseInsensitive) != 0)
        FUserHooks->SaveUserSettings();
    FUser = name;
    FUsers->SetCurrentUser(name);
    FUsers->SetLastUser(name);
    FUserHooks->LoadUserSettings();
    FUserHooks->LoadUserPlan(true);
    FUserHooks->UpdateUserCaptions();
    return true;
}

void TForm1::btnStartStopClick() {
    FRunControl->btnStartStopClick();
}

void TForm1::btn_ExitClick() {
    close();
}

void TForm1::ButtonKommandosClick() {
    FKeyboard->ButtonKommandosClick();
}

TKeyboardCommands& TForm1::KeyboardCommands() {
    return *FKeyboard;
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (!FKeyboard->KeyPress(*event))
        QWidget::keyPressEvent(event);
}

void TForm1::btnUserClick() {
    if (!FRun->IsRunning)
        ChooseUser();
}

void TForm1::btnHistoryClick() {
    if (!FUser.isEmpty() && !FRun->IsRunning)
        TFormHistory::Execute(this, FUser, TherapistMode());
}

void TForm1::btnPlanClick() {
    if (FUser.isEmpty() || FRun->IsRunning)
        return;
    const TOperatingMode mode =
        TherapistMode() ? TOperatingMode::Therapist : TOperatingMode::Patient;
    if (TFormPlan::Execute(this, FUser, mode, FSettings->SettingsSnapshot(), QString())) {
        FUserHooks->LoadUserPlan(false);
        FUserHooks->UpdateUserCaptions();
    }
}

void TForm1::btnCreateSequenceClick() {
    OpenSequenceManager(this);
}

void TForm1::TrackBarPauseChange() {
    UpdatePauseLabel();
}

void TForm1::UpdatePauseLabel() {
    const int minutes = TrackBarPause->Position();
    LabelPause->setText(minutes > 0 ? QStringLiteral("Pausenhinweis alle %1 min").arg(minutes)
                                    : QStringLiteral("Pausenhinweis: aus"));
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

// During a run the previews are hidden behind the display and refreshed when the run stops,
// so an arrow key does not decode a background picture inside the frame loop.
void TForm1::ComboBackgroundChange() {
    if (!RunState().IsRunning)
        UpdatePreviews();
}

void TForm1::ComboSpriteChange() {
    if (!RunState().IsRunning)
        UpdatePreviews();
}

void TForm1::UpdatePreviews() {
    ImagePreview->Clear();
    const int background = ComboBackground->ItemIndex();
    const QStringList& files = FCatalogue->BackgroundFiles();
    if (background >= 0 && background < files.size() && !files[background].isEmpty())
        ImagePreview->SetPicture(QImage(files[background]));

    spritepreview->Clear();
    const int spriteType = ComboSprite->ItemIndex();
    if (spriteType < 0)
        return;
    const FrameList* frames = FCatalogue->GetFrameLists(spriteType, 0).Left;
    if (frames && !frames->empty())
        spritepreview->SetPicture(SkImageToBitmap(frames->front()));
}

void TForm1::cbBackgroundsDrawItem(int index, bool selected) {
    if (selected && index != FLastPreviewIndex) {
        FLastPreviewIndex = index;
        UpdatePreviews();
    }
}

void TForm1::FormResize() {
    FSprites->ResetBackOffset();
    SkPaintBox1->setGeometry(rect());
    if (FRun->IsRunning)
        return;
    if (!FUIInitialized && FOriginalPanelWidth > 0 && FOriginalPanelHeight > 0) {
        const double factor =
            PanelScaleFactor(width(), height(), FOriginalPanelWidth, FOriginalPanelHeight);
        if (factor > 0)
            ScaleWidgetTree(*PanelSettings, factor);
        FUIInitialized = true;
    }
    CentreInParent(*PanelSettings);
}

void TForm1::FormMouseMove() {
    if (FRun->IsRunning)
        FCursor->MouseMoved();
}

void TForm1::paintEvent(QPaintEvent*) {
    FPresenter->FormPaint();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    FormMouseMove();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PanelSettings && event->type() == QEvent::MouseMove)
        FormMouseMove();
    return QWidget::eventFilter(watched, event);
}

} // namespace kalvero
