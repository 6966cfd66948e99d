#pragma once

#include <QString>

namespace kalvero {

// A plan run as the plan use starts it.
struct TPlanRunStart {
    QString Name;
    int Minutes = 0; // 0 or less: unlimited
};

// What the main window and its run control ask of the per-user settings and the plan use.
// Every member has a harmless default (no plan, nothing to show, load or save), so the
// window works before these features are connected.
class TUserHooks {
public:
    virtual ~TUserHooks() = default;

    // Choosing a user: after the registry's current user is set, the user's settings, pause
    // interval and search-task choice, then the stored plan (with its note when asked).
    virtual void LoadUserSettings() {}
    virtual void LoadUserPlan(bool /*showNote*/) {}
    // The user label, the plan check box's visibility, caption and hint.
    virtual void UpdateUserCaptions() {}
    // Every run start that is not a plan run, switching users and the program's end.
    virtual void SaveUserSettings() {}

    // Run start, first thing: the safety notice if this user has not seen it.
    virtual void ShowSafetyNotice() {}
    // A user is set and the search-task check box is checked.
    virtual bool SearchTaskEnabled() const { return false; }
    // A plan is loaded and its check box is checked.
    virtual bool PlanActive() const { return false; }
    // Only called when PlanActive and no sequence is playing: a sequence plan fills and
    // starts the playlist and applies its first usable entry, a profile plan applies its
    // settings text. Returns the plan's name and minutes.
    virtual TPlanRunStart StartPlanRun() { return {}; }
};

} // namespace kalvero
