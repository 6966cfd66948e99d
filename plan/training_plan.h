#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace kalvero {

enum TPlanKind { pkProfile, pkSequence };

// One section of a sequence plan.
struct TPlanItem {
    QString Name;              // the profile file name the section came from, "MeinProfil.json"
    std::int32_t Duration = 0; // seconds; at least 5 once loaded from a file
    QString Settings;          // training settings object as compact JSON text
};

// What a therapist prescribes for one patient; stored as a ".kvplan" file.
class TTrainingPlan {
public:
    TPlanKind Kind = pkProfile;
    QString Name;     // sequence plans: the sequence's name; profile plans: usually empty
    QString Settings; // profile plans: the training settings object as compact JSON text
    std::vector<TPlanItem> Items; // sequence plans: the sections in playing order
    std::int32_t Minutes = 0;     // training time per training; 0 or less means no limit
    QString Therapist;
    QString Patient;
    QString Note;
    bool Locked = false;     // patient mode trains only by this plan, settings locked
    bool SearchTest = false; // short search task before and after each training
    QString Created;         // "dd.mm.yyyy"

    // Reads a plan file. False when the file is unreadable, no JSON, no plan (the fields then stay
    // as they were), or a plan that cannot be trained (Valid() false).
    bool LoadFromFile(const QString& AFile);
    // Writes the plan file, creating missing folders; throws TWriteError when that fails.
    void SaveToFile(const QString& AFile) const;
    // The plan described in German, lines separated by CR LF.
    QString Summary() const;
    // A profile plan needs settings, a sequence plan at least one section.
    bool Valid() const;
};

// One line describing a training settings object, "Hummel, 30 Reize, Geschwindigkeit 5, ...";
// empty when the text is not a JSON object.
QString SettingsSummary(const QString& settingsText);

// Removes leading and trailing characters with codes up to 32 (blanks, line breaks, controls).
QString TrimLowCodes(const QString& text);

// The plan in a file, or none when it does not exist or LoadFromFile fails.
std::unique_ptr<TTrainingPlan> LoadPlanFile(const QString& path);

// The user's stored plan (GetUserPlanFile), or none for a blank user name, a missing file or a
// file that does not load as a valid plan.
std::unique_ptr<TTrainingPlan> LoadStoredPlan(const QString& user);

} // namespace kalvero
