#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace kalvero {

class TIniFile;

// The section of the users file that holds the program-wide keys.
inline constexpr const char* kProgramSection = "Programm";

// The users file "users.ini": one section per user with text values, plus the program-wide
// section "Programm". Every call goes straight to the file, so several managers on one file
// always agree. Writes the file system refuses throw TWriteError ("In %s kann nicht geschrieben
// werden"), which is left to the caller.
//
// A blank user name (nothing but characters up to code 32) is never written and never exists;
// otherwise a user's section is addressed by the name exactly as passed, without regard to case.
class TUserManager {
public:
    // The users file in the data folder (GetDataFolder() + "users.ini").
    TUserManager();
    // The users file at an explicit path (tests, tools).
    explicit TUserManager(const QString& usersFile);
    ~TUserManager();
    TUserManager(const TUserManager&) = delete;
    TUserManager& operator=(const TUserManager&) = delete;

    QString FileName() const;

    // Registers the user with "Angelegt" = today ("dd.mm.yyyy") unless blank or already there.
    void SaveUser(const QString& AUsername);
    // Removes the user's section, and "LastUser" when it names this user. Files of the user in
    // the data folder stay. The section "Programm" is never removed this way.
    void DeleteUser(const QString& AUsername);
    // All users (sections other than "Programm"), sorted without regard to case. A section with
    // a blank name (only by hand-editing) is no user: it could never be addressed.
    QStringList GetUsers() const;
    bool UserExists(const QString& AUsername) const;

    QString LastUser() const;
    void SetLastUser(const QString& AUsername);

    void SetValue(const QString& AUsername, const QString& AKey, const QString& AValue);
    QString GetValue(const QString& AUsername, const QString& AKey,
                     const QString& ADefault = QString()) const;

    // The same for CurrentUser().
    void SetUserString(const QString& AKey, const QString& AValue);
    QString GetUserString(const QString& AKey, const QString& ADefault = QString()) const;

    const QString& CurrentUser() const { return FCurrentUser; }
    void SetCurrentUser(const QString& user) { FCurrentUser = user; }

private:
    std::unique_ptr<TIniFile> FIni;
    QString FCurrentUser;
};

// "users.ini" in the given folder.
QString UsersFilePath(const QString& dataFolder);

// The name without the characters up to code 32 at both ends; decides whether a name is blank.
QString TrimName(const QString& name);

// The file-name form of a user name, from which every per-user file name is built:
// characters up to code 32 are removed from both ends, then the characters " * / : < > ? \ | and
// control characters become "_", and an empty result becomes "Nutzer".
QString UserFileName(const QString& user);

} // namespace kalvero
