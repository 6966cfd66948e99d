#include "common/dialog_answers.h"
#include "plan/training_plan.h"
#include "plan/ui/plan_editor.h"
#include "platform/atomic_file.h"
#include "users/data_folder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(kalvero::TOperatingMode)

using namespace kalvero;
using kalvero::test::TDialogAnswers;

namespace {

const QString kSettings = QStringLiteral(R"({"sprite_index":1,"count":30,"speed":5})");
const QString kNoProfiles = QStringLiteral("Die Sequenz \"Reihe\" enthält keine lesbaren Profile.");

void WriteFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray ReadFile(const QString& path) {
    QByteArray data;
    ReadWholeFile(path, data);
    return data;
}

void WriteProfile(const QString& name, const QByteArray& json) {
    WriteFile(GetProfilesFolder() + name, Utf8Bom() + json);
}

} // namespace

class TPlanEditorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TDialogAnswers> FAnswers;
    std::unique_ptr<TFormPlan> FForm;

    TFormPlan& Open(TOperatingMode mode = TOperatingMode::Therapist,
                    const QString& settings = kSettings, const QString& therapist = QString()) {
        FForm = std::make_unique<TFormPlan>();
        FForm->Prepare("Anna", mode, settings, therapist);
        return *FForm;
    }

    template <typename TWidget> TWidget* Control(const char* name) {
        auto* widget = FForm->findChild<TWidget*>(QLatin1String(name));
        if (widget == nullptr)
            qFatal("no control %s", name);
        return widget;
    }

    void Click(const char* button) { Control<QPushButton>(button)->click(); }

    std::unique_ptr<TTrainingPlan> Stored() { return LoadStoredPlan("Anna"); }

    static void StorePlan(const TTrainingPlan& plan) { plan.SaveToFile(GetUserPlanFile("Anna")); }

    static TTrainingPlan ProfilePlan() {
        TTrainingPlan plan;
        plan.Settings = kSettings;
        plan.Patient = "Anna";
        plan.Therapist = "Frau Berg";
        plan.Minutes = 25;
        plan.Note = "Bitte\r\nlangsam";
        plan.Locked = true;
        plan.SearchTest = true;
        plan.Created = "08.12.2026";
        return plan;
    }

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        OverrideDataFolder(FDir->path());
        FAnswers = std::make_unique<TDialogAnswers>();
    }

    void cleanup() {
        FForm.reset();
        FAnswers.reset();
        OverrideDataFolder(QString());
        FDir.reset();
    }

    void therapistModeShowsEveryControl() {
        Open();
        QCOMPARE(FForm->windowTitle(), QStringLiteral("Kalvero 4 - Trainingsplan"));
        QCOMPARE(Control<QLabel>("LabelTitle")->text(), QStringLiteral("Trainingsplan für Anna"));
        QCOMPARE(Control<QLabel>("LabelCurrentCap")->text(), QStringLiteral("Aktueller Plan"));
        QVERIFY(!Control<QFrame>("PanelCreate")->isHidden());
        QVERIFY(!Control<QPushButton>("ButtonSave")->isHidden());
        QVERIFY(!Control<QPushButton>("ButtonExport")->isHidden());
        QCOMPARE(Control<QPushButton>("ButtonImport")->text(), QStringLiteral("Plan einlesen ..."));
        QCOMPARE(Control<QPushButton>("ButtonSave")->text(), QStringLiteral("Plan speichern"));
        QCOMPARE(Control<QPushButton>("ButtonExport")->text(),
                 QStringLiteral("Als Datei weitergeben ..."));
        QCOMPARE(Control<QPushButton>("ButtonClose")->text(), QStringLiteral("Schließen"));
        QCOMPARE(Control<QSpinBox>("SpinMinutes")->value(), 20);
        QCOMPARE(Control<QSpinBox>("SpinMinutes")->maximum(), 180);
        QVERIFY(Control<QRadioButton>("RadioCurrent")->isChecked());
        QVERIFY(!Control<QPushButton>("ButtonRemove")->isEnabled());
        QCOMPARE(
            Control<QPlainTextEdit>("MemoCurrent")->toPlainText(),
            QStringLiteral("Für Anna gibt es noch keinen Trainingsplan. Ohne Plan wird mit den "
                           "Einstellungen im Hauptfenster trainiert."));
        QVERIFY(Control<QPlainTextEdit>("MemoCurrent")->isReadOnly());
    }

    void patientModeShrinksToTheCurrentPlan() {
        Open(TOperatingMode::Patient);
        QCOMPARE(Control<QLabel>("LabelTitle")->text(), QStringLiteral("Ihr Trainingsplan"));
        QCOMPARE(Control<QPushButton>("ButtonImport")->text(),
                 QStringLiteral("Trainingsplan einlesen ..."));
        QVERIFY(Control<QFrame>("PanelCreate")->isHidden());
        QVERIFY(Control<QPushButton>("ButtonSave")->isHidden());
        QVERIFY(Control<QPushButton>("ButtonExport")->isHidden());
        QCOMPARE(FForm->height(),
                 Control<QFrame>("PanelCreate")->y() + Control<QFrame>("PanelButtons")->height());
        QCOMPARE(Control<QFrame>("PanelButtons")->y(), Control<QFrame>("PanelCreate")->y());
        QCOMPARE(Control<QPlainTextEdit>("MemoCurrent")->toPlainText(),
                 QStringLiteral("Es ist kein Trainingsplan eingelesen. Sie trainieren mit Ihren "
                                "eigenen Einstellungen im Hauptfenster.\n\nHat Ihnen Ihre "
                                "Therapeutin oder Ihr Therapeut einen Plan gegeben (Datei mit der "
                                "Endung .kvplan), lesen Sie ihn mit \"Trainingsplan einlesen\" "
                                "ein."));
    }

    void storedPlanIsShownAndPrefillsTheForm() {
        TTrainingPlan plan = ProfilePlan();
        plan.Minutes = 240;
        StorePlan(plan);
        Open(TOperatingMode::Therapist, kSettings, "Herr Kern");
        QCOMPARE(Control<QPlainTextEdit>("MemoCurrent")->toPlainText(),
                 Stored()->Summary().replace("\r\n", "\n"));
        QVERIFY(Control<QPushButton>("ButtonRemove")->isEnabled());
        QCOMPARE(Control<QSpinBox>("SpinMinutes")->value(), 180);
        QCOMPARE(Control<QLineEdit>("EditTherapist")->text(), QStringLiteral("Frau Berg"));
        QCOMPARE(Control<QPlainTextEdit>("MemoNote")->toPlainText(),
                 QStringLiteral("Bitte\nlangsam"));
        QVERIFY(Control<QCheckBox>("CheckLocked")->isChecked());
        QVERIFY(Control<QCheckBox>("CheckSearchTest")->isChecked());

        Click("ButtonSave");
        const auto saved = Stored();
        QVERIFY(saved);
        QCOMPARE(saved->Minutes, 180);
        QCOMPARE(saved->Note, QStringLiteral("Bitte\r\nlangsam"));
        QCOMPARE(saved->Therapist, QStringLiteral("Frau Berg"));
    }

    void therapistNameComesFromTheCallerWhenThePlanHasNone() {
        TTrainingPlan plan = ProfilePlan();
        plan.Therapist.clear();
        StorePlan(plan);
        Open(TOperatingMode::Therapist, kSettings, "Herr Kern");
        QCOMPARE(Control<QLineEdit>("EditTherapist")->text(), QStringLiteral("Herr Kern"));
    }

    void noSequenceFilesLeaveOnlyTheCurrentSettings_data() {
        QTest::addColumn<bool>("folderExists");
        QTest::newRow("no profiles folder") << false;
        QTest::newRow("profiles but no sequence") << true;
    }

    void noSequenceFilesLeaveOnlyTheCurrentSettings() {
        QFETCH(bool, folderExists);
        if (folderExists) {
            WriteProfile("a.json", kSettings.toUtf8());
            QDir().mkpath(GetProfilesFolder() + "folder.seq");
        }
        Open();
        QVERIFY(!Control<QRadioButton>("RadioSequence")->isEnabled());
        QVERIFY(!Control<QComboBox>("ComboSequence")->isEnabled());
        QCOMPARE(Control<QComboBox>("ComboSequence")->count(), 0);
        Click("ButtonSave");
        const auto saved = Stored();
        QVERIFY(saved);
        QCOMPARE(saved->Kind, pkProfile);
        QCOMPARE(saved->Settings, kSettings);
        QCOMPARE(saved->Name, QString());
        QCOMPARE(saved->Patient, QStringLiteral("Anna"));
        QCOMPARE(saved->Created, QDate::currentDate().toString("dd.MM.yyyy"));
        QVERIFY(FForm->Changed());
        QCOMPARE(FAnswers->Texts(), QStringList{"Der Plan ist für Anna gespeichert."});
    }

    void emptySettingsTextSavesNothing() {
        Open(TOperatingMode::Therapist, QString());
        Click("ButtonSave");
        Click("ButtonExport");
        QVERIFY(!QFileInfo::exists(GetUserPlanFile("Anna")));
        QVERIFY(FAnswers->Messages.isEmpty());
        QVERIFY(FAnswers->FileRequests.isEmpty());
        QVERIFY(!FForm->Changed());
    }

    void sequencesAreListedAndChoosingOneSwitchesItOn() {
        WriteFile(GetProfilesFolder() + "Reihe.seq", R"({"playlist":[]})");
        WriteFile(GetProfilesFolder() + "Zwei.v2.seq", R"({"playlist":[]})");
        WriteFile(GetProfilesFolder() + "sub/Tief.seq", R"({"playlist":[]})");
        Open();
        auto* combo = Control<QComboBox>("ComboSequence");
        QStringList names;
        for (int i = 0; i < combo->count(); ++i)
            names << combo->itemText(i);
        names.sort();
        QCOMPARE(names, (QStringList{"Reihe", "Zwei.v2"}));
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(Control<QRadioButton>("RadioCurrent")->isChecked());
        emit combo->activated(1);
        QVERIFY(Control<QRadioButton>("RadioSequence")->isChecked());
    }

    void allProfilesMissingWarnsWithTheSequenceName() {
        WriteFile(GetProfilesFolder() + "Reihe.seq",
                  R"({"playlist":[{"file":"weg.json","duration":60},{"file":"fort.json"}]})");
        Open();
        Control<QRadioButton>("RadioSequence")->setChecked(true);
        Click("ButtonSave");
        QCOMPARE(FAnswers->Texts(), QStringList{kNoProfiles});
        QCOMPARE(FAnswers->Messages.first().Kind, TMsgKind::Warning);
        QVERIFY(!QFileInfo::exists(GetUserPlanFile("Anna")));
        QVERIFY(!FForm->Changed());
    }

    void unreadableSequenceCountsAsEmpty_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not JSON") << QByteArray("kaputt");
        QTest::newRow("array") << QByteArray("[1]");
        QTest::newRow("playlist no array") << QByteArray(R"({"playlist":{"file":"a.json"}})");
        QTest::newRow("entries without file")
            << QByteArray(R"({"playlist":[1,"a.json",{"file":5},{"name":"a.json"}]})");
        QTest::newRow("too deep") << QByteArray(100000, '[');
    }

    void unreadableSequenceCountsAsEmpty() {
        QFETCH(QByteArray, content);
        WriteProfile("a.json", kSettings.toUtf8());
        WriteFile(GetProfilesFolder() + "Reihe.seq", content);
        Open();
        Control<QRadioButton>("RadioSequence")->setChecked(true);
        QVERIFY(FForm->BuildPlanFromForm() == nullptr);
        QCOMPARE(FAnswers->Texts(), QStringList{kNoProfiles});
    }

    void twoOfFiveProfilesMissingGiveAPlanOfThree() {
        WriteProfile("a.json", R"({"speed":1})");
        WriteProfile("b.json", "{\"speed\":2,\"n\":\"\xC3\xBC\"}");
        WriteProfile("c.json", R"({"speed":3})");
        WriteProfile("kaputt.json", "[1]");
        WriteFile(GetProfilesFolder() + "Reihe.seq",
                  "\xEF\xBB\xBF{\"playlist\":[{\"file\":\"a.json\",\"duration\":90},"
                  "{\"file\":\"weg.json\",\"duration\":90},7,"
                  "{\"file\":\"b.json\"},{\"file\":\"kaputt.json\",\"duration\":90},"
                  "{\"file\":\"c.json\",\"duration\":\"2\"}]}");
        Open();
        Control<QRadioButton>("RadioSequence")->setChecked(true);
        Click("ButtonSave");
        QCOMPARE(FAnswers->Texts(),
                 (QStringList{"2 Profil(e) der Sequenz wurden nicht gefunden und fehlen im Plan.",
                              "Der Plan ist für Anna gespeichert."}));
        QCOMPARE(FAnswers->Messages.first().Kind, TMsgKind::Warning);
        const auto saved = Stored();
        QVERIFY(saved);
        QCOMPARE(saved->Kind, pkSequence);
        QCOMPARE(saved->Name, QStringLiteral("Reihe"));
        QCOMPARE(saved->Items.size(), size_t(3));
        QCOMPARE(saved->Items[0].Name, QStringLiteral("a.json"));
        QCOMPARE(saved->Items[0].Duration, 90);
        QCOMPARE(saved->Items[1].Duration, 30); // no duration in the sequence
        QCOMPARE(saved->Items[1].Settings, QStringLiteral(R"({"speed":2,"n":"\u00FC"})"));
        QCOMPARE(saved->Items[2].Duration, 5); // the plan file raises 2 seconds to 5
        QCOMPARE(saved->Items[2].Settings, QStringLiteral(R"({"speed":3})"));
    }

    void storedSequencePlanSelectsItsSequence_data() {
        QTest::addColumn<QString>("planName");
        QTest::addColumn<bool>("sequenceOn");
        QTest::addColumn<QString>("selected");
        QTest::newRow("sequence still there") << "Zwei" << true << "Zwei";
        QTest::newRow("sequence removed since") << "Alt" << false << "Eins";
    }

    void storedSequencePlanSelectsItsSequence() {
        QFETCH(QString, planName);
        QFETCH(bool, sequenceOn);
        QFETCH(QString, selected);
        WriteFile(GetProfilesFolder() + "Eins.seq", R"({"playlist":[]})");
        TTrainingPlan plan;
        plan.Kind = pkSequence;
        plan.Name = planName;
        plan.Items = {{"a.json", 60, "{}"}};
        StorePlan(plan);
        WriteFile(GetProfilesFolder() + "Zwei.seq", R"({"playlist":[]})");
        Open();
        auto* combo = Control<QComboBox>("ComboSequence");
        // The folder listing decides the order; the first entry is what the list starts with.
        const QString first = combo->itemText(0);
        QCOMPARE(Control<QRadioButton>("RadioSequence")->isChecked(), sequenceOn);
        QCOMPARE(Control<QRadioButton>("RadioCurrent")->isChecked(), !sequenceOn);
        QCOMPARE(combo->currentText(), sequenceOn ? selected : first);
    }

    void readProfileJson_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << QByteArray() << false << QString();
        QTest::newRow("not JSON") << QByteArray("kaputt") << true << QString();
        QTest::newRow("array") << QByteArray("[{}]") << true << QString();
        QTest::newRow("object with BOM")
            << QByteArray("\xEF\xBB\xBF{ \"a\" : \"\xC3\x9F\\n\", \"b\": [1, true] }") << true
            << QStringLiteral(R"({"a":"\u00DF\n","b":[1,true]})");
    }

    void readProfileJson() {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        QFETCH(QString, expected);
        const QString path = FDir->filePath("p.json");
        if (exists)
            WriteFile(path, content);
        QCOMPARE(TFormPlan::ReadProfileJson(path), expected);
    }

    void exportWritesTheChosenFileAndTheStoredPlan() {
        Open(TOperatingMode::Therapist, kSettings, "Frau Berg");
        const QString chosen = FDir->filePath("usb/plan");
        FAnswers->FileAnswers << chosen;
        Click("ButtonExport");
        QCOMPARE(FAnswers->FileRequests.size(), 1);
        const TFileRequest request = FAnswers->FileRequests.first();
        QVERIFY(request.Save);
        QCOMPARE(request.Title, QStringLiteral("Trainingsplan weitergeben"));
        QCOMPARE(request.Filter, QStringLiteral("Trainingsplan (*.kvplan)|*.kvplan"));
        QCOMPARE(request.ProposedName, QStringLiteral("Trainingsplan Anna.kvplan"));
        const QByteArray exported = ReadFile(chosen + ".kvplan");
        QVERIFY(!exported.isEmpty());
        QCOMPARE(ReadFile(GetUserPlanFile("Anna")), exported);
        QVERIFY(FForm->Changed());
        QVERIFY(Control<QPushButton>("ButtonRemove")->isEnabled());
        QCOMPARE(FAnswers->Texts(),
                 QStringList{"Der Plan ist gespeichert:\r\n" + chosen +
                             ".kvplan\r\n\r\n"
                             "Geben Sie diese Datei dem Patienten, z. B. auf einem USB-Stick oder "
                             "per E-Mail. In der Patientenversion liest er sie unter "
                             "\"Trainingsplan ...\" ein."});
    }

    void exportProposesTheFileFormOfTheName() {
        FForm = std::make_unique<TFormPlan>();
        FForm->Prepare("Anna: \"A/B\"", TOperatingMode::Therapist, kSettings, QString());
        Click("ButtonExport");
        QCOMPARE(FAnswers->FileRequests.first().ProposedName,
                 QStringLiteral("Trainingsplan Anna_ _A_B_.kvplan"));
    }

    void cancelledExportWritesNothing() {
        Open();
        Click("ButtonExport");
        QCOMPARE(FAnswers->FileRequests.size(), 1);
        QVERIFY(!QFileInfo::exists(GetUserPlanFile("Anna")));
        QVERIFY(FAnswers->Messages.isEmpty());
        QVERIFY(!FForm->Changed());
    }

    void importKeepsTheFieldsOfTheFile_data() {
        QTest::addColumn<TOperatingMode>("mode");
        QTest::newRow("therapist") << TOperatingMode::Therapist;
        QTest::newRow("patient") << TOperatingMode::Patient;
    }

    void importKeepsTheFieldsOfTheFile() {
        QFETCH(TOperatingMode, mode);
        TTrainingPlan plan = ProfilePlan();
        plan.Patient = "Berta";
        plan.Created = "01.01.2020";
        const QString file = FDir->filePath("stick/Trainingsplan Berta.kvplan");
        plan.SaveToFile(file);
        Open(mode);
        FAnswers->FileAnswers << file;
        Click("ButtonImport");
        const TFileRequest request = FAnswers->FileRequests.first();
        QVERIFY(!request.Save);
        QCOMPARE(request.Title, QStringLiteral("Trainingsplan einlesen"));
        QCOMPARE(request.Filter,
                 QStringLiteral("Trainingsplan (*.kvplan)|*.kvplan|Alle Dateien|*.*"));
        QCOMPARE(ReadFile(GetUserPlanFile("Anna")), ReadFile(file));
        QCOMPARE(Stored()->Patient, QStringLiteral("Berta"));
        QVERIFY(FForm->Changed());
        QCOMPARE(FAnswers->Texts(), QStringList{"Der Trainingsplan ist eingelesen."});
        QCOMPARE(Control<QPlainTextEdit>("MemoCurrent")->toPlainText(),
                 plan.Summary().replace("\r\n", "\n"));
    }

    void importOfAForeignFileChangesNothing() {
        StorePlan(ProfilePlan());
        const QByteArray before = ReadFile(GetUserPlanFile("Anna"));
        const QString foreign = FDir->filePath("fremd.kvplan");
        WriteFile(foreign, R"({"settings":{"speed":5}})");
        Open(TOperatingMode::Patient);
        FAnswers->FileAnswers << foreign;
        Click("ButtonImport");
        QCOMPARE(FAnswers->Texts(),
                 QStringList{"Diese Datei ist kein lesbarer Trainingsplan von Kalvero 4."});
        QCOMPARE(FAnswers->Messages.first().Kind, TMsgKind::Error);
        QCOMPARE(ReadFile(GetUserPlanFile("Anna")), before);
        QVERIFY(!FForm->Changed());
        Click("ButtonImport"); // cancelled dialog
        QCOMPARE(FAnswers->Messages.size(), 1);
    }

    void removeAsksFirst() {
        StorePlan(ProfilePlan());
        Open(TOperatingMode::Patient);
        FAnswers->ButtonAnswers << QMessageBox::No << QMessageBox::Yes;
        Click("ButtonRemove");
        QVERIFY(QFileInfo::exists(GetUserPlanFile("Anna")));
        QVERIFY(!FForm->Changed());
        Click("ButtonRemove");
        QVERIFY(!QFileInfo::exists(GetUserPlanFile("Anna")));
        QVERIFY(FForm->Changed());
        QVERIFY(!Control<QPushButton>("ButtonRemove")->isEnabled());
        QCOMPARE(FAnswers->Messages.size(), 2);
        QCOMPARE(FAnswers->Messages.first().Kind, TMsgKind::Question);
        QCOMPARE(FAnswers->Messages.first().Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(FAnswers->Messages.first().Text,
                 QStringLiteral("Den Trainingsplan entfernen? Danach wird mit den Einstellungen "
                                "im Hauptfenster trainiert."));
    }

    void refusedWriteIsReportedAndChangesNothing() {
        QDir().mkpath(GetUserPlanFile("Anna")); // a folder where the plan file belongs
        Open();
        Click("ButtonSave");
        QCOMPARE(FAnswers->Messages.size(), 1);
        QCOMPARE(FAnswers->Messages.first().Kind, TMsgKind::Error);
        QVERIFY(FAnswers->Messages.first().Text.endsWith("kann nicht geschrieben werden"));
        QVERIFY(!FForm->Changed());
        QVERIFY(!Control<QPushButton>("ButtonRemove")->isEnabled());
    }

    void executeReportsTheChangeWhenClosed() {
        QTimer::singleShot(0, [] {
            auto* form = qobject_cast<TFormPlan*>(QApplication::activeModalWidget());
            QVERIFY(form);
            form->findChild<QPushButton*>("ButtonSave")->click();
            QTest::keyClick(form, Qt::Key_Escape);
        });
        QVERIFY(TFormPlan::Execute(nullptr, "Anna", TOperatingMode::Therapist, kSettings, ""));
        QVERIFY(Stored());

        QTimer::singleShot(0, [] {
            auto* form = qobject_cast<TFormPlan*>(QApplication::activeModalWidget());
            QVERIFY(form);
            form->findChild<QPushButton*>("ButtonClose")->click();
        });
        QVERIFY(!TFormPlan::Execute(nullptr, "Anna", TOperatingMode::Patient, kSettings, ""));
    }
};

QTEST_MAIN(TPlanEditorTest)
#include "plan_editor_qtest.moc"
