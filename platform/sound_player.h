#pragma once

#include <QString>
#include <memory>

namespace kalvero {

// Where the program's short sounds go. The alertness task plays through it; tests record the
// requests instead.
class TSoundSink {
public:
    virtual ~TSoundSink() = default;
    // Plays a file of the sound folder (e.g. "welldone.mp3") without waiting for it.
    virtual void PlaySoundEffect(const QString& fileName) = 0;
};

// Asynchronous MP3 playback on one channel: a new sound stops the one still playing. The
// player and its audio output live on a thread of their own, created with the first sound, so
// that neither creating the player nor starting a sound holds up the caller. A missing file, a
// missing sound device or a file that cannot be decoded gives silence. Without a Qt application
// object nothing is played. The GStreamer backend is used unless QT_MEDIA_BACKEND says
// otherwise.
class TSoundPlayer final : public TSoundSink {
public:
    // soundFolder with a trailing separator; by default "Sound/" beside the program.
    explicit TSoundPlayer(QString soundFolder = {});
    ~TSoundPlayer() override;
    TSoundPlayer(const TSoundPlayer&) = delete;
    TSoundPlayer& operator=(const TSoundPlayer&) = delete;

    void PlaySoundEffect(const QString& fileName) override;

    // Number of sounds handed to the playback thread (files that exist); for tests.
    int StartedCount() const { return FStarted; }

private:
    class TChannel;
    struct TThread;
    void EnsureThread();

    QString FSoundFolder;
    std::unique_ptr<TThread> FThread;
    int FStarted = 0;
};

} // namespace kalvero
