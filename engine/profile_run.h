#pragma once

#include <QString>

namespace kalvero {

// Kind and name of a run as the protocol records them.
struct TRunKindName {
    QString Kind;
    QString Name;
};

// Remembers the profile loaded or saved last and the settings text right after it, so that a run
// with exactly these settings is recorded as a run of that profile.
class TProfileRun {
public:
    // After a profile was loaded or saved: its name is the file name without folder and
    // extension; snapshot is SettingsSnapshot taken right afterwards.
    void Remember(const QString& profileFile, const QString& snapshot);
    // Loading the user's settings forgets the profile.
    void Forget();

    // A profile is remembered and the current settings text equals the one taken then,
    // character for character (a setting changed and changed back still counts).
    bool IsProfileRun(const QString& currentSnapshot) const;
    // "Profil" with the profile's name, otherwise "Einstellungen" with an empty name.
    TRunKindName KindOf(const QString& currentSnapshot) const;

    QString FLastProfileName;
    QString FLastProfileSnapshot;
};

// The file name without folder and extension: "Profile/MeinProfil.json" -> "MeinProfil".
QString ProfileNameOf(const QString& file);

} // namespace kalvero
