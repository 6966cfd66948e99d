#include "app/profile_actions.h"
#include "common/dialog_answers.h"
#include "engine/profile_run.h"
#include "engine/sequence_fixture.h"
#include "plan/training_plan.h"
#include "platform/atomic_file.h"
#include "users/data_folder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace kalvero;
using kalvero::test::TDialogAnswers;

namespace {

// What a control change does between loading a profile and starting a run.
enum class TChange { None, SpeedThereAndBack, Count, FollowerThereAndBack, Direction };

void Apply(TPlainSettingsControls& controls, TChange change) {
    switch (change) {
    case TChange::None:
        break;
    case TChange::SpeedThereAndBack:
        controls.FSpeed.SetPosition(controls.FSpeed.Position() + 1);
        controls.FSpeed.SetPosition(controls.FSpeed.Position() - 1);
        break;
    case TChange::Count:
        controls.FCount.SetPosition(controls.FCount.Position() + 5);
        break;
    case TChange::FollowerThereAndBack:
        controls.checkboxVerfolger().SetChecked(true);
        controls.checkboxVerfolger().SetChecked(false);
        break;
    case TChange::Direction:
        controls.RadioGroupDirection().SetItemIndex(1);
        break;
    }
}

const QString SequenceEndedText = "Sequenz beendet: Keine der Profil-Dateien wurde gefunden.";

} // namespace

Q_DECLARE_METATYPE(TChange)

class ProfileActionsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void savingAsksInTheProfilesFolderAndCountsAsAProfileRun();
    void aNameWithoutExtensionGetsJson();
    void cancellingChangesNothing();
    void aRefusedWriteReachesTheCallerAndKeepsTheRememberedProfile();
    void aLoadedProfileCountsWhileItsTextIsUnchanged_data();
    void aLoadedProfileCountsWhileItsTextIsUnchanged();
    void loadingClampsHandWrittenValues();
    void contentThatIsNoObjectChangesNothingButIsRemembered();
    void anUnreadableProfileReachesTheCaller();
    void loadingASequenceAsksForASeqFile();
    void aLoadedSequenceStartsARunAndAppliesItsFirstEntry();
    void withoutAnyProfileTheRunStartsAndTheSequenceEnds();
    void anEmptyPlaylistStartsNothing();
    void aMalformedSequenceShowsAnErrorAndStartsNothing_data();
    void aMalformedSequenceShowsAnErrorAndStartsNothing();
    void planSectionsBecomeAPlaylist();

private:
    QString ProfilesFolder() const { return FData->path() + "/Profile/"; }
    void WriteFile(const QString& name, const QByteArray& text) {
        WriteFileAtomic(ProfilesFolder() + name, text);
    }
    QString Snapshot() const { return FRig->Settings.SettingsSnapshot(); }
    // The sequence load as the main window runs it: a run starts only when none is active.
    void LoadSequenceFile(const QString& name) {
        FAnswers->FileAnswers << ProfilesFolder() + name;
        LoadSequence(nullptr, FRig->Player, [this] {
            ++FStarts;
            FMessagesAtStart = FAnswers->Messages.size();
            FRig->RunState.IsRunning = true;
        });
        QCoreApplication::processEvents();
    }

    std::unique_ptr<QTemporaryDir> FData;
    std::unique_ptr<TDialogAnswers> FAnswers;
    std::unique_ptr<test::TSequenceRig> FRig;
    TProfileRun FProfileRun;
    int FStarts = 0;
    qsizetype FMessagesAtStart = -1;
};

void ProfileActionsTest::init() {
    FData = std::make_unique<QTemporaryDir>();
    OverrideDataFolder(FData->path());
    FAnswers = std::make_unique<TDialogAnswers>();
    FRig = std::make_unique<test::TSequenceRig>();
    FRig->Player.OnNotice = QueuedSequenceNotice(nullptr);
    FProfileRun = TProfileRun();
    FStarts = 0;
    FMessagesAtStart = -1;
}

void ProfileActionsTest::cleanup() {
    FRig.reset();
    FAnswers.reset();
    OverrideDataFolder(QString());
    FData.reset();
}

void ProfileActionsTest::savingAsksInTheProfilesFolderAndCountsAsAProfileRun() {
    QVERIFY(!QDir(ProfilesFolder()).exists());
    FAnswers->FileAnswers << ProfilesFolder() + "MeinProfil.json";
    QVERIFY(SaveProfile(nullptr, FRig->Settings, FProfileRun));

    QCOMPARE(FAnswers->FileRequests.size(), 1);
    const TFileRequest& request = FAnswers->FileRequests.first();
    QVERIFY(request.Save);
    QCOMPARE(request.Folder, GetProfilesFolder());
    QCOMPARE(request.Filter, QString("JSON Profile|*.json"));
    QCOMPARE(request.ProposedName, QString("MeinProfil.json"));
    QVERIFY(QDir(ProfilesFolder()).exists());
    QCOMPARE(FAnswers->Texts(), QStringList{"Profil erfolgreich gespeichert!"});

    QByteArray bytes;
    QVERIFY(ReadWholeFile(ProfilesFolder() + "MeinProfil.json", bytes));
    QCOMPARE(bytes, Utf8Bom() + Snapshot().toUtf8());
    const TRunKindName kind = FProfileRun.KindOf(Snapshot());
    QCOMPARE(kind.Kind, QString("Profil"));
    QCOMPARE(kind.Name, QString("MeinProfil"));
}

void ProfileActionsTest::aNameWithoutExtensionGetsJson() {
    FAnswers->FileAnswers << ProfilesFolder() + "Ohne";
    QVERIFY(SaveProfile(nullptr, FRig->Settings, FProfileRun));
    QVERIFY(QFileInfo::exists(ProfilesFolder() + "Ohne.json"));
    QCOMPARE(FProfileRun.FLastProfileName, QString("Ohne"));
}

void ProfileActionsTest::cancellingChangesNothing() {
    FProfileRun.Remember("Alt.json", Snapshot());
    QVERIFY(!SaveProfile(nullptr, FRig->Settings, FProfileRun));
    QVERIFY(!LoadProfile(nullptr, FRig->Settings, FProfileRun));
    QCOMPARE(FAnswers->FileRequests.size(), 2);
    QVERIFY(!FAnswers->FileRequests[1].Save);
    QCOMPARE(FAnswers->FileRequests[1].Filter, QString("JSON Profile|*.json"));
    QVERIFY(FAnswers->Messages.isEmpty());
    QCOMPARE(FProfileRun.FLastProfileName, QString("Alt"));
    QCOMPARE(QDir(ProfilesFolder()).entryList(QDir::Files).size(), 0);
}

void ProfileActionsTest::aRefusedWriteReachesTheCallerAndKeepsTheRememberedProfile() {
    FProfileRun.Remember("Alt.json", "{}");
    QVERIFY(QDir().mkpath(ProfilesFolder() + "Ordner.json"));
    FAnswers->FileAnswers << ProfilesFolder() + "Ordner.json";
    QVERIFY_THROWS_EXCEPTION(TWriteError, SaveProfile(nullptr, FRig->Settings, FProfileRun));
    QVERIFY(FAnswers->Messages.isEmpty());
    QCOMPARE(FProfileRun.FLastProfileName, QString("Alt"));
    QCOMPARE(FProfileRun.FLastProfileSnapshot, QString("{}"));
}

void ProfileActionsTest::aLoadedProfileCountsWhileItsTextIsUnchanged_data() {
    QTest::addColumn<TChange>("change");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("unchanged") << TChange::None << "Profil"
                               << "Schnell";
    QTest::newRow("speed 5, 6, 5") << TChange::SpeedThereAndBack << "Profil"
                                   << "Schnell";
    QTest::newRow("follower on and off") << TChange::FollowerThereAndBack << "Profil"
                                         << "Schnell";
    QTest::newRow("count changed") << TChange::Count << "Einstellungen"
                                   << "";
    QTest::newRow("direction changed") << TChange::Direction << "Einstellungen"
                                       << "";
}

void ProfileActionsTest::aLoadedProfileCountsWhileItsTextIsUnchanged() {
    QFETCH(TChange, change);
    QFETCH(QString, kind);
    QFETCH(QString, name);
    WriteFile("Schnell.json", Utf8Bom() + R"({"speed":5,"count":60})");
    FAnswers->FileAnswers << ProfilesFolder() + "Schnell.json";
    QVERIFY(LoadProfile(nullptr, FRig->Settings, FProfileRun));
    QCOMPARE(FRig->Speed(), 5);
    QCOMPARE(FRig->Controls.FCount.Position(), 60);
    QVERIFY(FAnswers->Messages.isEmpty());
    Apply(FRig->Controls, change);
    const TRunKindName result = FProfileRun.KindOf(Snapshot());
    QCOMPARE(result.Kind, kind);
    QCOMPARE(result.Name, name);
}

void ProfileActionsTest::loadingClampsHandWrittenValues() {
    WriteFile("Hand.json", R"({"speed": 50, "count": -3})");
    FAnswers->FileAnswers << ProfilesFolder() + "Hand.json";
    QVERIFY(LoadProfile(nullptr, FRig->Settings, FProfileRun));
    QCOMPARE(FRig->Speed(), 20);
    QCOMPARE(FRig->Controls.FCount.Position(), 0);
    QCOMPARE(FProfileRun.KindOf(Snapshot()).Kind, QString("Profil"));
}

void ProfileActionsTest::contentThatIsNoObjectChangesNothingButIsRemembered() {
    WriteFile("Leer.json", "");
    WriteFile("Liste.json", "[1,2]");
    for (const char* name : {"Leer.json", "Liste.json"}) {
        const QString before = Snapshot();
        FAnswers->FileAnswers << ProfilesFolder() + name;
        QVERIFY(LoadProfile(nullptr, FRig->Settings, FProfileRun));
        QCOMPARE(Snapshot(), before);
        QCOMPARE(FProfileRun.KindOf(Snapshot()).Name, QFileInfo(name).completeBaseName());
    }
}

void ProfileActionsTest::anUnreadableProfileReachesTheCaller() {
    FProfileRun.Remember("Alt.json", Snapshot());
    QVERIFY(QDir().mkpath(ProfilesFolder() + "Ordner.json"));
    FAnswers->FileAnswers << ProfilesFolder() + "Ordner.json";
    QVERIFY_THROWS_EXCEPTION(TReadError, LoadProfile(nullptr, FRig->Settings, FProfileRun));
    QCOMPARE(FProfileRun.FLastProfileName, QString("Alt"));
}

void ProfileActionsTest::loadingASequenceAsksForASeqFile() {
    LoadSequence(nullptr, FRig->Player, [this] { ++FStarts; });
    QCOMPARE(FAnswers->FileRequests.size(), 1);
    const TFileRequest& request = FAnswers->FileRequests.first();
    QVERIFY(!request.Save);
    QCOMPARE(request.Title, QString("Automatisierte Sequenz laden"));
    QCOMPARE(request.Filter, QString("Sequenz-Dateien (*.seq)|*.seq|Alle Dateien|*.*"));
    QCOMPARE(request.Folder, GetProfilesFolder());
    QVERIFY(QDir(ProfilesFolder()).exists());
    QVERIFY(FAnswers->Messages.isEmpty());
    QCOMPARE(FStarts, 0);
    QVERIFY(FRig->Player.FSequenceName.isEmpty());
}

void ProfileActionsTest::aLoadedSequenceStartsARunAndAppliesItsFirstEntry() {
    WriteFile("Eins.json", Utf8Bom() + R"({"speed":2})");
    WriteFile("Zwei.json", Utf8Bom() + R"({"speed":3})");
    WriteFile("Drei.json", Utf8Bom() + R"({"speed":4})");
    WriteFile("Meine Folge.seq", R"({"playlist":[{"file":"Fehlt.json","duration":60},)"
                                 R"({"file":"Zwei.json","duration":60},)"
                                 R"({"file":"Drei.json","duration":60}]})");
    LoadSequenceFile("Meine Folge.seq");
    QCOMPARE(FAnswers->Texts(), QStringList{"3 Einträge in der Sequenz geladen. Start!"});
    QCOMPARE(FAnswers->Messages.first().Kind, TMsgKind::Information);
    QCOMPARE(FStarts, 1);
    QCOMPARE(FMessagesAtStart, qsizetype(1)); // the run starts after the message is closed
    QVERIFY(FRig->Player.FPlaylistActive);
    QCOMPARE(FRig->Player.FSequenceName, QString("Meine Folge"));
    QCOMPARE(FRig->Player.FPlaylistIndex, 1);
    QCOMPARE(FRig->Speed(), 3);
}

void ProfileActionsTest::withoutAnyProfileTheRunStartsAndTheSequenceEnds() {
    FRig->Controls.FSpeed.SetPosition(8);
    WriteFile("Nichts.seq", R"({"playlist":[{"file":"A.json"},{"file":"B.json"}]})");
    LoadSequenceFile("Nichts.seq");
    QCOMPARE(FAnswers->Texts(),
             QStringList({"2 Einträge in der Sequenz geladen. Start!", SequenceEndedText}));
    QCOMPARE(FStarts, 1);
    QVERIFY(FRig->RunState.IsRunning);
    QVERIFY(!FRig->Player.FPlaylistActive);
    QCOMPARE(FRig->Speed(), 8);
}

void ProfileActionsTest::anEmptyPlaylistStartsNothing() {
    WriteFile("Leer.seq", R"({"playlist":[]})");
    LoadSequenceFile("Leer.seq");
    QCOMPARE(FAnswers->Texts(), QStringList{"Keine gültigen Einträge in der Playlist gefunden."});
    QCOMPARE(FStarts, 0);
    QVERIFY(!FRig->Player.FPlaylistActive);
}

void ProfileActionsTest::aMalformedSequenceShowsAnErrorAndStartsNothing_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("top level not an object") << QByteArray(R"([{"file":"A.json"}])");
    QTest::newRow("playlist not an array") << QByteArray(R"({"playlist":"A.json"})");
    QTest::newRow("element not an object") << QByteArray(R"({"playlist":[{"file":"A.json"},2]})");
}

void ProfileActionsTest::aMalformedSequenceShowsAnErrorAndStartsNothing() {
    QFETCH(QByteArray, text);
    WriteFile("A.json", Utf8Bom() + R"({"speed":2})");
    WriteFile("Gut.seq", R"({"playlist":[{"file":"A.json"}]})");
    LoadSequenceFile("Gut.seq");
    QVERIFY(FRig->Player.FPlaylistActive);
    FRig->RunState.IsRunning = false;
    FRig->Player.StopPlaying();
    FAnswers->Messages.clear();

    WriteFile("Kaputt.seq", text);
    LoadSequenceFile("Kaputt.seq");
    QCOMPARE(FAnswers->Messages.size(), 1);
    QCOMPARE(FAnswers->Messages.first().Kind, TMsgKind::Error);
    QCOMPARE(FStarts, 1);
    QVERIFY(!FRig->Player.FPlaylistActive);
    QVERIFY(FRig->Player.FPlaylist.empty());
}

void ProfileActionsTest::planSectionsBecomeAPlaylist() {
    TTrainingPlan plan;
    plan.Kind = pkSequence;
    plan.Items = {{"A.json", 45, R"({"speed":9})"}, {"B.json", 5, R"({"speed":10})"}};
    const std::vector<TPlaylistItem> playlist = PlaylistOfPlan(plan);
    QCOMPARE(playlist.size(), std::size_t(2));
    QCOMPARE(playlist[1].FileName, QString("B.json"));
    QCOMPARE(playlist[1].Duration, 5);
    QCOMPARE(playlist[1].SettingsJson, QString(R"({"speed":10})"));
    FRig->Player.SetPlaylist(playlist, GetProfilesFolder());
    FRig->Player.StartPlaylist();
    FRig->Player.NextSequenceEntry();
    QCOMPARE(FRig->Speed(), 9);
}

QTEST_MAIN(ProfileActionsTest)
#include "profile_actions_qtest.moc"
