#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace kalvero {

// One entry of a sequence.
struct TPlaylistItem {
    QString FileName;           // profile file name, relative to the profiles folder
    std::int32_t Duration = 30; // seconds the entry is shown
    QString SettingsJson;       // settings text carried by a plan entry; empty for ".seq" entries
};

using TPlaylist = std::vector<TPlaylistItem>;

// Seconds of an entry whose "duration" is missing or not a whole number.
inline constexpr std::int32_t DefaultEntrySeconds = 30;

enum class TSequenceLoadStatus {
    Missing,   // the file does not exist: nothing happens
    NoEntries, // not JSON, no "playlist" or no usable entry
    Loaded,    // at least one entry
    Malformed, // an object is expected and something else was found, or the file is unreadable
};

struct TSequenceLoad {
    TSequenceLoadStatus Status = TSequenceLoadStatus::Missing;
    TPlaylist Playlist;
    // What the user is told: the count of entries, that none was found, or what is wrong.
    QString Message;
};

// Reads a ".seq" file: one JSON object whose "playlist" holds entry objects in playing order.
// An entry without a text "file" is skipped; a missing or non-integer "duration" counts as 30
// seconds. A byte order mark is skipped; malformed UTF-8 reads as replacement characters.
TSequenceLoad LoadSequenceFile(const QString& path);
// The same rules on the bytes of a file.
TSequenceLoad ParseSequenceText(const QByteArray& bytes);

// The writer form: compact, "playlist" the only member, each entry "file" then "duration", the
// same duration for every entry; strings escape only the short escapes; UTF-8 without a byte
// order mark.
QByteArray SequenceFileText(const QStringList& files, std::int32_t durationSeconds);
// Writes the writer form atomically, replacing an existing file; raises TWriteError.
void SaveSequenceFile(const QString& path, const QStringList& files, std::int32_t durationSeconds);

extern const char* const NoPlaylistEntriesMessage;
// "%d Einträge in der Sequenz geladen. Start!"
QString EntriesLoadedMessage(int count);

} // namespace kalvero
