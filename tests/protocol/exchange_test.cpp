#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "protocol/exchange.h"
#include "protocol/lines.h"
#include "protocol/store.h"
#include "protocol/text_file.h"
#include "users/user_manager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kalvero {
namespace {

const QByteArray Bom("\xEF\xBB\xBF");

QByteArray Bytes(const QString& path) {
    QByteArray data;
    ReadWholeFile(path, data);
    return data;
}

ino_t Inode(const QString& path) {
    struct stat info {};
    stat(QFile::encodeName(path).constData(), &info);
    return info.st_ino;
}

QString RunLine(int hour, const char* name = "Standard") {
    return QStringLiteral("07.03.2025;%1:00:00;5,0;Profil;%2;Wiese;Fisch;20;3;nach links;gleich;"
                          "nein;aus;;;;;;;;;;;;;;;0;Esc;nein;nein")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(QString::fromUtf8(name));
}

const QString StimLine = QStringLiteral("07.03.2025;09:00:00;1;12,3;1;63;rechts;Reaktion;512");
const QString SearchLine = QStringLiteral(
    "07.03.2025;09:00:10;07.03.2025 09:00:10;vorher;K;60;8;8;7;8;1;0;2;61,4;;Fertig;");

class ExchangeTest : public testing::Test {
protected:
    ExchangeTest() : FStore(FDir.filePath("Protokolle")) {}

    QString Path(const QString& name) const { return FDir.filePath(name); }

    QString ExchangeFile(const QString& user, const QStringList& runs,
                         const QStringList& stimuli = {}, const QStringList& tests = {}) {
        const QString file = Path(user + ".kvprot");
        QStringList lines{"KALVERO4-PROTOKOLL;1", "Nutzer;" + user, "Exportiert;07.03.2025 12:00",
                          "[Durchgaenge]"};
        lines << runs << "[Reize]" << stimuli << "[Suchaufgabe]" << tests;
        WriteTextFile(file, JoinLines(lines));
        return file;
    }

    QTemporaryDir FDir;
    TProtocolStore FStore;
};

TEST_F(ExchangeTest, ExportWritesHeadingsAndDataLinesOfAllThreeFiles) {
    WriteTextFile(FStore.RunFileName("Anna"), JoinLines({RunFileHeader(), RunLine(9), ""}));
    WriteTextFile(PendingFileName(FStore.RunFileName("Anna")), JoinLines({RunLine(10)}));
    WriteTextFile(FStore.StimulusFileName("Anna"), JoinLines({StimulusFileHeader(), StimLine}));
    const QByteArray runBytes = Bytes(FStore.RunFileName("Anna"));

    const QString file = Path("out.kvprot");
    ASSERT_TRUE(
        ExportProtocol(FStore, "Anna", file, QDateTime(QDate(2025, 3, 7), QTime(14, 30, 59))));
    EXPECT_EQ(Bytes(file),
              Bom + JoinLines({"KALVERO4-PROTOKOLL;1", "Nutzer;Anna", "Exportiert;07.03.2025 14:30",
                               "[Durchgaenge]", RunLine(9), RunLine(10), "[Reize]", StimLine,
                               "[Suchaufgabe]"})
                        .toUtf8());
    EXPECT_EQ(Bytes(FStore.RunFileName("Anna")), runBytes);
}

TEST_F(ExchangeTest, ExportNameWithSemicolonIsProposedWithComma) {
    const QString file = Path("out.kvprot");
    ASSERT_TRUE(ExportProtocol(FStore, "Anna;B", file, QDateTime::currentDateTime()));
    EXPECT_EQ(ExchangeFileUser(file), QStringLiteral("Anna,B"));
}

TEST_F(ExchangeTest, ExportFailureIsReported) {
    QDir(FDir.path()).mkdir("out.kvprot");
    EXPECT_FALSE(ExportProtocol(FStore, "Anna", Path("out.kvprot"), QDateTime::currentDateTime()));
}

struct TUserCase {
    const char* content;
    const char* user;
};

class ExchangeFileUserTest : public testing::TestWithParam<TUserCase> {};

TEST_P(ExchangeFileUserTest, ReadsSecondLineOfExchangeFilesOnly) {
    QTemporaryDir dir;
    const QString file = dir.filePath("x.kvprot");
    WriteTextFile(file, QString::fromUtf8(GetParam().content));
    EXPECT_EQ(ExchangeFileUser(file), QString::fromUtf8(GetParam().user));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExchangeFileUserTest,
    testing::Values(TUserCase{"KALVERO4-PROTOKOLL;1\r\nNutzer;Anna\r\n", "Anna"},
                    TUserCase{"KALVERO4-PROTOKOLL;2\r\nNutzer;  Anna B \r\n", "Anna B"},
                    TUserCase{"kalvero4-protokoll;1\r\nNutzer;Anna\r\n", ""},
                    TUserCase{"KALVERO4-PROTOKOLL;1\r\nnutzer;Anna\r\n", ""},
                    TUserCase{"KALVERO4-PROTOKOLL;1\r\n", ""}, TUserCase{"", ""}));

TEST(ExchangeFileUser, MissingFileIsNoExchangeFile) {
    EXPECT_EQ(ExchangeFileUser("/nonexistent/x.kvprot"), QString());
}

TEST_F(ExchangeTest, SameFileTwiceAddsNothingTheSecondTime) {
    const QString file = ExchangeFile("Anna", {RunLine(9), RunLine(10)}, {StimLine}, {SearchLine});
    int newRuns = -1;
    ASSERT_TRUE(ImportProtocol(FStore, file, "Anna", newRuns));
    EXPECT_EQ(newRuns, 2);
    const QStringList files{FStore.RunFileName("Anna"), FStore.StimulusFileName("Anna"),
                            FStore.SearchTestFileName("Anna")};
    std::vector<QByteArray> before;
    std::vector<ino_t> inodes;
    for (const QString& f : files) {
        before.push_back(Bytes(f));
        inodes.push_back(Inode(f));
    }
    ASSERT_TRUE(ImportProtocol(FStore, file, "Anna", newRuns));
    EXPECT_EQ(newRuns, 0);
    for (int i = 0; i < files.size(); ++i) {
        EXPECT_EQ(Bytes(files[i]), before[i]);
        EXPECT_EQ(Inode(files[i]), inodes[i]) << "file was rewritten";
    }
}

TEST_F(ExchangeTest, NewLinesAreAppendedInFileOrderAfterKnownOnes) {
    const QString runFile = FStore.RunFileName("Anna");
    QDir().mkpath(FStore.Folder());
    QFile raw(runFile); // an old file without byte order mark
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write((RunFileHeader() + "\r\n" + RunLine(9) + "\r\n" + RunLine(10) + "\n").toUtf8());
    raw.close();
    const QString file =
        ExchangeFile("Anna", {RunLine(12), RunLine(9), RunLine(11), RunLine(10), RunLine(12)});
    int newRuns = 0;
    ASSERT_TRUE(ImportProtocol(FStore, file, "Anna", newRuns));
    EXPECT_EQ(newRuns, 2);
    EXPECT_EQ(Bytes(runFile),
              Bom + JoinLines({RunFileHeader(), RunLine(9), RunLine(10), RunLine(12), RunLine(11)})
                        .toUtf8());
}

TEST_F(ExchangeTest, LineDifferingOnlyInLetterCaseIsKnown) {
    int added = -1;
    WriteTextFile(FStore.RunFileName("Anna"), JoinLines({RunFileHeader(), RunLine(9, "Plan")}));
    ASSERT_TRUE(MergeLines(FStore.RunFileName("Anna"), RunFileHeader(),
                           {RunLine(9, "PLAN"), RunLine(9, "plan"), RunLine(10)}, added));
    EXPECT_EQ(added, 1);
}

TEST_F(ExchangeTest, PendingLinesAreMergedAndThePendingFileGoes) {
    const QString runFile = FStore.RunFileName("Anna");
    WriteTextFile(runFile, JoinLines({RunFileHeader(), RunLine(9)}));
    WriteTextFile(PendingFileName(runFile), JoinLines({RunLine(10)}));
    int newRuns = 0;
    ASSERT_TRUE(
        ImportProtocol(FStore, ExchangeFile("Anna", {RunLine(10), RunLine(11)}), "Anna", newRuns));
    EXPECT_EQ(newRuns, 1);
    EXPECT_FALSE(QFile::exists(PendingFileName(runFile)));
    EXPECT_EQ(Bytes(runFile),
              Bom + JoinLines({RunFileHeader(), RunLine(9), RunLine(10), RunLine(11)}).toUtf8());
}

TEST_F(ExchangeTest, StimulusAndSearchLinesMergeWithoutCounting) {
    int newRuns = -1;
    ASSERT_TRUE(ImportProtocol(FStore, ExchangeFile("Anna", {}, {StimLine}, {SearchLine}), "Bert",
                               newRuns));
    EXPECT_EQ(newRuns, 0);
    EXPECT_FALSE(QFile::exists(FStore.RunFileName("Bert"))); // empty section writes nothing
    EXPECT_EQ(Bytes(FStore.StimulusFileName("Bert")),
              Bom + JoinLines({StimulusFileHeader(), StimLine}).toUtf8());
    EXPECT_EQ(FStore.LoadSearchTests("Bert").size(), 1u);
}

TEST_F(ExchangeTest, LinesOutsideSectionsAndBlankLinesAreIgnored) {
    const QString file = Path("x.kvprot");
    WriteTextFile(file, JoinLines({"KALVERO4-PROTOKOLL;1", "Nutzer;Anna", RunLine(8), "",
                                   "[Durchgaenge]", "  ", RunLine(9), "[durchgaenge]"}));
    int newRuns = 0;
    ASSERT_TRUE(ImportProtocol(FStore, file, "Anna", newRuns));
    // "[durchgaenge]" is no heading (letter case counts), so it is a line of the section.
    EXPECT_EQ(ReadDataLines(FStore.RunFileName("Anna")),
              (QStringList{RunLine(9), "[durchgaenge]"}));
    EXPECT_EQ(newRuns, 2);
}

TEST_F(ExchangeTest, NoExchangeFileChangesNothing) {
    const QString file = Path("x.kvprot");
    WriteTextFile(file,
                  JoinLines({"kalvero4-protokoll;1", "Nutzer;Anna", "[Durchgaenge]", RunLine(9)}));
    int newRuns = 0;
    EXPECT_FALSE(ImportProtocol(FStore, file, "Anna", newRuns));
    EXPECT_FALSE(QDir(FStore.Folder()).exists());
}

TEST_F(ExchangeTest, HeldTargetFileFailsAndStaysAsItWas) {
    const QString runFile = FStore.RunFileName("Anna");
    const QString stimFile = FStore.StimulusFileName("Anna");
    WriteTextFile(stimFile, JoinLines({StimulusFileHeader()}));
    WriteTextFile(PendingFileName(stimFile), JoinLines({StimLine}));
    const QByteArray stimBytes = Bytes(stimFile);
    TLockedFile spreadsheet;
    ASSERT_EQ(spreadsheet.Open(stimFile, false), TLockResult::Locked);
    int newRuns = 0;
    const QString file = ExchangeFile("Anna", {RunLine(9)}, {StimLine, "07.03.2025;x"});
    EXPECT_FALSE(ImportProtocol(FStore, file, "Anna", newRuns));
    EXPECT_EQ(ReadDataLines(runFile), QStringList{RunLine(9)}); // merged before the failure
    EXPECT_EQ(Bytes(stimFile), stimBytes);
    EXPECT_TRUE(QFile::exists(PendingFileName(stimFile)));
    spreadsheet.Close();
    ASSERT_TRUE(ImportProtocol(FStore, file, "Anna", newRuns));
    EXPECT_EQ(newRuns, 0);
    EXPECT_EQ(ReadDataLines(stimFile), (QStringList{StimLine, "07.03.2025;x"}));
    EXPECT_FALSE(QFile::exists(PendingFileName(stimFile)));
}

TEST_F(ExchangeTest, ImportTargetOtherThanShownUserIsRegistered) {
    const QString usersFile = Path("users.ini");
    RegisterImportTarget("Bert", "Anna", usersFile);
    RegisterImportTarget("anna", "Anna", usersFile);
    TUserManager users(usersFile);
    EXPECT_EQ(users.GetUsers(), QStringList{"Bert"});
}

} // namespace
} // namespace kalvero
