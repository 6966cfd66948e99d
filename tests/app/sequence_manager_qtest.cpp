#include "app/form2_sequence_manager.h"
#include "app/profile_actions.h"
#include "common/dialog_answers.h"
#include "engine/sequence_file.h"
#include "platform/atomic_file.h"
#include "users/data_folder.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace kalvero;
using kalvero::test::TDialogAnswers;

namespace {

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int row = 0; row < list->count(); ++row)
        items << list->item(row)->text();
    return items;
}

QStringList Sorted(QStringList list) {
    list.sort();
    return list;
}

} // namespace

class SequenceManagerTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controlsCarryTheirCaptionsAndDefaults();
    void creatingTheWindowCreatesTheProfilesFolder();
    void listsTheProfilesOfTheFolder();
    void addingNeedsASelectionAndRepeatsAreAllowed();
    void moving_data();
    void moving();
    void removingSelectsTheEntryInItsPlace();
    void savingNeedsAnEntry();
    void savingWritesTheWriterForm();
    void savingOverAnExistingFileReplacesIt();
    void aCancelledSaveWritesNothing();
    void aRefusedWriteIsShownInsteadOfTheSuccess();
    void umlautNamesAreWrittenAsUtf8AndReadBackUnchanged();
    void eachCallOpensANewWindowWithTheCurrentFolder();

private:
    QString ProfilesFolder() const { return FData->path() + "/Profile/"; }
    void WriteProfiles(const QStringList& names) {
        for (const QString& name : names)
            WriteFileAtomic(ProfilesFolder() + name, Utf8Bom() + "{}");
    }
    // A window over the profiles, with the given names added in this order.
    std::unique_ptr<TForm2> FormWith(const QStringList& available, const QStringList& planned) {
        WriteProfiles(available);
        auto form = std::make_unique<TForm2>();
        for (const QString& name : planned) {
            const auto found = form->ListBoxAvailable->findItems(name, Qt::MatchExactly);
            if (found.isEmpty())
                return nullptr;
            form->ListBoxAvailable->setCurrentItem(found.first());
            form->ButtonAdd->click();
        }
        return form;
    }
    QByteArray Read(const QString& path) const {
        QByteArray bytes;
        ReadWholeFile(path, bytes);
        return bytes;
    }

    std::unique_ptr<QTemporaryDir> FData;
};

void SequenceManagerTest::init() {
    FData = std::make_unique<QTemporaryDir>();
    OverrideDataFolder(FData->path());
}

void SequenceManagerTest::cleanup() {
    OverrideDataFolder(QString());
    FData.reset();
}

void SequenceManagerTest::controlsCarryTheirCaptionsAndDefaults() {
    TForm2 form;
    QCOMPARE(form.windowTitle(), QString("Kalvero 4 - Sequenzmanager"));
    const QList<QPair<const char*, QString>> texts = {
        {"LabelUeberschrift", "Sequenzmanager"},
        {"LabelAvailable", "Vorhandene  Profile"},
        {"LabelSequence", "Geplante Reihenfolge"},
        {"LabelDuration", "Zeit zwischen\nProfilen (in Sek.)"},
    };
    for (const auto& [name, text] : texts) {
        const auto* label = form.findChild<QLabel*>(name);
        QVERIFY2(label, name);
        QCOMPARE(label->text(), text);
    }
    const QList<QPair<const char*, QString>> buttons = {
        {"ButtonAdd", "Zur Sequenz hinzufügen"}, {"ButtonMoveUp", "Profil hoch"},
        {"ButtonMoveDown", "Profil runter"},     {"ButtonRemove", "Profil entfernen"},
        {"ButtonSave", "Sequenz speichern"},
    };
    for (const auto& [name, text] : buttons) {
        const auto* button = form.findChild<QPushButton*>(name);
        QVERIFY2(button, name);
        QCOMPARE(button->text(), text);
    }
    QVERIFY(form.LabelUeberschrift->font().bold());
    QVERIFY(form.LabelUeberschrift->font().pointSize() > form.LabelAvailable->font().pointSize());
    QCOMPARE(form.findChild<QListWidget*>("ListBoxAvailable"), form.ListBoxAvailable);
    QCOMPARE(form.findChild<QListWidget*>("ListBoxSequence"), form.ListBoxSequence);
    QCOMPARE(form.ListBoxSequence->count(), 0);
    QCOMPARE(form.findChild<QSpinBox*>("SpinEditDuration"), form.SpinEditDuration);
    QCOMPARE(form.SpinEditDuration->minimum(), 1);
    QCOMPARE(form.SpinEditDuration->maximum(), 999);
    QCOMPARE(form.SpinEditDuration->value(), 60);
}

void SequenceManagerTest::creatingTheWindowCreatesTheProfilesFolder() {
    QVERIFY(!QDir(ProfilesFolder()).exists());
    TForm2 form;
    QVERIFY(QDir(ProfilesFolder()).exists());
    QCOMPARE(form.ListBoxAvailable->count(), 0);
}

void SequenceManagerTest::listsTheProfilesOfTheFolder() {
    WriteProfiles({"Eins.json", "Zwei.json", "GROSS.JSON", "Folge.seq", "Notiz.txt", "json"});
    QVERIFY(QDir().mkpath(ProfilesFolder() + "Ordner.json"));
    TForm2 form;
    QCOMPARE(Sorted(Items(form.ListBoxAvailable)),
             QStringList({"Eins.json", "GROSS.JSON", "Zwei.json"}));
}

void SequenceManagerTest::addingNeedsASelectionAndRepeatsAreAllowed() {
    auto form = FormWith({"A.json", "B.json"}, {"A.json", "A.json", "B.json", "A.json"});
    QVERIFY(form);
    QCOMPARE(Items(form->ListBoxSequence), QStringList({"A.json", "A.json", "B.json", "A.json"}));
    form->ListBoxAvailable->setCurrentRow(-1);
    form->ButtonAdd->click();
    QCOMPARE(form->ListBoxSequence->count(), 4);
}

void SequenceManagerTest::moving_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("first up") << 0 << true << QStringList{"A", "B", "C"} << 0;
    QTest::newRow("last down") << 2 << false << QStringList{"A", "B", "C"} << 2;
    QTest::newRow("middle up") << 1 << true << QStringList{"B", "A", "C"} << 0;
    QTest::newRow("middle down") << 1 << false << QStringList{"A", "C", "B"} << 2;
    QTest::newRow("none up") << -1 << true << QStringList{"A", "B", "C"} << -1;
    QTest::newRow("none down") << -1 << false << QStringList{"A", "B", "C"} << -1;
}

void SequenceManagerTest::moving() {
    QFETCH(int, selected);
    QFETCH(bool, up);
    QFETCH(QStringList, order);
    QFETCH(int, selectedAfter);
    auto form = FormWith({"A.json", "B.json", "C.json"}, {"A.json", "B.json", "C.json"});
    QVERIFY(form);
    form->ListBoxSequence->setCurrentRow(selected);
    (up ? form->ButtonMoveUp : form->ButtonMoveDown)->click();
    QStringList expected;
    for (const QString& name : order)
        expected << name + ".json";
    QCOMPARE(Items(form->ListBoxSequence), expected);
    QCOMPARE(form->ListBoxSequence->currentRow(), selectedAfter);
}

void SequenceManagerTest::removingSelectsTheEntryInItsPlace() {
    auto form = FormWith({"A.json", "B.json", "C.json"}, {"A.json", "B.json", "C.json"});
    QVERIFY(form);
    form->ListBoxSequence->setCurrentRow(-1);
    form->ButtonRemove->click();
    QCOMPARE(form->ListBoxSequence->count(), 3);
    form->ListBoxSequence->setCurrentRow(1);
    form->ButtonRemove->click();
    QCOMPARE(Items(form->ListBoxSequence), QStringList({"A.json", "C.json"}));
    QCOMPARE(form->ListBoxSequence->currentRow(), 1);
    form->ButtonRemove->click();
    QCOMPARE(Items(form->ListBoxSequence), QStringList({"A.json"}));
    QCOMPARE(form->ListBoxSequence->currentRow(), 0);
    form->ButtonRemove->click();
    QCOMPARE(form->ListBoxSequence->count(), 0);
}

void SequenceManagerTest::savingNeedsAnEntry() {
    TDialogAnswers answers;
    answers.FileAnswers << ProfilesFolder() + "Leer.seq";
    TForm2 form;
    form.ButtonSave->click();
    QCOMPARE(answers.Texts(),
             QStringList{"Bitte fügen Sie mindestens ein Profil zur Sequenz hinzu."});
    QVERIFY(answers.FileRequests.isEmpty());
    QVERIFY(!QFileInfo::exists(ProfilesFolder() + "Leer.seq"));
}

void SequenceManagerTest::savingWritesTheWriterForm() {
    TDialogAnswers answers;
    answers.FileAnswers << ProfilesFolder() + "Vier";
    auto form = FormWith({"A.json", "B.json", "C.json", "D.json"},
                         {"D.json", "A.json", "C.json", "B.json"});
    QVERIFY(form);
    form->SpinEditDuration->setValue(90);
    form->ButtonSave->click();

    QCOMPARE(answers.FileRequests.size(), 1);
    const TFileRequest& request = answers.FileRequests.first();
    QVERIFY(request.Save);
    QCOMPARE(QDir(request.Folder).absolutePath(), QDir(ProfilesFolder()).absolutePath());
    QCOMPARE(request.Filter, QString("Sequenz-Dateien (*.seq)|*.seq"));
    QCOMPARE(answers.Texts(), QStringList{"Sequenz erfolgreich gespeichert!"});
    QCOMPARE(Read(ProfilesFolder() + "Vier.seq"),
             QByteArray(R"({"playlist":[{"file":"D.json","duration":90},)"
                        R"({"file":"A.json","duration":90},{"file":"C.json","duration":90},)"
                        R"({"file":"B.json","duration":90}]})"));
    // The window stays as it was, ready for the next sequence.
    QCOMPARE(form->ListBoxSequence->count(), 4);
}

void SequenceManagerTest::savingOverAnExistingFileReplacesIt() {
    TDialogAnswers answers;
    const QString path = ProfilesFolder() + "Folge.seq";
    answers.FileAnswers << path << path;
    auto form = FormWith({"A.json", "B.json"}, {"A.json", "B.json"});
    QVERIFY(form);
    form->ButtonSave->click();
    form->ListBoxSequence->setCurrentRow(0);
    form->ButtonRemove->click();
    form->SpinEditDuration->setValue(5);
    form->ButtonSave->click();
    QCOMPARE(answers.Messages.size(), 2);
    QCOMPARE(Read(path), QByteArray(R"({"playlist":[{"file":"B.json","duration":5}]})"));
}

void SequenceManagerTest::aCancelledSaveWritesNothing() {
    TDialogAnswers answers;
    auto form = FormWith({"A.json"}, {"A.json"});
    QVERIFY(form);
    form->ButtonSave->click();
    QCOMPARE(answers.FileRequests.size(), 1);
    QVERIFY(answers.Messages.isEmpty());
    QCOMPARE(QDir(ProfilesFolder()).entryList({"*.seq"}, QDir::Files).size(), 0);
}

void SequenceManagerTest::aRefusedWriteIsShownInsteadOfTheSuccess() {
    TDialogAnswers answers;
    QVERIFY(QDir().mkpath(ProfilesFolder() + "Ordner.seq"));
    answers.FileAnswers << ProfilesFolder() + "Ordner.seq";
    auto form = FormWith({"A.json"}, {"A.json"});
    QVERIFY(form);
    form->ButtonSave->click();
    QCOMPARE(answers.Messages.size(), 1);
    QCOMPARE(answers.Messages.first().Kind, TMsgKind::Error);
    QVERIFY(answers.Messages.first().Text.contains("Ordner.seq"));
}

void SequenceManagerTest::umlautNamesAreWrittenAsUtf8AndReadBackUnchanged() {
    TDialogAnswers answers;
    const QString path = ProfilesFolder() + "Übungsfolge.seq";
    answers.FileAnswers << path;
    auto form = FormWith({"Übung für Ärger.json"}, {"Übung für Ärger.json"});
    QVERIFY(form);
    form->ButtonSave->click();
    const QByteArray bytes = Read(path);
    QVERIFY(bytes.contains(QString("Übung für Ärger.json").toUtf8()));
    QVERIFY(!bytes.contains("\\u"));
    QVERIFY(!bytes.startsWith(Utf8Bom()));
    const TSequenceLoad load = LoadSequenceFile(path);
    QCOMPARE(load.Status, TSequenceLoadStatus::Loaded);
    QCOMPARE(load.Playlist.size(), std::size_t(1));
    QCOMPARE(load.Playlist[0].FileName, QString("Übung für Ärger.json"));
}

void SequenceManagerTest::eachCallOpensANewWindowWithTheCurrentFolder() {
    QStringList seen;
    QList<int> planned;
    const auto checkAndClose = [&] {
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TForm2*>(QApplication::activeModalWidget());
            if (form == nullptr)
                return;
            seen << Items(form->ListBoxAvailable).join(',');
            planned << form->ListBoxSequence->count();
            form->ListBoxSequence->addItem("Rest.json");
            form->close();
        });
    };
    WriteProfiles({"A.json"});
    checkAndClose();
    OpenSequenceManager(nullptr);
    WriteProfiles({"B.json"});
    checkAndClose();
    OpenSequenceManager(nullptr);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0], QString("A.json"));
    QCOMPARE(Sorted(seen[1].split(',')), QStringList({"A.json", "B.json"}));
    QCOMPARE(planned, QList<int>({0, 0}));
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

QTEST_MAIN(SequenceManagerTest)
#include "sequence_manager_qtest.moc"
