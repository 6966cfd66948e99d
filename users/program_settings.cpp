#include "users/program_settings.h"

#include "users/user_manager.h"

namespace kalvero {

namespace {

bool ReadFlag(const TUserManager& users, const char* key, bool defaultValue) {
    const QString value = users.GetValue(QLatin1String(kProgramSection), QLatin1String(key));
    if (value == QLatin1String("1"))
        return true;
    if (value == QLatin1String("0"))
        return false;
    return defaultValue;
}

void WriteFlag(TUserManager& users, const char* key, bool on) {
    users.SetValue(QLatin1String(kProgramSection), QLatin1String(key),
                   on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

bool ReadTaktMode(const TUserManager& users) {
    return ReadFlag(users, "Takt", true);
}

bool ReadFeinMode(const TUserManager& users) {
    return ReadFlag(users, "Fein", true);
}

void WriteTaktMode(TUserManager& users, bool on) {
    WriteFlag(users, "Takt", on);
}

void WriteFeinMode(TUserManager& users, bool on) {
    WriteFlag(users, "Fein", on);
}

} // namespace kalvero
