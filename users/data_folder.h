#pragma once

#include <QString>
#include <QStringList>

namespace kalvero {

// The data folder holds everything the program writes: "users.ini", "Protokolle/", "Plaene/" and
// "Profile/". It is the program folder when that can be written and the switch "-eigenedateien"
// (or "/eigenedateien") is absent; otherwise "Kalvero4/" in the user's documents folder, which
// takes over the data of the program folder the first time it is used.
// Every folder handed out here ends with "/".

// The data folder; resolved on the first call, the same path for the rest of the process.
QString GetDataFolder();
QString GetProtocolFolder(); // GetDataFolder() + "Protokolle/"
QString GetPlansFolder();    // GetDataFolder() + "Plaene/"
QString GetProfilesFolder(); // GetDataFolder() + "Profile/"
// GetPlansFolder() + UserFileName(user) + ".kvplan"
QString GetUserPlanFile(const QString& user);

// Sets the process-wide data folder instead of resolving it (tests, kalvero4-tool --data DIR).
// A trailing separator is added; an empty folder makes the next GetDataFolder() resolve anew.
void OverrideDataFolder(const QString& folder);

// The resolution itself, on explicit inputs. programFolder is the folder of the executable,
// documentsFolder the user's documents folder ("" when there is none: the program folder takes
// its place), arguments the command-line arguments without the program path.
QString ResolveDataFolder(const QString& programFolder, const QString& documentsFolder,
                          const QStringList& arguments);

// True when an argument equals "/eigenedateien" or "-eigenedateien", in any letter case.
bool HasOwnFilesSwitch(const QStringList& arguments);

// The user's documents folder as the platform reports it, else $HOME, else "".
QString UserDocumentsFolder();

// True if files can be created in the folder, which is created with its parents if needed.
// The probe file "schreibprobe.tmp" never stays behind.
bool WriteProbe(const QString& folder);

// Takes the data of the program folder over into a new documents data folder: "users.ini" and
// the plain files of "Protokolle/", "Plaene/", "Profile/". Does nothing once the data folder
// holds an entry named "users.ini" (file or folder). Nothing existing is overwritten.
void MigrateData(const QString& programFolder, const QString& dataFolder);

// Copies every entry of source that is not a folder into target (created with its parents),
// never overwriting; not recursive; failed copies are skipped. Nothing when source is missing.
void CopyFolderFiles(const QString& source, const QString& target);

} // namespace kalvero
