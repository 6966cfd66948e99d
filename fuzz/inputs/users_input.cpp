#include "fuzz/inputs/fuzz_support.h"
#include "fuzz/inputs/one_input.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "users/user_manager.h"

#include <QMap>
#include <utility>

namespace kalvero::fuzz {

namespace {

// Every value of the file by its section and key, both folded to lower case as the file compares
// them.
using TValues = QMap<std::pair<QString, QString>, QString>;

TValues AllValues(const TIniFile& ini) {
    TValues values;
    for (const QString& section : ini.ReadSections())
        for (const QString& key : ini.ReadKeys(section))
            values.insert({section.toCaseFolded(), key.toCaseFolded()},
                          ini.ReadString(section, key));
    return values;
}

QString Cut(const QString& value) {
    if (value.size() <= TIniFile::MaxValueLength)
        return value;
    QString cut = value.left(TIniFile::MaxValueLength);
    if (cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}

void CheckReads(TFindings& findings, const TUserManager& users, const TIniFile& ini) {
    const QStringList list = users.GetUsers();
    for (qsizetype i = 0; i < list.size(); ++i) {
        findings.Check(list[i].compare(QLatin1String(kProgramSection), Qt::CaseInsensitive) != 0,
                       "the program section is listed as a user");
        findings.Check(users.UserExists(list[i]), "listed user does not exist: " + Shown(list[i]));
        if (i > 0)
            findings.Check(list[i - 1].compare(list[i], Qt::CaseInsensitive) <= 0,
                           "users not sorted");
    }
    users.LastUser();
    for (const QString& section : ini.ReadSections())
        for (const QString& key : ini.ReadKeys(section))
            findings.Check(ini.ReadString(section, key).size() <= TIniFile::MaxValueLength,
                           "value longer than the limit");
}

// Values the write did not address must read as before.
void CheckOthersKept(TFindings& findings, const TValues& before, const TValues& after,
                     const std::pair<QString, QString>& written, const char* what) {
    for (auto it = before.begin(); it != before.end(); ++it) {
        if (it.key() == written)
            continue;
        const auto found = after.find(it.key());
        findings.Check(found != after.end() && found.value() == it.value(),
                       std::string(what) + " changed [" + Shown(it.key().first) + "] " +
                           Shown(it.key().second));
    }
    for (auto it = after.begin(); it != after.end(); ++it)
        findings.Check(it.key() == written || before.contains(it.key()),
                       std::string(what) + " added [" + Shown(it.key().first) + "] " +
                           Shown(it.key().second));
}

void CheckWrite(TFindings& findings, TUserManager& users, const TIniFile& ini, const QString& user,
                const QString& key, const QString& value) {
    const TValues before = AllValues(ini);
    try {
        users.SetValue(user, key, value);
    } catch (const TWriteError& error) {
        findings.Fail(std::string("SetValue failed: ") + error.what());
        return;
    }
    const QString read = users.GetValue(user, key, QStringLiteral("\x01missing"));
    if (TrimName(user).isEmpty()) {
        findings.Check(read == QStringLiteral("\x01missing"), "a blank user has a value");
        return;
    }
    findings.Check(read == Cut(value), "value read back differs: " + Shown(read.left(80)) + " / " +
                                           Shown(value.left(80)));
    findings.Check(users.UserExists(user), "user with a value does not exist");
    CheckOthersKept(findings, before, AllValues(ini), {user.toCaseFolded(), key.toCaseFolded()},
                    "writing a value");
}

void CheckSaveAndDelete(TFindings& findings, TUserManager& users, const TIniFile& ini,
                        const QString& user) {
    QByteArray before, after;
    ReadWholeFile(ini.Path(), before);
    users.SaveUser(user); // exists already: nothing to write
    ReadWholeFile(ini.Path(), after);
    findings.Check(before == after, "SaveUser of an existing user changed the file");

    const TValues values = AllValues(ini);
    const bool program = user.compare(QLatin1String(kProgramSection), Qt::CaseInsensitive) == 0;
    users.DeleteUser(user);
    findings.Check(program == users.UserExists(user), "DeleteUser left the user");
    if (program)
        return;
    TValues kept;
    for (auto it = values.begin(); it != values.end(); ++it)
        if (it.key().first != user.toCaseFolded())
            kept.insert(it.key(), it.value());
    const QString last = QStringLiteral("lastuser");
    const std::pair<QString, QString> lastKey{QString(kProgramSection).toCaseFolded(), last};
    if (values.value(lastKey).compare(user, Qt::CaseInsensitive) == 0)
        kept.remove(lastKey);
    CheckOthersKept(findings, kept, AllValues(ini), {}, "deleting a user");
}

} // namespace

// Parts: the users file, a user name, a key, a value.
std::string UsersInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<QByteArray> parts = SplitParts(data, size, 4);
    const auto part = [&](std::size_t i) {
        return i < parts.size() ? QString::fromUtf8(parts[i]) : QString();
    };
    const QString path = FreshScratchFolder() + "users.ini";
    if (!WriteBytes(path, parts[0]))
        return "scratch file cannot be written";
    TFindings findings;
    TUserManager users(path);
    const TIniFile ini(path);
    CheckReads(findings, users, ini);

    const QString user = part(1).isEmpty() ? QStringLiteral("Anna") : part(1).left(200);
    const QString key = part(2).isEmpty() ? QStringLiteral("Einstellungen") : part(2).left(200);
    CheckWrite(findings, users, ini, user, key, part(3));
    CheckReads(findings, users, ini);
    if (!TrimName(user).isEmpty())
        CheckSaveAndDelete(findings, users, ini, user);
    return findings.Text();
}

} // namespace kalvero::fuzz
