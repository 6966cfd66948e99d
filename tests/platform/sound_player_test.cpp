#include "platform/sound_player.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kalvero {
namespace {

// About one second of silence: MPEG-1 layer III frames at 128 kbit/s and 44.1 kHz, each a
// header and 413 zero bytes (no side information, no audio data).
QByteArray SilentMp3() {
    QByteArray frame(417, '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);
    frame[2] = static_cast<char>(0x90);
    frame[3] = static_cast<char>(0x64);
    return frame.repeated(40);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class SoundPlayerTest : public ::testing::Test {
protected:
    SoundPlayerTest() {
        QDir(Dir.path()).mkdir(QStringLiteral("Sound"));
        Folder = Dir.path() + QStringLiteral("/Sound/");
    }

    QTemporaryDir Dir;
    QString Folder;
};

TEST_F(SoundPlayerTest, WithoutAnApplicationObjectNothingPlays) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    WriteFile(Folder + "welldone.mp3", SilentMp3());
    TSoundPlayer player(Folder);
    player.PlaySoundEffect(QStringLiteral("welldone.mp3"));
    EXPECT_EQ(player.StartedCount(), 0);
}

TEST_F(SoundPlayerTest, MissingFilesAndFoldersAreSilent) {
    int argc = 1;
    char name[] = "sound_player_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QDir(Folder).mkdir(QStringLiteral("error.mp3")); // a folder where the file should be
    TSoundPlayer player(Folder);
    player.PlaySoundEffect(QStringLiteral("welldone.mp3"));
    player.PlaySoundEffect(QStringLiteral("error.mp3"));
    player.PlaySoundEffect(QString());
    TSoundPlayer nowhere(Dir.path() + QStringLiteral("/fehlt/"));
    nowhere.PlaySoundEffect(QStringLiteral("welldone.mp3"));
    EXPECT_EQ(player.StartedCount(), 0);
    EXPECT_EQ(nowhere.StartedCount(), 0);
}

// Runs where there may be no sound device: a new sound replaces the previous one, undecodable
// files are ignored, and the player shuts its thread down when it goes.
TEST_F(SoundPlayerTest, SoundsReplaceEachOtherWithoutHoldingUpTheCaller) {
    int argc = 1;
    char name[] = "sound_player_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    WriteFile(Folder + "welldone.mp3", SilentMp3());
    WriteFile(Folder + "error.mp3", QByteArray("kein Klang"));
    {
        TSoundPlayer player(Folder);
        player.PlaySoundEffect(QStringLiteral("welldone.mp3"));
        player.PlaySoundEffect(QStringLiteral("error.mp3"));
        player.PlaySoundEffect(QStringLiteral("welldone.mp3"));
        EXPECT_EQ(player.StartedCount(), 3);
    }
    EXPECT_EQ(qEnvironmentVariable("QT_MEDIA_BACKEND"), QStringLiteral("gstreamer"));
}

} // namespace
} // namespace kalvero
