#include "engine/sequence_file.h"
#include "engine/sequence_player.h"
#include "fuzz/inputs/fuzz_support.h"
#include "fuzz/inputs/one_input.h"
#include "fuzz/inputs/settings_bench.h"
#include "platform/atomic_file.h"

#include <QFileInfo>

namespace kalvero::fuzz {

namespace {

bool SamePlaylist(const TPlaylist& a, const TPlaylist& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].FileName != b[i].FileName || a[i].Duration != b[i].Duration ||
            a[i].SettingsJson != b[i].SettingsJson)
            return false;
    return true;
}

// The status, the entries and the message tell the same story.
void CheckLoadResult(TFindings& findings, const TSequenceLoad& load) {
    switch (load.Status) {
    case TSequenceLoadStatus::Loaded:
        findings.Check(!load.Playlist.empty(), "loaded without entries");
        findings.Check(load.Message == EntriesLoadedMessage(int(load.Playlist.size())),
                       "loaded with message " + Shown(load.Message));
        for (const TPlaylistItem& item : load.Playlist)
            findings.Check(item.SettingsJson.isEmpty(), "a file entry carries settings text");
        break;
    case TSequenceLoadStatus::NoEntries:
        findings.Check(load.Playlist.empty(), "entries without a playlist");
        findings.Check(load.Message == QString::fromUtf8(NoPlaylistEntriesMessage),
                       "no entries with message " + Shown(load.Message));
        break;
    case TSequenceLoadStatus::Malformed:
        findings.Check(load.Playlist.empty() && !load.Message.isEmpty(),
                       "malformed file with entries or without message");
        break;
    case TSequenceLoadStatus::Missing:
        findings.Fail("the bytes of an existing file read as a missing file");
        break;
    }
}

// The writer form of the entries' files with the first entry's duration reads back to the same
// files, each with that duration, and the saved file holds exactly that form.
void CheckWriterForm(TFindings& findings, const TPlaylist& playlist) {
    QStringList files;
    for (const TPlaylistItem& item : playlist)
        files << item.FileName;
    const std::int32_t duration = playlist.front().Duration;
    const QByteArray text = SequenceFileText(files, duration);
    const TSequenceLoad again = ParseSequenceText(text);
    TPlaylist expected;
    for (const QString& file : files)
        expected.push_back({file, duration, QString()});
    findings.Check(again.Status == TSequenceLoadStatus::Loaded &&
                       SamePlaylist(again.Playlist, expected),
                   "written sequence " + Shown(QString::fromUtf8(text)) + " reads differently");
    const QString path = FreshScratchFolder() + "Sequenzen/Gespeichert.seq";
    try {
        SaveSequenceFile(path, files, duration);
    } catch (const std::exception& error) {
        findings.Fail(std::string("saving the sequence failed: ") + error.what());
        return;
    }
    QByteArray saved;
    findings.Check(ReadWholeFile(path, saved) && saved == text, "saved sequence differs");
}

// An entry can be shown when its profile file exists and is readable.
bool Playable(const TSequencePlayer& player, const TPlaylistItem& item) {
    const QFileInfo info(player.ProfilePath(item));
    return info.isFile() && info.isReadable();
}

// Plays the entries in a profiles folder holding "a.json" and a folder "b.json": every step
// applies the next playable entry, or stops with the notice when there is none.
void CheckPlaying(TFindings& findings, const TPlaylist& playlist) {
    const QString profiles = FreshScratchFolder() + "Profile/";
    WriteBytes(profiles + "a.json", R"({"speed":3,"count":9})");
    WriteBytes(profiles + "b.json/x", "");
    TSettingsBench bench(72, true);
    TSequencePlayer player(bench.Sequence, bench.Settings);
    int notices = 0;
    player.OnNotice = [&notices](const QString&) { ++notices; };
    player.SetPlaylist(playlist, profiles);
    player.StartPlaylist();
    bool anyPlayable = false;
    for (const TPlaylistItem& item : playlist)
        anyPlayable = anyPlayable || Playable(player, item);
    const std::size_t steps = std::min<std::size_t>(2 * playlist.size() + 1, 64);
    for (std::size_t step = 0; step < steps && player.FPlaylistActive; ++step) {
        const TSequenceStep result = player.NextSequenceEntry();
        if (!anyPlayable) {
            findings.Check(result == TSequenceStep::NoneFound && notices == 1,
                           "no playable entry but playing went on");
            return;
        }
        const int index = player.FPlaylistIndex;
        findings.Check(result == TSequenceStep::Applied && index >= 0 &&
                           index < int(playlist.size()) && Playable(player, playlist[index]),
                       "a step did not apply a playable entry");
        findings.Check(bench.Sequence.FPlaylistTimer == playlist[index].Duration,
                       "the entry's time is not its duration");
        bench.Sequence.Advance(bench.Sequence.FPlaylistTimer + 1.0);
    }
    findings.Check(notices == 0, "notice while entries were playable");
}

} // namespace

// A ".seq" file: reading from bytes and from a file, the writer form, playing the entries.
std::string SequenceInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TFindings findings;
    const TSequenceLoad parsed = ParseSequenceText(bytes);
    CheckLoadResult(findings, parsed);
    const QString path = FreshScratchFolder() + "Eingabe.seq";
    if (!WriteBytes(path, bytes))
        return "scratch file cannot be written";
    const TSequenceLoad loaded = LoadSequenceFile(path);
    findings.Check(loaded.Status == parsed.Status && loaded.Message == parsed.Message &&
                       SamePlaylist(loaded.Playlist, parsed.Playlist),
                   "the file reads differently from its bytes");
    if (parsed.Status != TSequenceLoadStatus::Loaded)
        return findings.Text();
    CheckWriterForm(findings, parsed.Playlist);
    CheckPlaying(findings, parsed.Playlist);
    return findings.Text();
}

} // namespace kalvero::fuzz
