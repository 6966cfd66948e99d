#pragma once

#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace kalvero {

class TTrainingSettings;
class TProfileRun;
class TSequencePlayer;
class TTrainingPlan;
struct TPlaylistItem;

// The profile and sequence buttons of the settings screen. Each works on the profiles folder
// (GetProfilesFolder(), created with its parents when missing) and asks through the dialogs of
// platform/ui/dialogs.h. Errors of the file layer (TWriteError, TReadError) are not caught here:
// they reach the caller, and the remembered profile then stays as it was.

extern const char* const ProfileFilter;      // "JSON Profile|*.json"
extern const char* const SequenceOpenFilter; // "Sequenz-Dateien (*.seq)|*.seq|Alle Dateien|*.*"
extern const char* const SequenceSaveFilter; // "Sequenz-Dateien (*.seq)|*.seq"

// "Profil speichern": a save dialog proposing "MeinProfil.json"; the settings are written (an
// existing file is replaced), remembered as the last profile, and "Profil erfolgreich
// gespeichert!" is shown. False when cancelled.
bool SaveProfile(QWidget* parent, const TTrainingSettings& settings, TProfileRun& profileRun);

// "Profil laden": an open dialog; the chosen file is applied and remembered as the last profile
// with the settings text after applying. No message. False when cancelled.
bool LoadProfile(QWidget* parent, TTrainingSettings& settings, TProfileRun& profileRun);

// "Sequenz laden": an open dialog "Automatisierte Sequenz laden". The file's name becomes the
// sequence name and the file is loaded; the user is told the number of entries, that there is
// none, or what is wrong with the file. With entries the playlist starts playing,
// startRunIfIdle is called (it starts a run when none is active), and the first usable entry is
// applied.
void LoadSequence(QWidget* parent, TSequencePlayer& player,
                  const std::function<void()>& startRunIfIdle);

// "Sequenz erzeugen": a new sequence manager window for this call, shown modally, then freed.
void OpenSequenceManager(QWidget* parent);

// The sections of a sequence plan as a playlist: name as file name, duration, settings text.
std::vector<TPlaylistItem> PlaylistOfPlan(const TTrainingPlan& plan);

// A notice handler for TSequencePlayer::OnNotice: shows the text in a message box once the
// current event (the frame in which the sequence ended) is done.
std::function<void(const QString&)> QueuedSequenceNotice(QWidget* parent);

// A chosen file name without any extension gets the default one ("json", "seq").
QString WithDefaultExtension(const QString& path, const QString& extension);

} // namespace kalvero
