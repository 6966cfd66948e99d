#include "users/user_manager.h"

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "users/data_folder.h"

#include <QDate>
#include <algorithm>

namespace kalvero {

namespace {

const QString kLastUserKey = QStringLiteral("LastUser");
const QString kCreatedKey = QStringLiteral("Angelegt");

bool IsBlank(const QString& name) {
    return TrimName(name).isEmpty();
}

bool IsProgramSection(const QString& name) {
    return name.compare(QLatin1String(kProgramSection), Qt::CaseInsensitive) == 0;
}

} // namespace

QString UsersFilePath(const QString& dataFolder) {
    return dataFolder.endsWith('/') ? dataFolder + "users.ini" : dataFolder + "/users.ini";
}

QString TrimName(const QString& name) {
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name[begin].unicode() <= 32)
        ++begin;
    while (end > begin && name[end - 1].unicode() <= 32)
        --end;
    return name.mid(begin, end - begin);
}

QString UserFileName(const QString& user) {
    // Control characters inside the name (a NUL from an exchange file, a line break) would give
    // a file name that cannot be opened or is not what it looks like; they count as forbidden.
    QString name = TrimName(user);
    for (QChar& c : name)
        if (c.unicode() < 32 || QStringView(u"\"*/:<>?\\|").contains(c))
            c = '_';
    return name.isEmpty() ? QStringLiteral("Nutzer") : name;
}

TUserManager::TUserManager() : TUserManager(UsersFilePath(GetDataFolder())) {}

TUserManager::TUserManager(const QString& usersFile)
    : FIni(std::make_unique<TIniFile>(usersFile)) {}

TUserManager::~TUserManager() = default;

QString TUserManager::FileName() const {
    return FIni->Path();
}

void TUserManager::SaveUser(const QString& AUsername) {
    if (IsBlank(AUsername) || UserExists(AUsername))
        return;
    FIni->WriteString(AUsername, kCreatedKey,
                      QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
}

void TUserManager::DeleteUser(const QString& AUsername) {
    if (IsProgramSection(AUsername))
        return; // would take the program-wide settings with it
    FIni->EraseSection(AUsername);
    if (LastUser().compare(AUsername, Qt::CaseInsensitive) != 0)
        return;
    try {
        FIni->DeleteKey(QLatin1String(kProgramSection), kLastUserKey);
    } catch (const TWriteError&) {
        // A stale "LastUser" only preselects nobody; not worth an error.
    }
}

QStringList TUserManager::GetUsers() const {
    QStringList users = FIni->ReadSections();
    users.removeIf([](const QString& name) { return IsProgramSection(name) || IsBlank(name); });
    std::stable_sort(users.begin(), users.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return users;
}

bool TUserManager::UserExists(const QString& AUsername) const {
    return !IsBlank(AUsername) && FIni->SectionExists(AUsername);
}

QString TUserManager::LastUser() const {
    return FIni->ReadString(QLatin1String(kProgramSection), kLastUserKey);
}

void TUserManager::SetLastUser(const QString& AUsername) {
    FIni->WriteString(QLatin1String(kProgramSection), kLastUserKey, AUsername);
}

void TUserManager::SetValue(const QString& AUsername, const QString& AKey, const QString& AValue) {
    if (!IsBlank(AUsername))
        FIni->WriteString(AUsername, AKey, AValue);
}

QString TUserManager::GetValue(const QString& AUsername, const QString& AKey,
                               const QString& ADefault) const {
    if (IsBlank(AUsername))
        return ADefault;
    return FIni->ReadString(AUsername, AKey, ADefault);
}

void TUserManager::SetUserString(const QString& AKey, const QString& AValue) {
    SetValue(FCurrentUser, AKey, AValue);
}

QString TUserManager::GetUserString(const QString& AKey, const QString& ADefault) const {
    return GetValue(FCurrentUser, AKey, ADefault);
}

} // namespace kalvero
