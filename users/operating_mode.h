#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kalvero {

class TUserManager;

// The operating mode of the installation. It is stored as "Modus" = "Therapeut" or "Patient" in
// section "Programm" of the users file, written once at installation with the command-line
// option "--modus=therapeut" or "--modus=patient"; without the key the installation runs in
// therapist mode. No window changes it.
enum class TOperatingMode { Therapist, Patient };

TOperatingMode ReadOperatingMode(const TUserManager& users);
void WriteOperatingMode(TUserManager& users, TOperatingMode mode);

// "Therapeutenversion" or "Patientenversion".
QString OperatingModeCaption(TOperatingMode mode);

// The mode named by an option "--modus=therapeut" / "--modus=patient" (letter case ignored);
// nothing for any other argument or value.
bool IsOperatingModeOption(const QString& argument);
std::optional<TOperatingMode> ParseOperatingModeOption(const QString& argument);

enum class TModeOptionResult { Absent, Applied, Invalid };

// Looks for the option among the arguments; the last one given counts. Writes the mode when its
// value is valid (TWriteError when the users file cannot be written); Invalid writes nothing.
TModeOptionResult ApplyOperatingModeOption(TUserManager& users, const QStringList& arguments);

} // namespace kalvero
