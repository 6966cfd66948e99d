#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "protocol/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kalvero {
namespace {

QByteArray Bytes(const QString& path) {
    QByteArray data;
    ReadWholeFile(path, data);
    return data;
}

void PutBytes(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

const QByteArray Bom("\xEF\xBB\xBF");

class TextFileTest : public testing::Test {
protected:
    QString Path(const QString& name) const { return FDir.filePath(name); }
    QTemporaryDir FDir;
};

TEST_F(TextFileTest, ReadLinesSkipsBomAndEndsLinesAtCrLfLfOrCr) {
    PutBytes(Path("a.csv"), Bom + "eins\r\nzwei\ndrei\rvier\r\n\r\nsechs");
    QStringList lines{"vorher"};
    ReadLines(lines, Path("a.csv"));
    EXPECT_EQ(lines, (QStringList{"vorher", "eins", "zwei", "drei", "vier", "", "sechs"}));
}

TEST_F(TextFileTest, ReadLinesOfMissingOrUnreadableFileAddNothing) {
    QDir(FDir.path()).mkdir("ordner");
    QStringList lines;
    ReadLines(lines, Path("fehlt.csv"));
    ReadLines(lines, Path("ordner"));
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(TextFileTest, ReadLinesDecodesUtf8) {
    PutBytes(Path("u.csv"), "M\xC3\xBCller\r\n");
    QStringList lines;
    ReadLines(lines, Path("u.csv"));
    EXPECT_EQ(lines, QStringList{QString::fromUtf8("M\xC3\xBCller")});
}

TEST_F(TextFileTest, WriteTextFileReplacesWithBom) {
    WriteTextFile(Path("sub/x.txt"), "alt\r\n");
    WriteTextFile(Path("sub/x.txt"), QString::fromUtf8("n\xC3\xA4"
                                                       "chste\r\n"));
    EXPECT_EQ(Bytes(Path("sub/x.txt")), Bom + "n\xC3\xA4"
                                              "chste\r\n");
}

TEST_F(TextFileTest, WriteTextFileRaisesWhenPathIsAFolder) {
    QDir(FDir.path()).mkdir("ordner");
    EXPECT_THROW(WriteTextFile(Path("ordner"), "x"), TWriteError);
}

TEST(PendingFileName, ReplacesTheLastExtension) {
    EXPECT_EQ(PendingFileName("/d/Protokolle/Anna.csv"), "/d/Protokolle/Anna_ausstehend.txt");
    EXPECT_EQ(PendingFileName("/d/Anna_Reize.csv"), "/d/Anna_Reize_ausstehend.txt");
    EXPECT_EQ(PendingFileName("/d/Dr. Meier.csv"), "/d/Dr. Meier_ausstehend.txt");
    EXPECT_EQ(PendingFileName("/d.x/Anna"), "/d.x/Anna_ausstehend.txt");
}

TEST_F(TextFileTest, AppendCreatesFolderAndFileWithBomAndHeader) {
    const QString file = Path("Protokolle/Anna.csv");
    AppendLines(file, "Kopf;A", "1;x\r\n");
    AppendLines(file, "Kopf;A", "2;y\r\n3;z\r\n");
    EXPECT_EQ(Bytes(file), Bom + "Kopf;A\r\n1;x\r\n2;y\r\n3;z\r\n");
}

TEST_F(TextFileTest, AppendOfEmptyTextWritesNothing) {
    AppendLines(Path("Protokolle/Anna.csv"), "Kopf", "");
    EXPECT_FALSE(QDir(Path("Protokolle")).exists());
}

TEST_F(TextFileTest, EmptyExistingFileGetsItsHeader) {
    PutBytes(Path("a.csv"), "");
    AppendLines(Path("a.csv"), "Kopf", "1\r\n");
    EXPECT_EQ(Bytes(Path("a.csv")), Bom + "Kopf\r\n1\r\n");
}

TEST_F(TextFileTest, TornLastLineStaysApartFromNewLines) {
    // Regression: an append after a crash mid-line must not glue its line to the fragment.
    PutBytes(Path("a.csv"), Bom + "Kopf\r\n1\r\n2;hal");
    AppendLines(Path("a.csv"), "Kopf", "3\r\n");
    QStringList lines;
    ReadLines(lines, Path("a.csv"));
    EXPECT_EQ(lines, (QStringList{"Kopf", "1", "2;hal", "3"}));
}

TEST_F(TextFileTest, LockedFileSendsLinesToPendingFileUntilItIsFree) {
    const QString file = Path("Anna.csv");
    const QString pending = Path("Anna_ausstehend.txt");
    AppendLines(file, "Kopf", "1\r\n");
    {
        TLockedFile other; // another program holding the file, through its own open file
        ASSERT_EQ(other.Open(file, false), TLockResult::Locked);
        AppendLines(file, "Kopf", "2\r\n");
        AppendLines(file, "Kopf", "3\r\n");
        EXPECT_EQ(Bytes(file), Bom + "Kopf\r\n1\r\n");
        EXPECT_EQ(Bytes(pending), Bom + "2\r\n3\r\n");
    }
    AppendLines(file, "Kopf", "4\r\n");
    EXPECT_EQ(Bytes(file), Bom + "Kopf\r\n1\r\n2\r\n3\r\n4\r\n");
    EXPECT_FALSE(QFile::exists(pending));
}

TEST_F(TextFileTest, FileThatCannotBeWrittenKeepsLinesPending) {
    QDir(FDir.path()).mkdir("Anna.csv"); // a folder where the file should be
    AppendLines(Path("Anna.csv"), "Kopf", "1\r\n");
    AppendLines(Path("Anna.csv"), "Kopf", "2\r\n");
    EXPECT_EQ(Bytes(Path("Anna_ausstehend.txt")), Bom + "1\r\n2\r\n");
}

TEST_F(TextFileTest, LockIsExclusivePerOpenFile) {
    const QString file = Path("a.csv");
    TLockedFile first, second;
    ASSERT_EQ(first.Open(file, true), TLockResult::Locked);
    EXPECT_EQ(second.Open(file, true), TLockResult::HeldByOther);
    QStringList lines;
    ReadLines(lines, file); // readers never wait for the lock
    first.Close();
    EXPECT_EQ(second.Open(file, true), TLockResult::Locked);
    EXPECT_EQ(TLockedFile().Open(Path("fehlt.csv"), false), TLockResult::Failed);
}

TEST_F(TextFileTest, LockedAppendWritesWholeTextAndReportsSize) {
    TLockedFile file;
    ASSERT_EQ(file.Open(Path("a.csv"), true), TLockResult::Locked);
    EXPECT_EQ(file.Size(), 0);
    EXPECT_EQ(file.LastByte(), 0);
    EXPECT_TRUE(file.Append("ab\r\n"));
    EXPECT_EQ(file.Size(), 4);
    EXPECT_EQ(file.LastByte(), '\n');
}

TEST(JoinLines, EndsEveryLineWithCrLf) {
    EXPECT_EQ(JoinLines({"a", "b"}), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(JoinLines({}), QString());
}

} // namespace
} // namespace kalvero
