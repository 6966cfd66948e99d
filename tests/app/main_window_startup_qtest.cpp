#include "app/main_window.h"
#include "app/panel_scaling.h"
#include "app/picture_box.h"
#include "app/settings_widgets.h"
#include "common/dialog_answers.h"
#include "engine/program_settings.h"
#include "installation_fixture.h"
#include "platform/clock.h"
#include "platform/program_folder.h"
#include "platform/sound_player.h"
#include "users/data_folder.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>

using namespace kalvero;
using kalvero::test::AnswerWelcome;

namespace {

// A main window on a fresh data folder that does not ask for a user when shown.
struct TWindowFixture {
    explicit TWindowFixture(TOperatingMode mode = TOperatingMode::Therapist) {
        OverrideDataFolder(Dir.path());
        TUserManager users;
        WriteOperatingMode(users, mode);
    }
    ~TWindowFixture() {
        Form.reset();
        OverrideDataFolder(QString());
    }
    TForm1& Make() {
        Form = std::make_unique<TForm1>(TForm1Parts{&Settings, &Clock, &Silence});
        return *Form;
    }

    QTemporaryDir Dir;
    TMemoryProgramSettings Settings;
    TManualClock Clock;
    kalvero::test::TSilentSound Silence;
    kalvero::test::TDialogAnswers Answers;
    std::unique_ptr<TForm1> Form;
};

QRect Scaled(QRect r, double f) {
    auto s = [f](int v) { return int(std::lround(v * f)); };
    return {s(r.x()), s(r.y()), s(r.width()), s(r.height())};
}
} // namespace

class MainWindowStartupTest : public QObject {
    Q_OBJECT
private slots:
    void panelControlsCarryTheirCaptionsAndDefaults();
    void scaleFactor_data();
    void scaleFactor();
    void panelScalesOnceAtTheFirstResizeAndIsCentred_data();
    void panelScalesOnceAtTheFirstResizeAndIsCentred();
    void cancellingTheWelcomeWindowAtStartEndsTheProgram();
    void choosingAUserSetsCaptionsByMode_data();
    void choosingAUserSetsCaptionsByMode();
    void previewsShowTheChosenBackgroundAndStimulus();
    void missingBackgroundLeavesThePreviewEmpty();
    void drawingASelectedBackgroundItemRefreshesThePreviewsOnce();
};

void MainWindowStartupTest::panelControlsCarryTheirCaptionsAndDefaults() {
    TWindowFixture f;
    TForm1& form = f.Make();
    QCOMPARE(form.PanelSettings->size(), QSize(1078, 776));
    QCOMPARE(form.Panel1->text(), QString("Kalvero 4"));
    QCOMPARE(form.Panel1->font().pointSize(), 72);
    QVERIFY(form.Panel1->font().bold());
    QCOMPARE(form.Label1->text(), QString("Vers. 4.3"));
    QCOMPARE(form.Image1->size(), QSize(257, 161));
    QVERIFY(!form.Image1->IsEmpty());
    QCOMPARE(form.LabelUser->font().pointSize(), 12);
    QCOMPARE(form.btnHistory->toolTip(), QString("Protokoll und Verlauf (F3)"));
    QVERIFY(form.CheckBoxPlan->isHidden());
    QCOMPARE(form.btnStartStop->text(), QString("Start"));
    QCOMPARE(form.btnStartStop->size(), QSize(121, 73));
    QCOMPARE(form.TrackBarPause->minimum(), 0);
    QCOMPARE(form.TrackBarPause->maximum(), 60);
    QCOMPARE(form.TrackBarPause->value(), 20);
    QCOMPARE(form.TrackBarPause->singleStep(), 5);
    QCOMPARE(form.TrackBarPause->pageStep(), 5);
    QCOMPARE(form.TrackBarPause->tickInterval(), 5);
    QCOMPARE(form.LabelPause->text(), QString("Pausenhinweis alle 20 min"));
    form.TrackBarPause->setValue(0);
    QCOMPARE(form.LabelPause->text(), QString("Pausenhinweis: aus"));

    const QStringList captions = {"Nutzer wechseln", "Verlauf ...",       "Trainingsplan ...",
                                  "Profil laden",    "Profil speichern",  "Sequenz erzeugen",
                                  "Sequenz laden",   "Tastaturkommandos", "Programm beenden"};
    for (const QString& caption : captions) {
        bool found = false;
        for (const QPushButton* b : form.PanelSettings->findChildren<QPushButton*>())
            found = found || b->text() == caption;
        QVERIFY2(found, qPrintable(caption));
    }
    // Every control lies within the panel at its design size.
    for (const QWidget* child :
         form.PanelSettings->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        QVERIFY2(QRect(0, 0, 1078, 776).contains(child->geometry()),
                 qPrintable(child->objectName()));
}

void MainWindowStartupTest::scaleFactor_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<double>("factor");
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 1.32;
    QTest::newRow("1280 x 1024") << QSize(1280, 1024) << 1.13;
    QTest::newRow("design size") << QSize(1078, 776) << 0.95;
    QTest::newRow("tiny screen keeps the design size") << QSize(100, 70) << 0.0;
    QTest::newRow("no size") << QSize(0, 776) << 0.0;
}

void MainWindowStartupTest::scaleFactor() {
    QFETCH(QSize, client);
    QFETCH(double, factor);
    QCOMPARE(PanelScaleFactor(client.width(), client.height(), 1078, 776), factor);
}

void MainWindowStartupTest::panelScalesOnceAtTheFirstResizeAndIsCentred_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<double>("factor");
    QTest::newRow("132 %") << QSize(1920, 1080) << 1.32;
    QTest::newRow("113 %") << QSize(1280, 1024) << 1.13;
    QTest::newRow("95 %") << QSize(1078, 776) << 0.95;
    QTest::newRow("too small: unscaled") << QSize(100, 70) << 1.0;
}

void MainWindowStartupTest::panelScalesOnceAtTheFirstResizeAndIsCentred() {
    QFETCH(QSize, client);
    QFETCH(double, factor);
    TWindowFixture f;
    TForm1& form = f.Make();
    form.FWelcomeShown = true;
    const QRect start = form.btnStartStop->geometry();
    const double userPoints = form.LabelUser->font().pointSizeF();
    const double panelPoints = form.PanelSettings->font().pointSizeF();
    form.resize(client);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QVERIFY(form.FUIInitialized);
    const QSize panel(int(std::lround(1078 * factor)), int(std::lround(776 * factor)));
    QCOMPARE(form.PanelSettings->size(), panel);
    QCOMPARE(form.PanelSettings->pos(),
             QPoint((client.width() - panel.width()) / 2, (client.height() - panel.height()) / 2));
    QCOMPARE(form.btnStartStop->geometry(), Scaled(start, factor));
    QCOMPARE(form.LabelUser->font().pointSizeF(), userPoints * factor);
    QCOMPARE(form.PanelSettings->font().pointSizeF(), panelPoints * factor);
    // Inherited sizes follow the panel and are not scaled twice.
    QCOMPARE(form.LabelSpeed->font().pointSizeF(), panelPoints * factor);

    form.resize(1600, 900);
    QTRY_COMPARE(form.width(), 1600);
    QCOMPARE(form.PanelSettings->size(), panel);
    QCOMPARE(form.PanelSettings->pos(),
             QPoint((1600 - panel.width()) / 2, (900 - panel.height()) / 2));
    QCOMPARE(form.LabelUser->font().pointSizeF(), userPoints * factor);
}

void MainWindowStartupTest::cancellingTheWelcomeWindowAtStartEndsTheProgram() {
    TWindowFixture f;
    TForm1& form = f.Make();
    QSignalSpy ended(&form, &TForm1::NoUserChosen);
    AnswerWelcome(false);
    form.resize(800, 600);
    form.show();
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(form.FWelcomeShown);
    QVERIFY(!form.isVisible());
    QVERIFY(form.CurrentUser().isEmpty());

    // Shown again: the start-up message is not posted a second time.
    form.show();
    QTest::qWait(50);
    QCOMPARE(ended.count(), 1);
    QVERIFY(form.isVisible());
}

void MainWindowStartupTest::choosingAUserSetsCaptionsByMode_data() {
    QTest::addColumn<bool>("therapist");
    QTest::addColumn<QString>("label");
    QTest::newRow("therapist") << true << QString("Nutzer: Anna");
    QTest::newRow("patient") << false << QString("Willkommen, Anna");
}

void MainWindowStartupTest::choosingAUserSetsCaptionsByMode() {
    QFETCH(bool, therapist);
    QFETCH(QString, label);
    TWindowFixture f(therapist ? TOperatingMode::Therapist : TOperatingMode::Patient);
    {
        TUserManager users;
        users.SaveUser("Anna");
        users.SetLastUser("Anna");
    }
    TForm1& form = f.Make();
    AnswerWelcome(true);
    QVERIFY(form.ChooseUser());
    QCOMPARE(form.CurrentUser(), QString("Anna"));
    QCOMPARE(form.Users().CurrentUser(), QString("Anna"));
    QCOMPARE(TUserManager().LastUser(), QString("Anna"));
    QCOMPARE(form.LabelUser->text(), label);
    QCOMPARE(form.btnUser->isHidden(), !therapist);

    // Cancelling a later choice keeps the user.
    AnswerWelcome(false);
    QVERIFY(!form.ChooseUser());
    QCOMPARE(form.CurrentUser(), QString("Anna"));
}

void MainWindowStartupTest::previewsShowTheChosenBackgroundAndStimulus() {
    TWindowFixture f;
    TForm1& form = f.Make();
    QVERIFY(!form.ImagePreview->IsEmpty());
    QVERIFY(!form.spritepreview->IsEmpty());
    const QImage first = form.ImagePreview->Picture();
    form.ComboBackground->SetItemIndex(6);
    QVERIFY(form.ImagePreview->Picture() != first);
    const QImage bee = form.spritepreview->Picture();
    form.ComboSprite->SetItemIndex(form.ComboSprite->findText("Alphabet"));
    QVERIFY(!form.spritepreview->IsEmpty());
    QVERIFY(form.spritepreview->Picture() != bee);
    form.ComboSprite->SetItemIndex(-1);
    QVERIFY(form.spritepreview->IsEmpty());
}

void MainWindowStartupTest::missingBackgroundLeavesThePreviewEmpty() {
    // A program folder whose picture folder lacks hgr05.jpg.
    QTemporaryDir program;
    const QDir pictures(PictureFolder());
    QVERIFY(pictures.exists("hgr05.jpg"));
    QDir().mkpath(program.filePath("Grafik"));
    for (const QString& entry : pictures.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (entry != "hgr05.jpg")
            QVERIFY(QFile::link(pictures.filePath(entry), program.filePath("Grafik/" + entry)));
    }
    const QByteArray before = qgetenv("KALVERO_PROGRAM_DIR");
    qputenv("KALVERO_PROGRAM_DIR", program.path().toUtf8());
    TWindowFixture f;
    TForm1& form = f.Make();
    if (before.isEmpty())
        qunsetenv("KALVERO_PROGRAM_DIR");
    else
        qputenv("KALVERO_PROGRAM_DIR", before);

    QCOMPARE(form.ComboBackground->itemText(4), QString("Hintergrund 5 (fehlt)"));
    form.ComboBackground->SetItemIndex(4);
    QVERIFY(form.ImagePreview->IsEmpty());
    form.ComboBackground->SetItemIndex(5);
    QVERIFY(!form.ImagePreview->IsEmpty());
}

void MainWindowStartupTest::drawingASelectedBackgroundItemRefreshesThePreviewsOnce() {
    TWindowFixture f;
    TForm1& form = f.Make();
    QCOMPARE(form.FLastPreviewIndex, -1);
    form.ComboBackground->SetItemIndex(2);
    form.ImagePreview->Clear();
    form.cbBackgroundsDrawItem(2, false);
    QVERIFY(form.ImagePreview->IsEmpty());
    form.cbBackgroundsDrawItem(2, true);
    QCOMPARE(form.FLastPreviewIndex, 2);
    QVERIFY(!form.ImagePreview->IsEmpty());
    form.ImagePreview->Clear();
    form.cbBackgroundsDrawItem(2, true);
    QVERIFY(form.ImagePreview->IsEmpty());
}

QTEST_MAIN(MainWindowStartupTest)
#include "main_window_startup_qtest.moc"
