#include "app/profile_actions.h"

#include "app/form2_sequence_manager.h"
#include "engine/profile_run.h"
#include "engine/sequence_file.h"
#include "engine/sequence_player.h"
#include "engine/training_settings.h"
#include "plan/training_plan.h"
#include "platform/ui/dialogs.h"
#include "users/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

namespace kalvero {

const char* const ProfileFilter = "JSON Profile|*.json";
const char* const SequenceOpenFilter = "Sequenz-Dateien (*.seq)|*.seq|Alle Dateien|*.*";
const char* const SequenceSaveFilter = "Sequenz-Dateien (*.seq)|*.seq";

namespace {

const QString Title = QStringLiteral("Kalvero 4");

QString EnsuredProfilesFolder() {
    const QString folder = GetProfilesFolder();
    QDir().mkpath(folder);
    return folder;
}

void Tell(QWidget* parent, TMsgKind kind, const QString& text) {
    ShowMessage(parent, kind, Title, text);
}

} // namespace

QString WithDefaultExtension(const QString& path, const QString& extension) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + '.' + extension;
}

bool SaveProfile(QWidget* parent, const TTrainingSettings& settings, TProfileRun& profileRun) {
    const QString folder = EnsuredProfilesFolder();
    const QString chosen =
        ChooseSaveFile(parent, QStringLiteral("Profil speichern"), folder,
                       QString::fromUtf8(ProfileFilter), QStringLiteral("MeinProfil.json"));
    if (chosen.isEmpty())
        return false;
    const QString path = WithDefaultExtension(chosen, QStringLiteral("json"));
    settings.SaveSettingsFile(path);
    profileRun.Remember(path, settings.SettingsSnapshot());
    Tell(parent, TMsgKind::Information, QStringLiteral("Profil erfolgreich gespeichert!"));
    return true;
}

bool LoadProfile(QWidget* parent, TTrainingSettings& settings, TProfileRun& profileRun) {
    const QString folder = EnsuredProfilesFolder();
    const QString path = ChooseOpenFile(parent, QStringLiteral("Profil laden"), folder,
                                        QString::fromUtf8(ProfileFilter));
    if (path.isEmpty())
        return false;
    settings.LoadSettingsFile(path);
    profileRun.Remember(path, settings.SettingsSnapshot());
    return true;
}

void LoadSequence(QWidget* parent, TSequencePlayer& player,
                  const std::function<void()>& startRunIfIdle) {
    const QString folder = EnsuredProfilesFolder();
    const QString path = ChooseOpenFile(parent, QStringLiteral("Automatisierte Sequenz laden"),
                                        folder, QString::fromUtf8(SequenceOpenFilter));
    if (path.isEmpty())
        return;
    player.FSequenceName = ProfileNameOf(path);
    const TSequenceLoad load = player.LoadSequenceFile(path, folder);
    switch (load.Status) {
    case TSequenceLoadStatus::Missing:
        return;
    case TSequenceLoadStatus::NoEntries:
        Tell(parent, TMsgKind::Information, load.Message);
        return;
    case TSequenceLoadStatus::Malformed:
        Tell(parent, TMsgKind::Error, load.Message);
        return;
    case TSequenceLoadStatus::Loaded:
        Tell(parent, TMsgKind::Information, load.Message);
        player.StartPlaylist();
        if (startRunIfIdle)
            startRunIfIdle();
        player.NextSequenceEntry();
        return;
    }
}

void OpenSequenceManager(QWidget* parent) {
    TForm2 form(parent);
    form.exec();
}

std::vector<TPlaylistItem> PlaylistOfPlan(const TTrainingPlan& plan) {
    std::vector<TPlaylistItem> playlist;
    playlist.reserve(plan.Items.size());
    for (const TPlanItem& item : plan.Items)
        playlist.push_back({item.Name, item.Duration, item.Settings});
    return playlist;
}

std::function<void(const QString&)> QueuedSequenceNotice(QWidget* parent) {
    QPointer<QWidget> owner(parent);
    return [owner](const QString& text) {
        QObject* context =
            owner ? static_cast<QObject*>(owner.data()) : QCoreApplication::instance();
        QMetaObject::invokeMethod(
            context, [owner, text] { Tell(owner.data(), TMsgKind::Information, text); },
            Qt::QueuedConnection);
    };
}

} // namespace kalvero
