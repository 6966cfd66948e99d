#include "users/operating_mode.h"

#include "users/user_manager.h"

namespace kalvero {

namespace {

const QString kModeKey = QStringLiteral("Modus");
const QString kPatientValue = QStringLiteral("Patient");
const QString kTherapistValue = QStringLiteral("Therapeut");
const QString kOptionPrefix = QStringLiteral("--modus=");

bool Same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

TOperatingMode ReadOperatingMode(const TUserManager& users) {
    const QString value = users.GetValue(QLatin1String(kProgramSection), kModeKey).trimmed();
    return Same(value, kPatientValue) ? TOperatingMode::Patient : TOperatingMode::Therapist;
}

void WriteOperatingMode(TUserManager& users, TOperatingMode mode) {
    users.SetValue(QLatin1String(kProgramSection), kModeKey,
                   mode == TOperatingMode::Patient ? kPatientValue : kTherapistValue);
}

QString OperatingModeCaption(TOperatingMode mode) {
    return mode == TOperatingMode::Patient ? QStringLiteral("Patientenversion")
                                           : QStringLiteral("Therapeutenversion");
}

bool IsOperatingModeOption(const QString& argument) {
    return argument.startsWith(kOptionPrefix, Qt::CaseInsensitive);
}

std::optional<TOperatingMode> ParseOperatingModeOption(const QString& argument) {
    if (!IsOperatingModeOption(argument))
        return std::nullopt;
    const QString value = argument.mid(kOptionPrefix.size());
    if (Same(value, kPatientValue))
        return TOperatingMode::Patient;
    if (Same(value, kTherapistValue))
        return TOperatingMode::Therapist;
    return std::nullopt;
}

TModeOptionResult ApplyOperatingModeOption(TUserManager& users, const QStringList& arguments) {
    for (auto it = arguments.crbegin(); it != arguments.crend(); ++it) {
        if (!IsOperatingModeOption(*it))
            continue;
        const std::optional<TOperatingMode> mode = ParseOperatingModeOption(*it);
        if (!mode)
            return TModeOptionResult::Invalid;
        WriteOperatingMode(users, *mode);
        return TModeOptionResult::Applied;
    }
    return TModeOptionResult::Absent;
}

} // namespace kalvero
