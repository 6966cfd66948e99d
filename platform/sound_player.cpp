#include "platform/sound_player.h"

#include "platform/program_folder.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QThread>
#include <QUrl>

#include <utility>

namespace kalvero {

// The one sound channel: a player with its audio output, made on the playback thread with the
// first sound and deleted there when the thread ends.
class TSoundPlayer::TChannel final : public QObject {
public:
    void Play(const QString& path) {
        if (!FPlayer) {
            FPlayer = new QMediaPlayer(this);
            FPlayer->setAudioOutput(new QAudioOutput(FPlayer));
        }
        FPlayer->stop();
        FPlayer->setSource(QUrl::fromLocalFile(path));
        FPlayer->play();
    }

private:
    QMediaPlayer* FPlayer = nullptr;
};

struct TSoundPlayer::TThread {
    QThread Thread;
    TChannel* Channel = nullptr;
};

TSoundPlayer::TSoundPlayer(QString soundFolder)
    : FSoundFolder(soundFolder.isEmpty() ? SoundFolder() : std::move(soundFolder)) {
    // The ffmpeg backend crashes without a sound device; GStreamer stays silent instead.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

TSoundPlayer::~TSoundPlayer() {
    if (!FThread)
        return;
    FThread->Thread.quit();
    FThread->Thread.wait();
}

void TSoundPlayer::EnsureThread() {
    if (FThread)
        return;
    FThread = std::make_unique<TThread>();
    FThread->Thread.setObjectName(QStringLiteral("Sound"));
    FThread->Channel = new TChannel;
    FThread->Channel->moveToThread(&FThread->Thread);
    QObject::connect(&FThread->Thread, &QThread::finished, FThread->Channel, &QObject::deleteLater);
    FThread->Thread.start();
}

void TSoundPlayer::PlaySoundEffect(const QString& fileName) {
    if (fileName.isEmpty() || !QCoreApplication::instance())
        return;
    const QString path = FSoundFolder + fileName;
    if (!QFileInfo(path).isFile())
        return;
    EnsureThread();
    TChannel* channel = FThread->Channel;
    QMetaObject::invokeMethod(
        channel, [channel, path] { channel->Play(path); }, Qt::QueuedConnection);
    ++FStarted;
}

} // namespace kalvero
