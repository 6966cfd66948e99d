#include "app/user_session.h"

#include "app/keyboard_commands.h"
#include "app/main_window.h"
#include "app/profile_actions.h"
#include "app/settings_widgets.h"
#include "engine/profile_run.h"
#include "engine/sequence_file.h"
#include "engine/sequence_player.h"
#include "engine/training_settings.h"
#include "plan/training_plan.h"
#include "platform/ui/dialogs.h"
#include "users/data_folder.h"
#include "users/user_manager.h"

#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace kalvero {

const char* const SafetyNoticeText =
    "Bitte vor dem ersten Training lesen\r\n\r\n"
    "Großflächig bewegte Bilder können bei manchen Menschen Schwindel, Übelkeit, Kopfschmerzen "
    "oder Unwohlsein auslösen.\r\n\r\n"
    "Wenn Ihnen unwohl wird: Brechen Sie das Training sofort mit der Esc-Taste ab. Mit der Taste "
    "P können Sie jederzeit eine Pause machen.\r\n\r\n"
    "Bei bekannter Epilepsie, besonders bei Lichtempfindlichkeit, klären Sie das Training bitte "
    "vorher mit Ihrer Ärztin oder Ihrem Arzt ab.\r\n\r\n";

namespace {

const QString Caption = QStringLiteral("Kalvero 4");
const QString KeySettings = QStringLiteral("Einstellungen");
const QString KeyPause = QStringLiteral("PauseNach");
const QString KeySearch = QStringLiteral("Suchaufgabe");
const QString KeySafety = QStringLiteral("Sicherheitshinweis");
const QString KeyPlanNote = QStringLiteral("PlanHinweis");
constexpr int DefaultPauseMinutes = 20;

} // namespace

int PauseMinutesOf(const QString& stored) {
    bool number = false;
    const int minutes = stored.trimmed().toInt(&number);
    if (!number)
        return DefaultPauseMinutes;
    return std::clamp(minutes, 0, 60);
}

TUserSession::TUserSession(TForm1& form) : F(form), FForm(&form) {
    FConnections[0] =
        QObject::connect(F.CheckBoxPlan, &QCheckBox::clicked, &F, [this] { CheckBoxPlanClick(); });
    FConnections[1] = QObject::connect(F.CheckBoxSuchaufgabe, &QCheckBox::clicked, &F,
                                       [this] { CheckBoxSuchaufgabeClick(); });
    // After the window's own handler, so that a plan's label text stays.
    FConnections[2] = QObject::connect(F.TrackBarDarbietungszeit, &QSlider::valueChanged, &F,
                                       [this] { DarbietungChange(); });
    F.SetUserHooks(this);
}

TUserSession::~TUserSession() {
    // A window that is already gone has saved through these hooks while it closed.
    if (!FForm)
        return;
    for (const QMetaObject::Connection& connection : FConnections)
        QObject::disconnect(connection);
    FForm->SetUserHooks(nullptr);
}

QString TUserSession::User() const {
    return F.CurrentUser();
}

void TUserSession::LoadUserSettings() {
    const QString user = User();
    if (user.isEmpty())
        return;
    TUserManager& users = F.Users();
    const QString settings = users.GetValue(user, KeySettings);
    if (!settings.isEmpty())
        F.Settings().ApplySettingsText(settings);
    DarbietungChange();
    F.TrackBarPause->SetPosition(PauseMinutesOf(users.GetValue(user, KeyPause)));
    F.UpdatePauseLabel();
    FSearchOwn = users.GetValue(user, KeySearch) == QLatin1String("1");
    UpdateSearchCheckBox();
    F.ProfileRun().Forget();
}

void TUserSession::SaveUserSettings() {
    const QString user = User();
    if (user.isEmpty())
        return;
    TUserManager& users = F.Users();
    // While a plan is in use the user's own settings stay as they were.
    if (!PlanActive())
        users.SetValue(user, KeySettings, F.Settings().SettingsSnapshot());
    users.SetValue(user, KeyPause, QString::number(F.TrackBarPause->Position()));
    users.SetValue(user, KeySearch, FSearchOwn ? QStringLiteral("1") : QStringLiteral("0"));
}

void TUserSession::ShowSafetyNotice() {
    const QString user = User();
    if (user.isEmpty() || F.Users().GetValue(user, KeySafety) == QLatin1String("1"))
        return;
    ShowMessage(&F, TMsgKind::Information, Caption, QString::fromUtf8(SafetyNoticeText));
    F.Users().SetValue(user, KeySafety, QStringLiteral("1"));
}

bool TUserSession::SearchTaskEnabled() const {
    return !User().isEmpty() && F.CheckBoxSuchaufgabe->isChecked();
}

bool TUserSession::PlanActive() const {
    return FPlan && F.CheckBoxPlan->isChecked();
}

void TUserSession::UpdateSearchCheckBox() {
    const bool demanded = PlanActive() && FPlan->SearchTest;
    F.CheckBoxSuchaufgabe->setEnabled(!demanded);
    F.CheckBoxSuchaufgabe->setChecked(demanded || FSearchOwn);
}

void TUserSession::CheckBoxSuchaufgabeClick() {
    const bool checked = F.CheckBoxSuchaufgabe->isChecked();
    if (!F.CheckBoxSuchaufgabe->isEnabled() || checked == FSearchOwn)
        return;
    FSearchOwn = checked;
    if (!User().isEmpty())
        F.Users().SetValue(User(), KeySearch, checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void TUserSession::LoadUserPlan(bool showNote) {
    FPlan.reset();
    if (!User().isEmpty())
        FPlan = LoadStoredPlan(User());
    // Set without the click handler, which only answers the user's own clicks.
    F.CheckBoxPlan->setChecked(FPlan != nullptr);
    F.CheckBoxPlan->setEnabled(true);
    if (FPlan) {
        ApplyPlan();
    } else {
        FLocked = false;
        LockSettingsControls(false);
        DarbietungChange();
    }
    UpdateSearchCheckBox();
    if (showNote)
        ShowPlanNote();
}

void TUserSession::ShowPlanNote() {
    if (!FPlan || F.TherapistMode())
        return;
    const QString note = TrimLowCodes(FPlan->Note);
    if (note.isEmpty())
        return;
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (F.Users().GetValue(User(), KeyPlanNote) == today)
        return;
    F.Users().SetValue(User(), KeyPlanNote, today);
    QString text = QStringLiteral("Ihr Trainingsplan");
    if (!FPlan->Therapist.isEmpty())
        text += QStringLiteral(" von ") + FPlan->Therapist;
    text += QStringLiteral(":\r\n\r\n") + note;
    ShowMessage(&F, TMsgKind::Information, Caption, text);
}

void TUserSession::ApplyPlan() {
    if (!PlanActive())
        return;
    if (FPlan->Kind == pkSequence) {
        if (!FPlan->Items.empty())
            F.Settings().ApplySettingsText(FPlan->Items.front().Settings);
    } else {
        F.Settings().ApplySettingsText(FPlan->Settings);
    }
    // In therapist mode a plan never locks.
    FLocked = !F.TherapistMode() && FPlan->Locked;
    LockSettingsControls(FLocked);
    F.CheckBoxPlan->setEnabled(!FLocked);
    DarbietungChange();
    UpdateSearchCheckBox();
}

void TUserSession::CheckBoxPlanClick() {
    if (F.CheckBoxPlan->isChecked()) {
        ApplyPlan();
        return;
    }
    FLocked = false;
    LockSettingsControls(false);
    LoadUserSettings();
}

void TUserSession::LockSettingsControls(bool locked) {
    QWidget* const lockable[] = {
        F.ComboBackground,     F.ComboSprite,         F.RadioGroupDirection,
        F.TrackBarSpeed,       F.RadioGroupSameSpeed, F.TrackBarNumberOfSprites,
        F.RadioGroupAlertness, F.checkboxVerfolger,   F.btnLoadProfile,
        F.btnSaveProfile,      F.btnLoadSequence,     F.btnCreateSequence};
    for (QWidget* control : lockable)
        control->setEnabled(!locked);
    // The plan sets the presentation time.
    F.TrackBarDarbietungszeit->setEnabled(!PlanActive());
    F.KeyboardCommands().SetLocked(locked);
}

void TUserSession::DarbietungChange() {
    if (!PlanActive()) {
        F.DarbietungChange();
        return;
    }
    F.LabelDarbietungszeit->setText(
        FPlan->Minutes > 0
            ? QStringLiteral("Darbietungszeit laut Trainingsplan: %1 min").arg(FPlan->Minutes)
            : QStringLiteral("Darbietungszeit laut Trainingsplan: unbegrenzt"));
}

void TUserSession::UpdateUserCaptions() {
    const QString user = User();
    if (user.isEmpty())
        F.LabelUser->setText(QStringLiteral("Nutzer:"));
    else if (F.TherapistMode())
        F.LabelUser->setText(QStringLiteral("Nutzer: ") + user);
    else
        F.LabelUser->setText(QStringLiteral("Willkommen, ") + user);
    F.CheckBoxPlan->setVisible(FPlan != nullptr);
    if (!FPlan)
        return;
    F.CheckBoxPlan->setText(
        FPlan->Minutes >= 1
            ? QStringLiteral("Nach Trainingsplan trainieren (%1 min)").arg(FPlan->Minutes)
            : QStringLiteral("Nach Trainingsplan trainieren"));
    F.CheckBoxPlan->setToolTip(FPlan->Summary());
}

TPlanRunStart TUserSession::StartPlanRun() {
    if (!PlanActive())
        return {};
    if (FPlan->Kind == pkSequence) {
        TSequencePlayer& player = F.SequencePlayer();
        player.FSequenceName = FPlan->Name;
        player.SetPlaylist(PlaylistOfPlan(*FPlan), GetProfilesFolder());
        player.StartPlaylist();
        player.NextSequenceEntry();
    } else {
        F.Settings().ApplySettingsText(FPlan->Settings);
    }
    return {FPlan->Name, FPlan->Minutes};
}

} // namespace kalvero
