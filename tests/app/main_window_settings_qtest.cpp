#include "app/main_window.h"
#include "app/settings_widgets.h"
#include "engine/frame_loop.h"
#include "engine/run_state.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "platform/atomic_file.h"

#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <set>

using namespace kalvero;

namespace {
const char* const FactoryText =
    R"({"background_index":0,"sprite_index":0,"speed":5,"count":40,"showtime":0,)"
    R"("direction_index":0,"variance_index":0,"alertness_index":0,"verfolger":false,)"
    R"("show_timer":false})";

QStringList Items(const TComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QStringList Items(const TRadioGroup* group) {
    QStringList items;
    for (int i = 0; i < group->ItemCount(); ++i)
        items << group->ItemText(i);
    return items;
}
} // namespace

class MainWindowSettingsTest : public QObject {
    Q_OBJECT
private slots:
    // One window for all cases (creating it loads every picture); each case starts from the
    // factory settings outside a run.
    void initTestCase() { FForm = std::make_unique<TForm1>(); }
    void init() {
        FForm->RunState().IsRunning = false;
        FForm->RunState().FPaused = false;
        FForm->Settings().ApplySettingsText(FactoryText);
    }
    void cleanupTestCase() { FForm.reset(); }
    void controlsCarryTheirCaptionsItemsRangesAndDefaults();
    void applyingUsesTheControlsRules_data();
    void applyingUsesTheControlsRules();
    void labelsFollowTheTrackBars();
    void profileRoundTripReproducesEveryControl();
    void userClickOnVarianceDuringARunChangesSpeeds();
    void idleTimerRunsOnlyWhileARunIsActiveAndNotPaused();

private:
    std::unique_ptr<TForm1> FForm;
};

void MainWindowSettingsTest::controlsCarryTheirCaptionsItemsRangesAndDefaults() {
    TForm1& form = *FForm;
    QCOMPARE(form.windowTitle(), QString("Kalvero 4"));
    QVERIFY(form.findChild<QWidget*>("PanelSettings") == form.PanelSettings);
    for (const char* name :
         {"ComboBackground", "ComboSprite", "TrackBarSpeed", "LabelSpeed",
          "TrackBarNumberOfSprites", "LabelNumberOfSprites", "TrackBarDarbietungszeit",
          "LabelDarbietungszeit", "RadioGroupDirection", "RadioGroupSameSpeed",
          "RadioGroupAlertness", "checkboxVerfolger", "checkboxZeit"}) {
        QWidget* control = form.PanelSettings->findChild<QWidget*>(name);
        QVERIFY2(control, name);
    }
    QCOMPARE(form.Settings().SettingsSnapshot(), QString(FactoryText));

    QCOMPARE(Items(form.ComboSprite), SpriteNames());
    QVERIFY(form.ComboSprite->isEditable());
    QCOMPARE(form.ComboBackground->count(), 72);
    QVERIFY(form.ComboBackground->itemText(0).startsWith("Hintergrund 1"));

    struct TBar {
        TTrackBar* Bar;
        int Min, Max, Position, LineSize, Tick;
    };
    for (const TBar& b : {TBar{form.TrackBarSpeed, 1, 20, 5, 1, 1},
                          TBar{form.TrackBarNumberOfSprites, 0, 150, 40, 5, 5},
                          TBar{form.TrackBarDarbietungszeit, 0, 30, 0, 5, 5}}) {
        QCOMPARE(b.Bar->minimum(), b.Min);
        QCOMPARE(b.Bar->maximum(), b.Max);
        QCOMPARE(b.Bar->value(), b.Position);
        QCOMPARE(b.Bar->singleStep(), b.LineSize);
        QCOMPARE(b.Bar->tickInterval(), b.Tick);
    }

    QCOMPARE(form.RadioGroupDirection->title(), QString("Laufrichtung"));
    QCOMPARE(Items(form.RadioGroupDirection), QStringList({"Nach Links", "Nach Rechts"}));
    QCOMPARE(form.RadioGroupSameSpeed->title(), QString("Gleich oder verschieden"));
    QCOMPARE(Items(form.RadioGroupSameSpeed),
             QStringList({"Reize sind gleich schnell", "Reize sind unterschiedlich schnell"}));
    QCOMPARE(form.RadioGroupAlertness->title(), QString("Alertnessreiz"));
    QCOMPARE(Items(form.RadioGroupAlertness), QStringList({"Aus", "Stern", "Drache", "Smiley"}));
    QCOMPARE(form.checkboxVerfolger->text(), QString("Verfolger an/ aus"));
    QCOMPARE(form.checkboxZeit->text(), QString("Zeit einblenden an/ aus"));

    QCOMPARE(form.LabelSpeed->text(), QString("Geschwindigkeit: 5"));
    QCOMPARE(form.LabelNumberOfSprites->text(), QString("Anzahl der Sprites: 40"));
    QCOMPARE(form.LabelDarbietungszeit->text(), QString("Darbietungszeit in min: unbegrenzt"));
    QCOMPARE(form.SpriteField().BaseSpeedFactor, 5.0);
    QCOMPARE(form.SpriteField().MoveDirection, -1);
    QVERIFY(!form.RunState().IsRunning);
}

void MainWindowSettingsTest::applyingUsesTheControlsRules_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("expected");
    QTest::newRow("speed 0") << R"({"speed":0})"
                             << "speed" << QJsonValue(1);
    QTest::newRow("speed 99") << R"({"speed":99})"
                              << "speed" << QJsonValue(20);
    QTest::newRow("count 500") << R"({"count":500})"
                               << "count" << QJsonValue(150);
    QTest::newRow("count -5") << R"({"count":-5})"
                              << "count" << QJsonValue(0);
    QTest::newRow("showtime -3") << R"({"showtime":-3})"
                                 << "showtime" << QJsonValue(0);
    QTest::newRow("showtime 31") << R"({"showtime":31})"
                                 << "showtime" << QJsonValue(30);
    QTest::newRow("alertness 9") << R"({"alertness_index":9})"
                                 << "alertness_index" << QJsonValue(3);
    QTest::newRow("direction 5") << R"({"direction_index":5})"
                                 << "direction_index" << QJsonValue(1);
    QTest::newRow("direction -1") << R"({"direction_index":-1})"
                                  << "direction_index" << QJsonValue(-1);
    QTest::newRow("variance -7") << R"({"variance_index":-7})"
                                 << "variance_index" << QJsonValue(-1);
    QTest::newRow("sprite 20") << R"({"sprite_index":20})"
                               << "sprite_index" << QJsonValue(-1);
    QTest::newRow("sprite 14") << R"({"sprite_index":14})"
                               << "sprite_index" << QJsonValue(14);
    QTest::newRow("background 72") << R"({"background_index":72})"
                                   << "background_index" << QJsonValue(-1);
    QTest::newRow("background 71") << R"({"background_index":71})"
                                   << "background_index" << QJsonValue(71);
    QTest::newRow("verfolger string") << R"({"verfolger":"true"})"
                                      << "verfolger" << QJsonValue(false);
    QTest::newRow("show_timer true") << R"({"show_timer":true})"
                                     << "show_timer" << QJsonValue(true);
}

void MainWindowSettingsTest::applyingUsesTheControlsRules() {
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(QJsonValue, expected);
    TForm1& form = *FForm;
    form.checkboxVerfolger->setChecked(true);
    form.Settings().ApplySettingsText(text);
    const QJsonObject after =
        QJsonDocument::fromJson(form.Settings().SettingsSnapshot().toUtf8()).object();
    QCOMPARE(after.value(key), expected);
    // Every other integer member is left alone.
    const QJsonObject factory = QJsonDocument::fromJson(FactoryText).object();
    for (const QString& other : factory.keys())
        if (other != key && other != "verfolger" && other != "show_timer")
            QCOMPARE(after.value(other), factory.value(other));
}

void MainWindowSettingsTest::labelsFollowTheTrackBars() {
    TForm1& form = *FForm;
    form.Settings().ApplySettingsText(R"({"speed":12,"count":85,"showtime":25})");
    QCOMPARE(form.LabelSpeed->text(), QString("Geschwindigkeit: 12"));
    QCOMPARE(form.LabelNumberOfSprites->text(), QString("Anzahl der Sprites: 85"));
    QCOMPARE(form.LabelDarbietungszeit->text(), QString("Darbietungszeit in min: 25"));
    QCOMPARE(form.SpriteField().BaseSpeedFactor, 12.0);
    form.TrackBarDarbietungszeit->setValue(0);
    QCOMPARE(form.LabelDarbietungszeit->text(), QString("Darbietungszeit in min: unbegrenzt"));
}

void MainWindowSettingsTest::profileRoundTripReproducesEveryControl() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Profil.json");
    const QString text =
        R"({"background_index":41,"sprite_index":11,"speed":17,"count":135,"showtime":10,)"
        R"("direction_index":1,"variance_index":1,"alertness_index":1,"verfolger":true,)"
        R"("show_timer":true})";
    FForm->Settings().ApplySettingsText(text);
    QCOMPARE(FForm->Settings().SettingsSnapshot(), text);
    FForm->Settings().SaveSettingsFile(path);
    QByteArray saved;
    QVERIFY(ReadWholeFile(path, saved));
    QCOMPARE(saved, Utf8Bom() + text.toUtf8());
    FForm->Settings().ApplySettingsText(FactoryText);
    TForm1& reader = *FForm;
    reader.Settings().LoadSettingsFile(path);
    QCOMPARE(reader.ComboBackground->currentIndex(), 41);
    QCOMPARE(reader.ComboSprite->currentText(), QString("Luftballons"));
    QCOMPARE(reader.TrackBarSpeed->value(), 17);
    QCOMPARE(reader.TrackBarNumberOfSprites->value(), 135);
    QCOMPARE(reader.TrackBarDarbietungszeit->value(), 10);
    QCOMPARE(reader.RadioGroupDirection->ItemIndex(), 1);
    QCOMPARE(reader.RadioGroupSameSpeed->ItemIndex(), 1);
    QCOMPARE(reader.RadioGroupAlertness->ItemIndex(), 1);
    QVERIFY(reader.checkboxVerfolger->isChecked());
    QVERIFY(reader.checkboxZeit->isChecked());
    const QString again = dir.filePath("again.json");
    reader.Settings().SaveSettingsFile(again);
    QByteArray rewritten;
    QVERIFY(ReadWholeFile(again, rewritten));
    QCOMPARE(rewritten, saved);
}

void MainWindowSettingsTest::userClickOnVarianceDuringARunChangesSpeeds() {
    TForm1& form = *FForm;
    form.RunState().IsRunning = true;
    form.SpriteField().RebuildSprites();
    auto buttons = form.RadioGroupSameSpeed->findChildren<QRadioButton*>();
    QCOMPARE(buttons.size(), 2);
    buttons[1]->click();
    QCOMPARE(form.RadioGroupSameSpeed->ItemIndex(), 1);
    std::set<double> speeds;
    for (const auto& sprite : form.SpriteField().ActiveSprites)
        speeds.insert(sprite->SpeedPxPerSec);
    QVERIFY(speeds.size() > 1);
    QVERIFY(*speeds.begin() >= 200.0);
    QVERIFY(*speeds.rbegin() <= 249.0);
}

void MainWindowSettingsTest::idleTimerRunsOnlyWhileARunIsActiveAndNotPaused() {
    TForm1& form = *FForm;
    form.StartFrameLoop();
    QTRY_VERIFY(!form.FrameLoopActive()); // no run: the first pass stops the timer
    form.RunState().IsRunning = true;
    form.FrameLoop().ResetLastTicks();
    form.StartFrameLoop();
    QTest::qWait(50);
    QVERIFY(form.FrameLoopActive());
    form.RunState().FPaused = true;
    QTRY_VERIFY(!form.FrameLoopActive());
}

QTEST_MAIN(MainWindowSettingsTest)
#include "main_window_settings_qtest.moc"
