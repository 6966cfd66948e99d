#include "platform/atomic_file.h"
#include "users/data_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kalvero;

namespace {

// A program folder P and a documents folder under one temporary folder.
class DataFolderTest : public ::testing::Test {
protected:
    QTemporaryDir FDir;
    QString FProgram = FDir.filePath("prog") + '/';
    QString FDocuments = FDir.filePath("docs");
    QString FOwn = FDocuments + "/Kalvero4/";

    void SetUp() override {
        QDir().mkpath(FProgram);
        QDir().mkpath(FDocuments);
    }

    static void Put(const QString& path, const QByteArray& data = "x") {
        WriteFileAtomic(path, data);
    }
    static QByteArray Content(const QString& path) {
        QByteArray data;
        ReadWholeFile(path, data);
        return data;
    }
    // Files (hidden included) and folders directly in a folder.
    static QStringList Entries(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    // A folder where the probe file would go keeps the probe from being created, even as root.
    void ProtectProgramFolder() { QDir(FProgram).mkdir("schreibprobe.tmp"); }
    void FillProgramFolder() {
        Put(FProgram + "users.ini", "[Anton]\nAngelegt=01.01.2020\n");
        Put(FProgram + "Protokolle/Anton.csv");
        Put(FProgram + "Protokolle/alt/Anton.csv");
        Put(FProgram + "Plaene/Anton.kvplan");
        Put(FProgram + "Profile/Ruhig.json");
        Put(FProgram + "Profile/.versteckt.seq");
    }
    QString Resolve(const QStringList& arguments = {}) {
        return ResolveDataFolder(FProgram, FDocuments, arguments);
    }
};

} // namespace

TEST_F(DataFolderTest, WritableProgramFolderIsUsedAndNothingIsCopied) {
    FillProgramFolder();
    EXPECT_EQ(Resolve({"irgendwas"}), FProgram);
    EXPECT_TRUE(Entries(FDocuments).isEmpty());
    EXPECT_FALSE(QFile::exists(FProgram + "schreibprobe.tmp"));
}

TEST_F(DataFolderTest, ProtectedProgramFolderMovesToDocumentsAndTakesDataOver) {
    FillProgramFolder();
    ProtectProgramFolder();
    EXPECT_EQ(Resolve(), FOwn);
    EXPECT_EQ(Entries(FOwn), (QStringList{"Plaene", "Profile", "Protokolle", "users.ini"}));
    EXPECT_EQ(Content(FOwn + "users.ini"), Content(FProgram + "users.ini"));
    EXPECT_EQ(Entries(FOwn + "Protokolle"), QStringList{"Anton.csv"}); // "alt/" not copied
    EXPECT_EQ(Entries(FOwn + "Plaene"), QStringList{"Anton.kvplan"});
    EXPECT_EQ(Entries(FOwn + "Profile"), (QStringList{".versteckt.seq", "Ruhig.json"}));
}

TEST_F(DataFolderTest, LaterStartsCopyOnlyMissingProfiles) {
    FillProgramFolder();
    ProtectProgramFolder();
    Resolve();
    QFile::remove(FOwn + "Profile/Ruhig.json");
    Put(FOwn + "Profile/.versteckt.seq", "eigene Fassung");
    Put(FOwn + "users.ini", "[Berta]\nAngelegt=02.02.2022\n");
    Put(FProgram + "Protokolle/Neu.csv");
    Put(FProgram + "Profile/Neu.json");

    EXPECT_EQ(Resolve(), FOwn);
    EXPECT_EQ(Entries(FOwn + "Profile"), (QStringList{".versteckt.seq", "Neu.json", "Ruhig.json"}));
    EXPECT_EQ(Content(FOwn + "Profile/.versteckt.seq"), "eigene Fassung");
    EXPECT_EQ(Content(FOwn + "users.ini"), "[Berta]\nAngelegt=02.02.2022\n");
    EXPECT_FALSE(QFile::exists(FOwn + "Protokolle/Neu.csv"));
}

TEST_F(DataFolderTest, SwitchChoosesDocumentsFolderInAnySpellingAndPosition) {
    const QStringList spellings[] = {{"-eigenedateien"},
                                     {"/EIGENEDATEIEN"},
                                     {"datei.kvplan", "-EigeneDateien"},
                                     {"/eigeneDATEIEN", "-x"}};
    for (const QStringList& arguments : spellings) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        QDir(FOwn).removeRecursively();
        FillProgramFolder();
        EXPECT_EQ(Resolve(arguments), FOwn);
        EXPECT_TRUE(QFile::exists(FOwn + "users.ini"));
    }
}

TEST(OwnFilesSwitch, OnlyTheExactWordCounts) {
    EXPECT_FALSE(HasOwnFilesSwitch({}));
    for (const char* arg :
         {"--eigenedateien", "eigenedateien", "-eigenedateien=1", "-eigene", " -eigenedateien"})
        EXPECT_FALSE(HasOwnFilesSwitch({arg})) << arg;
}

TEST_F(DataFolderTest, UnusableDocumentsFolderFallsBackToProgramFolder) {
    FillProgramFolder();
    QDir(FDocuments).removeRecursively();
    Put(FDocuments, "eine Datei, kein Ordner");
    EXPECT_EQ(Resolve({"-eigenedateien"}), FProgram);
    ProtectProgramFolder();
    EXPECT_EQ(Resolve(), FProgram);
}

TEST_F(DataFolderTest, NoDocumentsFolderUsesProgramFolderAsBase) {
    EXPECT_EQ(ResolveDataFolder(FProgram, QString(), {"-eigenedateien"}), FProgram + "Kalvero4/");
}

TEST_F(DataFolderTest, FolderNamedUsersIniSuppressesMigration) {
    FillProgramFolder();
    QDir().mkpath(FOwn + "users.ini");
    EXPECT_EQ(Resolve({"-eigenedateien"}), FOwn);
    EXPECT_FALSE(QFile::exists(FOwn + "Protokolle"));
    EXPECT_FALSE(QFile::exists(FOwn + "Plaene"));
    EXPECT_TRUE(QFile::exists(FOwn + "Profile/Ruhig.json")); // profiles still arrive
}

TEST_F(DataFolderTest, WriteProbeCreatesFoldersAndLeavesNoFile) {
    EXPECT_TRUE(WriteProbe(FDocuments + "/a/b/c"));
    EXPECT_TRUE(QFileInfo(FDocuments + "/a/b/c").isDir());
    EXPECT_TRUE(Entries(FDocuments + "/a/b/c").isEmpty());
    // A probe left behind by a crash is replaced and removed.
    Put(FDocuments + "/schreibprobe.tmp", "alt");
    EXPECT_TRUE(WriteProbe(FDocuments));
    EXPECT_FALSE(QFile::exists(FDocuments + "/schreibprobe.tmp"));

    EXPECT_FALSE(WriteProbe(QString()));
    Put(FDocuments + "/datei");
    EXPECT_FALSE(WriteProbe(FDocuments + "/datei"));
    EXPECT_FALSE(WriteProbe(FDocuments + "/datei/unter"));
}

TEST_F(DataFolderTest, CopyFolderFilesNeedsASourceAndNeverOverwrites) {
    CopyFolderFiles(FProgram + "fehlt/", FDocuments + "/ziel/");
    EXPECT_FALSE(QFile::exists(FDocuments + "/ziel"));

    Put(FProgram + "q/a.txt", "neu");
    Put(FProgram + "q/b.txt", "neu");
    Put(FProgram + "q/sub/c.txt");
    Put(FDocuments + "/ziel/a.txt", "alt");
    CopyFolderFiles(FProgram + "q/", FDocuments + "/ziel/");
    EXPECT_EQ(Entries(FDocuments + "/ziel"), (QStringList{"a.txt", "b.txt"}));
    EXPECT_EQ(Content(FDocuments + "/ziel/a.txt"), "alt");
    EXPECT_EQ(Content(FDocuments + "/ziel/b.txt"), "neu");
}

TEST_F(DataFolderTest, FailedCopiesAreSkipped) {
    Put(FProgram + "q/a.txt");
    Put(FProgram + "q/b.txt");
    QFile::link(FProgram + "q/nirgends", FProgram + "q/kaputt.lnk");
    QDir().mkpath(FDocuments + "/ziel/a.txt"); // a folder where a file should go
    CopyFolderFiles(FProgram + "q", FDocuments + "/ziel");
    EXPECT_TRUE(QFileInfo(FDocuments + "/ziel/a.txt").isDir());
    EXPECT_TRUE(QFile::exists(FDocuments + "/ziel/b.txt"));
}

TEST_F(DataFolderTest, FoldersEndWithSeparator) {
    OverrideDataFolder(FDocuments);
    EXPECT_EQ(GetDataFolder(), FDocuments + "/");
    EXPECT_EQ(GetProtocolFolder(), FDocuments + "/Protokolle/");
    EXPECT_EQ(GetPlansFolder(), FDocuments + "/Plaene/");
    EXPECT_EQ(GetProfilesFolder(), FDocuments + "/Profile/");
    EXPECT_EQ(GetUserPlanFile("Max/Moritz"), FDocuments + "/Plaene/Max_Moritz.kvplan");
    EXPECT_EQ(GetUserPlanFile(" "), FDocuments + "/Plaene/Nutzer.kvplan");
    OverrideDataFolder(QString());
}

TEST_F(DataFolderTest, ResolvedOncePerProcess) {
    const QByteArray oldProgramDir = qgetenv("KALVERO_PROGRAM_DIR");
    OverrideDataFolder(QString());
    qputenv("KALVERO_PROGRAM_DIR", FProgram.toUtf8());
    EXPECT_EQ(GetDataFolder(), FProgram);
    qputenv("KALVERO_PROGRAM_DIR", FDocuments.toUtf8());
    EXPECT_EQ(GetDataFolder(), FProgram);
    qputenv("KALVERO_PROGRAM_DIR", oldProgramDir);
    OverrideDataFolder(QString());
}
