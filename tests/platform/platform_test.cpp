#include "platform/atomic_file.h"
#include "platform/json_text.h"
#include "platform/random.h"
#include "platform/ui/dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kalvero;

TEST(JsonText, EscapesByForm) {
    const QString text = QString::fromUtf8("M\xC3\xBCller \xF0\x9F\x98\x80 /\t\"\\") + QChar(1);
    EXPECT_EQ(JsonQuoted(text, TJsonEscape::Ascii),
              QStringLiteral("\"M\\u00FCller \\uD83D\\uDE00 /\\t\\\"\\\\\\u0001\""));
    EXPECT_EQ(JsonQuoted(text, TJsonEscape::ShortOnly),
              QStringLiteral("\"") + QString::fromUtf8("M\xC3\xBCller \xF0\x9F\x98\x80 /") +
                  QStringLiteral("\\t\\\"\\\\") + QChar(1) + QStringLiteral("\""));
}

TEST(AtomicFile, ReplacesWholeFileAndCreatesFolders) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a/b/file.txt");
    WriteFileAtomic(path, "first");
    WriteFileAtomic(path, "second");
    QByteArray data;
    ASSERT_TRUE(ReadWholeFile(path, data));
    EXPECT_EQ(data, "second");
    EXPECT_EQ(QDir(dir.filePath("a/b")).entryList(QDir::Files), QStringList{"file.txt"});
}

TEST(AtomicFile, RefusedWriteRaisesGermanMessageAndKeepsNothingBehind) {
    QTemporaryDir dir;
    // A folder where the file should be cannot be replaced by a file.
    QDir(dir.path()).mkdir("taken");
    try {
        WriteFileAtomic(dir.filePath("taken"), "x");
        FAIL() << "expected TWriteError";
    } catch (const TWriteError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).endsWith("kann nicht geschrieben werden"));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

// A name read from a file may point anywhere: reading a device that never ends or a pipe that
// blocks must fail at once instead of hanging the program.
TEST(AtomicFile, ReadsOnlyRegularFiles) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("folder");
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const QString& path :
         {dir.filePath("folder"), QString("/dev/zero"), fifo, dir.filePath("missing")}) {
        QByteArray data;
        EXPECT_FALSE(ReadWholeFile(path, data)) << path.toStdString();
    }
}

TEST(Random, SameSeedSameDraws) {
    TSeededRandom a(42), b(42);
    for (int i = 0; i < 100; ++i) {
        const int x = a.Next(7);
        EXPECT_EQ(x, b.Next(7));
        EXPECT_GE(x, 0);
        EXPECT_LT(x, 7);
    }
    EXPECT_EQ(a.Next(0), 0);
}

TEST(Dialogs, FilterToQtForm) {
    EXPECT_EQ(QtFileFilter("JSON Profile|*.json"), "JSON Profile (*.json)");
    EXPECT_EQ(QtFileFilter("A|*.a|B|*.b;*.c"), "A (*.a);;B (*.b *.c)");
}
