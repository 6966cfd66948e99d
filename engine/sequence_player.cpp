#include "engine/sequence_player.h"

#include "engine/image_catalogue.h"
#include "engine/sequence_timer.h"
#include "engine/training_settings.h"

#include <QFileInfo>

namespace kalvero {

const char* const NoProfileFoundMessage =
    "Sequenz beendet: Keine der Profil-Dateien wurde gefunden.";

TSequencePlayer::TSequencePlayer(TSequenceTimer& timer, TTrainingSettings& settings)
    : FTimer(timer), FSettings(settings) {
    FTimer.Attach(this);
}

TSequencePlayer::~TSequencePlayer() {
    FTimer.Attach(nullptr);
}

TSequenceLoad TSequencePlayer::LoadSequenceFile(const QString& path,
                                                const QString& profilesFolder) {
    TSequenceLoad load = kalvero::LoadSequenceFile(path);
    if (load.Status == TSequenceLoadStatus::Missing)
        return load;
    SetPlaylist(load.Playlist, profilesFolder);
    return load;
}

void TSequencePlayer::SetPlaylist(TPlaylist playlist, const QString& profilesFolder) {
    FPlaylist = std::move(playlist);
    FProfilesFolder = profilesFolder;
    FPlaylistActive = false;
    FPlaylistIndex = -1;
}

void TSequencePlayer::StartPlaylist() {
    FPlaylistIndex = -1;
    FPlaylistActive = true;
}

bool TSequencePlayer::ApplyEntry(const TPlaylistItem& item) {
    if (!item.SettingsJson.isEmpty()) {
        FSettings.ApplySettingsText(item.SettingsJson);
        return true;
    }
    const QString path = ProfilePath(item);
    if (!QFileInfo::exists(path))
        return false;
    // Called from the simulation step during a run: a profile that exists but cannot be read
    // (a folder of that name, no permission) is skipped like a missing one instead of ending
    // the program.
    try {
        FSettings.LoadSettingsFile(path);
    } catch (const TReadError&) {
        return false;
    }
    return true;
}

TSequenceStep TSequencePlayer::NextSequenceEntry() {
    if (FPlaylist.empty()) {
        FPlaylistActive = false;
        return TSequenceStep::Empty;
    }
    const int count = static_cast<int>(FPlaylist.size());
    for (int attempt = 0; attempt < count; ++attempt) {
        const int next = FPlaylistIndex + 1;
        FPlaylistIndex = next >= 0 && next < count ? next : 0;
        const TPlaylistItem& item = FPlaylist[static_cast<std::size_t>(FPlaylistIndex)];
        if (ApplyEntry(item)) {
            FTimer.FPlaylistTimer = item.Duration;
            return TSequenceStep::Applied;
        }
    }
    FPlaylistActive = false;
    if (OnNotice)
        OnNotice(QString::fromUtf8(NoProfileFoundMessage));
    return TSequenceStep::NoneFound;
}

std::vector<TPrewarmEntry> TSequencePlayer::PrewarmEntries() const {
    std::vector<TPrewarmEntry> entries;
    entries.reserve(FPlaylist.size());
    for (const TPlaylistItem& item : FPlaylist)
        entries.push_back({item.SettingsJson, ProfilePath(item)});
    return entries;
}

} // namespace kalvero
