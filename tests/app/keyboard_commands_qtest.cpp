#include "app/keyboard_commands.h"
#include "app/main_window.h"
#include "app/run_control.h"
#include "app/settings_widgets.h"
#include "common/dialog_answers.h"
#include "engine/frame_loop.h"
#include "engine/program_settings.h"
#include "engine/run_state.h"
#include "engine/sprite_field.h"
#include "installation_fixture.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/sound_player.h"
#include "protocol/store.h"
#include "users/data_folder.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace kalvero;
using kalvero::test::TDialogAnswers;

namespace {

// The real main window on a fresh data folder with its one user chosen, a clock that moves only
// when told, no frame pacing and no sound; keys are typed into the window.
struct TKeyFixture : kalvero::test::TInstallation {
    TKeyFixture() : TInstallation(TOperatingMode::Patient, {}) {
        OpenWindowOnly();
        UserChosen = ChooseProposed();
    }
    ~TKeyFixture() { Form.reset(); }

    TRunState& Run() { return Form->RunState(); }
    void Start() {
        Form->btnStartStopClick();
        Pass(16);
    }
    void Pass(std::int64_t ms) { AdvanceAndPass(ms); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Form.get(), key, modifiers);
    }
    // The stored run's "Verstellt" and "Ende" columns.
    QString RunColumn(const QString& name) const {
        QByteArray bytes;
        if (!ReadWholeFile(RunFileName(Form->CurrentUser()), bytes))
            return QStringLiteral("<no file>");
        const QStringList lines =
            QString::fromUtf8(StripUtf8Bom(bytes)).split(QStringLiteral("\r\n"));
        if (lines.size() < 2)
            return QStringLiteral("<no run>");
        const int column = lines[0].split(u';').indexOf(name);
        return lines[1].split(u';').value(column);
    }

    TDialogAnswers Answers;
    bool UserChosen = false;
};

} // namespace

class KeyboardCommandsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void keyAtItsLimitStillMarksTheStoredRunVerstellt_data();
    void keyAtItsLimitStillMarksTheStoredRunVerstellt();
    void bothPlusAndBothMinusKeysMoveTheSpeedTrackBar();
    void keysDuringAPauseAreSwallowedUntilSpaceContinues();
    void escDuringAPauseEndsTheRunWithEsc();
    void escOnTheSettingsScreenClosesTheWindowFromAnyControl();
    void kommandosButtonAndKeyHShowTheHelp();
    void changesDuringARunStayOnTheSettingsScreen();
};

void KeyboardCommandsWindowTest::keyAtItsLimitStillMarksTheStoredRunVerstellt_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("verstellt");
    QTest::newRow("W at count 0") << int(Qt::Key_W) << QStringLiteral("ja");
    QTest::newRow("space bar") << int(Qt::Key_Space) << QStringLiteral("nein");
    QTest::newRow("Z") << int(Qt::Key_Z) << QStringLiteral("nein");
    QTest::newRow("F8") << int(Qt::Key_F8) << QStringLiteral("nein");
}

void KeyboardCommandsWindowTest::keyAtItsLimitStillMarksTheStoredRunVerstellt() {
    QFETCH(int, key);
    QFETCH(QString, verstellt);
    TKeyFixture f;
    QVERIFY(f.UserChosen);
    f.Form->TrackBarNumberOfSprites->SetPosition(0);
    f.Start();
    f.Key(Qt::Key(key));
    QCOMPARE(f.Form->TrackBarNumberOfSprites->Position(), 0);
    f.Pass(6000);
    f.Key(Qt::Key_Escape);
    QVERIFY(!f.Run().IsRunning);
    QCOMPARE(f.RunColumn(QStringLiteral("Verstellt")), verstellt);
    QCOMPARE(f.RunColumn(QStringLiteral("Ende")), QStringLiteral("Esc"));
}

void KeyboardCommandsWindowTest::bothPlusAndBothMinusKeysMoveTheSpeedTrackBar() {
    TKeyFixture f;
    f.Start();
    f.Key(Qt::Key_Plus, Qt::KeypadModifier);
    f.Key(Qt::Key_Plus);
    QCOMPARE(f.Form->TrackBarSpeed->Position(), 7);
    QCOMPARE(f.Form->LabelSpeed->text(), QStringLiteral("Geschwindigkeit: 7"));
    QCOMPARE(f.Form->SpriteField().BaseSpeedFactor, 7.0);
    f.Key(Qt::Key_Minus, Qt::KeypadModifier);
    f.Key(Qt::Key_Minus);
    f.Key(Qt::Key_Minus);
    QCOMPARE(f.Form->TrackBarSpeed->Position(), 4);
    f.Key(Qt::Key_M);
    QCOMPARE(f.Form->TrackBarNumberOfSprites->Position(), 41);
    QCOMPARE(f.Form->SpriteField().SpriteCount(), 41);
}

void KeyboardCommandsWindowTest::keysDuringAPauseAreSwallowedUntilSpaceContinues() {
    TKeyFixture f;
    f.Start();
    const bool vsync = f.Form->FrameLoop().FVSync;
    f.Key(Qt::Key_P);
    QVERIFY(f.Run().FPaused);
    QVERIFY(!f.Run().FPauseIsReminder);
    for (Qt::Key key : {Qt::Key_F5, Qt::Key_H, Qt::Key_Plus, Qt::Key_Right, Qt::Key_Z})
        f.Key(key);
    QCOMPARE(f.Form->FrameLoop().FVSync, vsync);
    QVERIFY(f.Answers.Messages.isEmpty());
    QCOMPARE(f.Form->TrackBarSpeed->Position(), 5);
    QVERIFY(!f.Form->checkboxZeit->isChecked());
    QVERIFY(f.Run().FPaused);
    f.Key(Qt::Key_Space);
    QVERIFY(!f.Run().FPaused);
    QVERIFY(f.Form->FrameLoopActive());
    QCOMPARE(f.Form->RunControl().FPauseCount, 1);
}

void KeyboardCommandsWindowTest::escDuringAPauseEndsTheRunWithEsc() {
    TKeyFixture f;
    f.Start();
    f.Pass(6000);
    f.Key(Qt::Key_P);
    f.Key(Qt::Key_Escape);
    QVERIFY(!f.Run().IsRunning);
    QVERIFY(!f.Run().FPaused);
    QCOMPARE(f.RunColumn(QStringLiteral("Ende")), QStringLiteral("Esc"));
    QCOMPARE(f.RunColumn(QStringLiteral("Pausen")), QStringLiteral("1"));
}

void KeyboardCommandsWindowTest::escOnTheSettingsScreenClosesTheWindowFromAnyControl() {
    for (const char* name : {"", "ComboSprite", "TrackBarSpeed", "checkboxZeit"}) {
        TKeyFixture f;
        f.Form->show();
        QWidget* target = f.Form.get();
        if (*name)
            target = f.Form->findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY(target);
        QTest::keyClick(target, Qt::Key_Escape);
        QVERIFY2(!f.Form->isVisible(), name);
    }
}

void KeyboardCommandsWindowTest::kommandosButtonAndKeyHShowTheHelp() {
    TKeyFixture f;
    f.Form->show();
    QTest::mouseClick(f.Form->ButtonKommandos, Qt::LeftButton);
    f.Start();
    f.Key(Qt::Key_H);
    QVERIFY(f.Run().IsRunning);
    QCOMPARE(f.Answers.Messages.size(), 2);
    for (const auto& message : f.Answers.Messages)
        QCOMPARE(message.Text, KeyboardCommandsText());
}

void KeyboardCommandsWindowTest::changesDuringARunStayOnTheSettingsScreen() {
    TKeyFixture f;
    f.Start();
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Left, Qt::Key_A, Qt::Key_V, Qt::Key_Z})
        f.Key(key);
    QCOMPARE(f.Form->SpriteField().CurrentSpriteType, 2);
    f.Key(Qt::Key_Escape);
    QVERIFY(!f.Run().IsRunning);
    QCOMPARE(f.Form->ComboSprite->ItemIndex(), 2);
    QCOMPARE(f.Form->ComboBackground->ItemIndex(), f.Form->ComboBackground->ItemCount() - 1);
    QCOMPARE(f.Form->RadioGroupAlertness->ItemIndex(), 1);
    QVERIFY(f.Form->checkboxVerfolger->isChecked());
    QVERIFY(f.Form->checkboxZeit->isChecked());
}

QTEST_MAIN(KeyboardCommandsWindowTest)
#include "keyboard_commands_qtest.moc"
