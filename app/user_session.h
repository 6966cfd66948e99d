#pragma once

#include "app/main_window.h"
#include "app/user_hooks.h"

#include <QPointer>
#include <QString>
#include <memory>

namespace kalvero {

class TTrainingPlan;

// The safety notice shown before a user's first run.
extern const char* const SafetyNoticeText;

// The pause-reminder interval stored as "PauseNach": 20 for missing or non-numeric text,
// otherwise the number clamped to 0 .. 60.
int PauseMinutesOf(const QString& stored);

// The per-user settings and the plan use of the main window: the user's last settings, pause
// interval and search-task choice in the users file, the safety notice, and training by the
// user's stored plan with its lock in patient mode.
class TUserSession final : public TUserHooks {
public:
    // Connects itself to the plan and search-task check boxes and becomes the window's hooks.
    // It may be destroyed before or after the window; while the window closes (its settings
    // are saved then) it must still exist to keep the last changes.
    explicit TUserSession(TForm1& form);
    ~TUserSession() override;

    void LoadUserSettings() override;
    void LoadUserPlan(bool showNote) override;
    void UpdateUserCaptions() override;
    void SaveUserSettings() override;
    void ShowSafetyNotice() override;
    bool SearchTaskEnabled() const override;
    bool PlanActive() const override;
    TPlanRunStart StartPlanRun() override;

    void ApplyPlan();
    void LockSettingsControls(bool locked);
    void UpdateSearchCheckBox();
    void DarbietungChange();
    void CheckBoxPlanClick();
    void CheckBoxSuchaufgabeClick();

    bool Locked() const { return FLocked; }
    const TTrainingPlan* Plan() const { return FPlan.get(); }

private:
    QString User() const;
    void ShowPlanNote();

    TForm1& F;
    QPointer<TForm1> FForm; // null once the window is destroyed
    QMetaObject::Connection FConnections[3];
    std::unique_ptr<TTrainingPlan> FPlan;
    bool FLocked = false;
    bool FSearchOwn = false;
};

} // namespace kalvero
