#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "users/operating_mode.h"
#include "users/program_settings.h"
#include "users/user_manager.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kalvero;

namespace {

class UserManagerTest : public ::testing::Test {
protected:
    QTemporaryDir FDir;
    QString FPath = UsersFilePath(FDir.path());
    TUserManager FUsers{FPath};
};

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

TEST_F(UserManagerTest, EmptyOrMissingFileHasNoUsers) {
    EXPECT_EQ(FUsers.FileName(), FDir.path() + "/users.ini");
    EXPECT_TRUE(FUsers.GetUsers().isEmpty());
    EXPECT_EQ(FUsers.LastUser(), "");
    EXPECT_FALSE(QFile::exists(FPath));
    WriteFileAtomic(FPath, "");
    EXPECT_TRUE(FUsers.GetUsers().isEmpty());
    EXPECT_EQ(FUsers.LastUser(), "");
}

TEST_F(UserManagerTest, UsersAreSortedWithoutRegardToCaseAndProgrammIsNeverListed) {
    for (const char* name : {"berta", "Anton", "Carl"})
        FUsers.SaveUser(name);
    FUsers.SetLastUser("Carl");
    FUsers.SaveUser("Programm");
    EXPECT_EQ(FUsers.GetUsers(), (QStringList{"Anton", "berta", "Carl"}));
    EXPECT_TRUE(FUsers.UserExists("PROGRAMM"));
}

TEST_F(UserManagerTest, SaveUserKeepsAnExistingUserInAnyCase) {
    FUsers.SaveUser("Anton");
    EXPECT_EQ(FUsers.GetValue("Anton", "Angelegt"), QDate::currentDate().toString("dd.MM.yyyy"));
    FUsers.SetValue("Anton", "Angelegt", "01.01.2000");
    FUsers.SaveUser("ANTON");
    EXPECT_EQ(FUsers.GetUsers(), QStringList{"Anton"});
    EXPECT_EQ(FUsers.GetValue("anton", "Angelegt"), "01.01.2000");
    EXPECT_TRUE(FUsers.UserExists("aNTON"));
}

TEST_F(UserManagerTest, DeletingTheLastUserRemovesLastUser) {
    FUsers.SaveUser("Anton");
    FUsers.SaveUser("Berta");
    FUsers.SetLastUser("anton");
    FUsers.DeleteUser("Berta");
    EXPECT_EQ(FUsers.LastUser(), "anton");
    FUsers.DeleteUser("Anton");
    EXPECT_EQ(FUsers.LastUser(), "");
    EXPECT_TRUE(FUsers.GetUsers().isEmpty());
}

// The program-wide section carries the operating mode; deleting a "user" of that name must
// not take it away.
TEST_F(UserManagerTest, DeleteUserNeverRemovesTheProgramSection) {
    WriteOperatingMode(FUsers, TOperatingMode::Patient);
    FUsers.DeleteUser("programm");
    EXPECT_EQ(ReadOperatingMode(FUsers), TOperatingMode::Patient);
}

TEST_F(UserManagerTest, BlankNamesAreNeverWritten) {
    for (const QString& blank : {QString(), QString("   "), QString(" \t\r\n")}) {
        FUsers.SaveUser(blank);
        FUsers.SetValue(blank, "PauseNach", "5");
        EXPECT_FALSE(FUsers.UserExists(blank));
    }
    EXPECT_FALSE(QFile::exists(FPath));
    // Even a hand-made section of blanks is not read.
    TIniFile(FPath).WriteString("   ", "PauseNach", "5");
    EXPECT_EQ(FUsers.GetValue("   ", "PauseNach", "20"), "20");
    EXPECT_FALSE(FUsers.UserExists("   "));
    EXPECT_TRUE(FUsers.GetUsers().isEmpty());
}

TEST_F(UserManagerTest, NamesAreAddressedAsPassed) {
    FUsers.SaveUser(" Anton ");
    EXPECT_TRUE(FUsers.UserExists(" Anton "));
    EXPECT_FALSE(FUsers.UserExists("Anton"));
    EXPECT_EQ(FUsers.GetUsers(), QStringList{" Anton "});
}

TEST_F(UserManagerTest, OddNamesRoundTripAndStayApart) {
    const QStringList names = {U("Müller"), "a[b]",  "x=y", ";c", "#d", U("Ärger]\n[Programm"),
                               "50%",       U("Zoë")};
    for (const QString& name : names) {
        FUsers.SaveUser(name);
        FUsers.SetValue(name, "PauseNach", name);
    }
    FUsers.SetLastUser(U("Ärger]\n[Programm"));
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(FUsers.GetUsers(), sorted);
    for (const QString& name : names)
        EXPECT_EQ(FUsers.GetValue(name, "PauseNach"), name) << name.toStdString();
    FUsers.DeleteUser("a[b]");
    EXPECT_EQ(FUsers.GetUsers().size(), names.size() - 1);
    EXPECT_EQ(FUsers.LastUser(), U("Ärger]\n[Programm"));
}

TEST_F(UserManagerTest, TwoManagersSeeEachOthersWrites) {
    TUserManager other(FPath);
    FUsers.SaveUser("Anton");
    other.SetValue("Anton", "Suchaufgabe", "1");
    EXPECT_EQ(FUsers.GetValue("Anton", "Suchaufgabe", "0"), "1");
    EXPECT_EQ(other.GetUsers(), QStringList{"Anton"});
}

TEST_F(UserManagerTest, UserStringsGoToTheCurrentUser) {
    EXPECT_EQ(FUsers.CurrentUser(), "");
    FUsers.SetUserString("PauseNach", "5"); // no current user: nothing written
    EXPECT_FALSE(QFile::exists(FPath));
    FUsers.SetCurrentUser("Anton");
    FUsers.SetUserString("PauseNach", "15");
    EXPECT_EQ(FUsers.GetValue("Anton", "PauseNach"), "15");
    EXPECT_EQ(FUsers.GetUserString("Suchaufgabe", "0"), "0");
}

TEST_F(UserManagerTest, LongValuesAreCutTo2047Characters) {
    FUsers.SetValue("Anton", "Einstellungen", QString(5000, 'j'));
    EXPECT_EQ(FUsers.GetValue("Anton", "Einstellungen").size(), 2047);
}

TEST_F(UserManagerTest, RefusedWriteRaisesErrorNamingTheFile) {
    QDir(FDir.path()).mkdir("users.ini");
    try {
        FUsers.SaveUser("Anton");
        FAIL() << "expected TWriteError";
    } catch (const TWriteError& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), "In " + FPath + " kann nicht geschrieben werden");
    }
}

TEST(UserFileName, BuildsFileNameForm) {
    const std::pair<const char*, const char*> cases[] = {
        {"Max/Moritz", "Max_Moritz"},
        {" a:b? ", "a_b_"},
        {"???", "___"},
        {"   ", "Nutzer"},
        {"", "Nutzer"},
        {"\"*/:<>?\\|", "_________"},
        {"\t Jürgen Groß \r\n", "Jürgen Groß"},
        {"日本", "日本"},
        {"Anna\tBerg\r\nX\x01Y", "Anna_Berg__X_Y"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(UserFileName(U(name)), U(expected)) << name;
    // A NUL inside the name, as an exchange file may carry it, never reaches a file name.
    EXPECT_EQ(UserFileName(QString::fromUtf8("An\0na", 5)), "An_na");
}

TEST_F(UserManagerTest, TaktAndFeinDefaultToOn) {
    EXPECT_TRUE(ReadTaktMode(FUsers));
    EXPECT_TRUE(ReadFeinMode(FUsers));
    WriteTaktMode(FUsers, false);
    EXPECT_FALSE(ReadTaktMode(FUsers));
    EXPECT_TRUE(ReadFeinMode(FUsers));
    EXPECT_EQ(FUsers.GetValue("Programm", "Takt"), "0");
    FUsers.SetValue("Programm", "Fein", "kaputt");
    EXPECT_TRUE(ReadFeinMode(FUsers));
}

TEST_F(UserManagerTest, OperatingModeDefaultsToTherapistAndIsSetByOption) {
    EXPECT_EQ(ReadOperatingMode(FUsers), TOperatingMode::Therapist);
    EXPECT_EQ(ApplyOperatingModeOption(FUsers, {"-eigenedateien"}), TModeOptionResult::Absent);
    EXPECT_FALSE(QFile::exists(FPath));
    EXPECT_EQ(ApplyOperatingModeOption(FUsers, {"--modus=therapeut", "--Modus=PATIENT"}),
              TModeOptionResult::Applied);
    EXPECT_EQ(ReadOperatingMode(FUsers), TOperatingMode::Patient);
    EXPECT_EQ(FUsers.GetValue("Programm", "Modus"), "Patient");
    EXPECT_EQ(ApplyOperatingModeOption(FUsers, {"--modus=chef"}), TModeOptionResult::Invalid);
    EXPECT_EQ(ReadOperatingMode(FUsers), TOperatingMode::Patient);
    EXPECT_EQ(ApplyOperatingModeOption(FUsers, {"--modus=Therapeut"}), TModeOptionResult::Applied);
    EXPECT_EQ(ReadOperatingMode(FUsers), TOperatingMode::Therapist);
    EXPECT_EQ(OperatingModeCaption(TOperatingMode::Patient), "Patientenversion");
    EXPECT_EQ(OperatingModeCaption(TOperatingMode::Therapist), "Therapeutenversion");
}
