#include "engine/profile_run.h"

#include <QFileInfo>

namespace kalvero {

QString ProfileNameOf(const QString& file) {
    return QFileInfo(file).completeBaseName();
}

void TProfileRun::Remember(const QString& profileFile, const QString& snapshot) {
    FLastProfileName = ProfileNameOf(profileFile);
    FLastProfileSnapshot = snapshot;
}

void TProfileRun::Forget() {
    FLastProfileName.clear();
    FLastProfileSnapshot.clear();
}

bool TProfileRun::IsProfileRun(const QString& currentSnapshot) const {
    return !FLastProfileName.isEmpty() && currentSnapshot == FLastProfileSnapshot;
}

TRunKindName TProfileRun::KindOf(const QString& currentSnapshot) const {
    if (IsProfileRun(currentSnapshot))
        return {QStringLiteral("Profil"), FLastProfileName};
    return {QStringLiteral("Einstellungen"), QString()};
}

} // namespace kalvero
