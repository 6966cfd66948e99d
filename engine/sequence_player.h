#pragma once

#include "engine/sequence_file.h"

#include <QString>
#include <functional>
#include <vector>

namespace kalvero {

class TSequenceTimer;
class TTrainingSettings;
struct TPrewarmEntry;

extern const char* const NoProfileFoundMessage;

// What NextSequenceEntry did.
enum class TSequenceStep {
    Applied,   // an entry was applied and its time started
    Empty,     // the playlist is empty; playing stopped
    NoneFound, // no entry could be applied; playing stopped and the user is told
};

// A playing sequence: the playlist, the shown entry and the name of the loaded file. Entries are
// applied to the settings controls one after the other, each for its duration of active run time,
// and from the top again after the last, until the run ends.
class TSequencePlayer {
public:
    // Attaches itself to the timer, which the simulation step advances.
    TSequencePlayer(TSequenceTimer& timer, TTrainingSettings& settings);
    ~TSequencePlayer();
    TSequencePlayer(const TSequencePlayer&) = delete;
    TSequencePlayer& operator=(const TSequencePlayer&) = delete;

    // A file that does not exist changes nothing. Otherwise the playlist is emptied and playing
    // stops; the entries read are kept, not yet playing. The result carries what to tell the user.
    // profilesFolder (with a trailing separator) is where the entries' profile files are looked up.
    TSequenceLoad LoadSequenceFile(const QString& path, const QString& profilesFolder);
    // Replaces the playlist (a sequence plan's sections) without playing it.
    void SetPlaylist(TPlaylist playlist, const QString& profilesFolder);
    // Marks the playlist as playing from before its first entry. NextSequenceEntry then applies
    // the first usable one.
    void StartPlaylist();
    // Applies the next usable entry (wrapping after the last): its settings text, or else its
    // profile file when that exists and can be read. When none is usable playing stops and
    // OnNotice gets NoProfileFoundMessage; the run goes on with the settings it has.
    TSequenceStep NextSequenceEntry();
    // The end of a run: the list stays loaded but is not played again until started anew.
    void StopPlaying() { FPlaylistActive = false; }

    // The entries as the picture catalogue scales their stimulus sets in advance.
    std::vector<TPrewarmEntry> PrewarmEntries() const;
    QString ProfilePath(const TPlaylistItem& item) const { return FProfilesFolder + item.FileName; }

    // Told what the user is to read while playing (the end of a sequence without usable entry).
    // It may be called from within the simulation step.
    std::function<void(const QString&)> OnNotice;

    TPlaylist FPlaylist;
    bool FPlaylistActive = false; // a sequence is playing
    int FPlaylistIndex = -1;      // the entry shown; -1 before the first
    QString FSequenceName;        // the loaded file's name without folder and extension

private:
    bool ApplyEntry(const TPlaylistItem& item);

    TSequenceTimer& FTimer;
    TTrainingSettings& FSettings;
    QString FProfilesFolder;
};

} // namespace kalvero
