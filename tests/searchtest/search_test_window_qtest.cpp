#include "searchtest/search_test_window.h"

#include "common/dialog_answers.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "searchtest/search_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace kalvero;
using kalvero::test::MakePictures;

namespace {

// A result with every field set, to see that it is cleared.
TSearchTestRec Filled() {
    TSearchTestRec r;
    r.Start = r.Pair = QDateTime::currentDateTime();
    r.Phase = "vorher";
    r.Target = "Q";
    r.Items = r.TargetsLeft = r.TargetsRight = r.FoundLeft = r.FoundRight = r.Wrong = 7;
    r.TimeSec = r.AllFoundSec = r.TrainingMin = 3;
    r.EndReason = "Fertig";
    return r;
}

void ExpectCleared(const TSearchTestRec& r) {
    QVERIFY(!r.Start.isValid());
    QVERIFY(!r.Pair.isValid());
    QVERIFY(r.Phase.isEmpty() && r.Target.isEmpty() && r.EndReason.isEmpty());
    QCOMPARE(r.Items + r.TargetsLeft + r.TargetsRight + r.FoundLeft + r.FoundRight + r.Wrong, 0);
    QCOMPARE(r.TimeSec, 0.0);
    QCOMPARE(r.AllFoundSec, 0.0);
    QCOMPARE(r.TrainingMin, 0.0);
}

QPoint CentreOf(TFormSearchTest* form, int index) {
    const TSearchPoint c = form->Geometry().Centre(form->Items()[index]);
    return QPoint(qRound(c.X), qRound(c.Y));
}

void ClickButton(TFormSearchTest* form, int index, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(form->BoardView(), button, {}, CentreOf(form, index));
}

// The red fill of a fixture button, below its letter.
bool ShowsButtonRed(TFormSearchTest* form, int index) {
    const TSearchGeometry g = form->Geometry();
    const TSearchPoint c = g.Centre(form->Items()[index]);
    const unsigned p = form->RenderFrame().PixelAt(int(c.X), int(c.Y + 0.33 * g.Diameter));
    return ((p >> 16) & 0xFF) > 150 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80;
}

QPushButton* Button(TFormSearchTest* form, const QString& caption) {
    for (QPushButton* b : form->findChildren<QPushButton*>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

void ClickStart(TFormSearchTest* form) {
    QTest::mouseClick(Button(form, "Los geht's"), Qt::LeftButton);
}

void ClickDone(TFormSearchTest* form) {
    QTest::mouseClick(Button(form, "Fertig"), Qt::LeftButton);
}

std::vector<int> Indices(TFormSearchTest* form, bool target) {
    std::vector<int> result;
    for (int i = 0; i < static_cast<int>(form->Items().size()); ++i)
        if (form->Items()[i].Target == target)
            result.push_back(i);
    return result;
}

struct TRun {
    bool Ok = false;
    TSearchTestRec Result = Filled();
    bool SawWindow = false;
};

// Runs the task with the given actions performed on the open window; the window is cancelled
// if the actions leave it open, so a failing test cannot hang.
TRun RunTask(bool pre, int target, TManualClock& clock,
             const std::function<void(TFormSearchTest*)>& actions, std::uint64_t seed = 11) {
    TRun run;
    QObject scope; // drops the pending call when no window opens
    QTimer::singleShot(0, &scope, [&] {
        auto* form = qobject_cast<TFormSearchTest*>(QApplication::activeModalWidget());
        if (!form)
            return;
        run.SawWindow = true;
        actions(form);
        if (QApplication::activeModalWidget() == form)
            form->reject();
    });
    TSeededRandom random(seed);
    run.Ok = TFormSearchTest::Execute(nullptr, pre, target, run.Result, random, clock);
    return run;
}

} // namespace

class TSearchTestWindowTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir* FDir = nullptr;

    void UsePictures(bool background) {
        delete FDir;
        FDir = new QTemporaryDir;
        QVERIFY(FDir->isValid());
        MakePictures(FDir->path(), background);
        qputenv("KALVERO_PROGRAM_DIR", FDir->path().toUtf8());
    }

private slots:
    void cleanup() {
        delete FDir;
        FDir = nullptr;
    }

    void missingPicturesWarnAndShowNoWindow_data() {
        QTest::addColumn<int>("skip");
        QTest::addColumn<int>("broken");
        QTest::newRow("A missing") << 1 << 0;
        QTest::newRow("Z missing") << 27 << 0;
        QTest::newRow("B undecodable") << 0 << 3;
        QTest::newRow("whole folder missing") << -1 << 0;
    }
    void missingPicturesWarnAndShowNoWindow() {
        QFETCH(int, skip);
        QFETCH(int, broken);
        QTemporaryDir dir;
        if (skip >= 0)
            MakePictures(dir.path(), true, skip, broken);
        qputenv("KALVERO_PROGRAM_DIR", dir.path().toUtf8());
        test::TDialogAnswers answers;
        TManualClock clock;
        const TRun run = RunTask(true, 3, clock, [](TFormSearchTest*) {});
        QVERIFY(!run.Ok);
        QVERIFY(!run.SawWindow);
        ExpectCleared(run.Result);
        QCOMPARE(answers.Messages.size(), 1);
        QCOMPARE(answers.Messages[0].Kind, TMsgKind::Warning);
        QCOMPARE(answers.Messages[0].Text,
                 QString("Die Bilder für die Suchaufgabe fehlen (Ordner Grafik\\Alphabet). "
                         "Die Suchaufgabe entfällt."));
        QCOMPARE(answers.Messages[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void introShowsThePhaseTexts_data() {
        QTest::addColumn<bool>("pre");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("vorher") << true << "Vor dem Training: eine kurze Suchaufgabe"
                                << "Gleich sehen Sie viele rote Knöpfe mit Buchstaben. Klicken "
                                   "Sie jeden Knopf mit diesem Buchstaben an:";
        QTest::newRow("nachher") << false << "Nach dem Training: dieselbe Suchaufgabe noch einmal"
                                 << "Gesucht ist wieder derselbe Buchstabe - die Knöpfe liegen "
                                    "aber anders. Klicken Sie jeden Knopf mit diesem Buchstaben "
                                    "an:";
    }
    void introShowsThePhaseTexts() {
        QFETCH(bool, pre);
        QFETCH(QString, title);
        QFETCH(QString, text);
        UsePictures(false);
        TManualClock clock;
        QStringList labels;
        QRect geometry, panel, done;
        bool doneVisible = true, startVisible = false, frameless = false;
        Qt::FocusPolicy doneFocus = Qt::StrongFocus;
        QString caption;
        const TRun run = RunTask(pre, 3, clock, [&](TFormSearchTest* form) {
            for (QLabel* label : form->findChildren<QLabel*>())
                labels << label->text();
            geometry = form->geometry();
            panel = form->findChild<QWidget*>("FIntro")->geometry();
            done = Button(form, "Fertig")->geometry();
            doneVisible = Button(form, "Fertig")->isVisible();
            doneFocus = Button(form, "Fertig")->focusPolicy();
            startVisible = Button(form, "Los geht's")->isVisible() &&
                           Button(form, "Überspringen")->isVisible();
            frameless = form->windowFlags().testFlag(Qt::FramelessWindowHint);
            caption = form->windowTitle();
            QTest::mouseClick(Button(form, "Überspringen"), Qt::LeftButton);
        });
        QVERIFY(!run.Ok);
        ExpectCleared(run.Result);
        QCOMPARE(labels.size(), 3);
        QCOMPARE(labels[0], title);
        QCOMPARE(labels[1], text);
        QCOMPARE(labels[2], QString("Suchen Sie den ganzen Bildschirm ab - auch ganz links und "
                                    "ganz rechts. Ein angeklickter Knopf wird durchgestrichen, "
                                    "ein zweiter Klick nimmt das zurück. Wenn Sie fertig sind, "
                                    "klicken Sie unten in der Mitte auf \"Fertig\"."));
        QCOMPARE(caption, QString("Kalvero 4 - Suchaufgabe"));
        QVERIFY(frameless);
        QCOMPARE(geometry, QGuiApplication::primaryScreen()->geometry());
        QVERIFY(startVisible);
        QVERIFY(!doneVisible);
        QCOMPARE(doneFocus, Qt::NoFocus);
        const int panelWidth = std::min(900, geometry.width()); // held within the window
        QCOMPARE(panel.width(), panelWidth);
        QCOMPARE(panel.left(), (geometry.width() - panelWidth) / 2);
        QCOMPARE(done.size(), QSize(200, 50));
        QCOMPARE(done.left(), (geometry.width() - 200) / 2);
        QCOMPARE(done.top(), geometry.height() - 80 + 15);
    }

    void clicksCountOnlyWhileRunningAndWithTheLeftButton() {
        UsePictures(true);
        TManualClock clock;
        bool markedBeforeStart = true, markedByRight = true, markedByLeft = false;
        bool buttonsBeforeStart = true, buttonsAfterStart = false;
        const TRun run = RunTask(true, 3, clock, [&](TFormSearchTest* form) {
            const int t = Indices(form, true)[0];
            buttonsBeforeStart = ShowsButtonRed(form, t);
            ClickButton(form, t);
            markedBeforeStart = form->Items()[t].Marked;
            ClickStart(form);
            buttonsAfterStart = ShowsButtonRed(form, t);
            ClickButton(form, t, Qt::RightButton);
            ClickButton(form, t, Qt::MiddleButton);
            markedByRight = form->Items()[t].Marked;
            ClickButton(form, t);
            markedByLeft = form->Items()[t].Marked;
            ClickDone(form);
        });
        QVERIFY(run.Ok);
        QVERIFY(!buttonsBeforeStart);
        QVERIFY(!markedBeforeStart);
        QVERIFY(!markedByRight);
        QVERIFY(markedByLeft);
        QCOMPARE(run.Result.FoundLeft + run.Result.FoundRight, 1);
        QCOMPARE(run.Result.Wrong, 0);
        QVERIFY2(buttonsAfterStart, "the centre of a button shows its red picture");
    }

    void farClicksChangeNothing() {
        UsePictures(false);
        TManualClock clock;
        int marks = -1;
        const TRun run = RunTask(true, 3, clock, [&](TFormSearchTest* form) {
            ClickStart(form);
            const TSearchGeometry g = form->Geometry();
            const QWidget* board = form->BoardView();
            // The header band, the bottom band beside "Fertig", and a point just out of reach
            // to the left of the first button.
            QTest::mouseClick(form->BoardView(), Qt::LeftButton, {}, QPoint(board->width() / 3, 5));
            QTest::mouseClick(form->BoardView(), Qt::LeftButton, {},
                              QPoint(20, board->height() - 10));
            const TSearchPoint c = g.Centre(form->Items()[0]);
            QTest::mouseClick(form->BoardView(), Qt::LeftButton, {},
                              QPoint(int(c.X - 0.55 * g.Diameter - 1.5), qRound(c.Y)));
            marks = 0;
            for (const TSearchItem& item : form->Items())
                marks += item.Marked;
            ClickDone(form);
        });
        QVERIFY(run.Ok);
        QCOMPARE(marks, 0);
        QCOMPARE(run.Result.Wrong, 0);
    }

    void completeRunGivesTheResult() {
        UsePictures(true);
        TManualClock clock;
        clock.AdvanceMs(50000); // the window's clock need not start at zero
        const QDateTime before = QDateTime::currentDateTime();
        const TRun run = RunTask(false, 30, clock, [&](TFormSearchTest* form) {
            ClickStart(form);
            clock.AdvanceMs(4200);
            for (int t : Indices(form, true))
                ClickButton(form, t);
            clock.AdvanceMs(1000);
            ClickButton(form, Indices(form, false)[5]); // a wrong mark after all were found
            clock.AdvanceMs(2000);
            ClickDone(form);
        });
        const QDateTime after = QDateTime::currentDateTime();
        QVERIFY(run.Ok);
        const TSearchTestRec& r = run.Result;
        QVERIFY(r.Start >= before.addMSecs(-1) && r.Start <= after);
        QCOMPARE(r.Pair, r.Start);
        QCOMPARE(r.Phase, QString("nachher"));
        QCOMPARE(r.Target, QString("Z"));
        QCOMPARE(r.Items, 60);
        QCOMPARE(r.TargetsLeft, 8);
        QCOMPARE(r.TargetsRight, 8);
        QCOMPARE(r.FoundLeft, 8);
        QCOMPARE(r.FoundRight, 8);
        QCOMPARE(r.Wrong, 1);
        QCOMPARE(r.TimeSec, 7.2);
        QCOMPARE(r.AllFoundSec, 4.2);
        QCOMPARE(r.EndReason, QString("Fertig"));
        QCOMPARE(r.TrainingMin, 0.0);
    }

    void unmarkingATargetResetsTheAllFoundTime() {
        UsePictures(false);
        TManualClock clock;
        std::int64_t afterAll = 0, afterUnmark = 0;
        const TRun run = RunTask(true, 0, clock, [&](TFormSearchTest* form) {
            ClickStart(form);
            clock.AdvanceMs(3000);
            const std::vector<int> targets = Indices(form, true);
            for (int t : targets)
                ClickButton(form, t);
            afterAll = form->AllFoundMs();
            clock.AdvanceMs(1000);
            ClickButton(form, targets[3]);
            afterUnmark = form->AllFoundMs();
            clock.AdvanceMs(2500);
            ClickButton(form, targets[3]);
            clock.AdvanceMs(500);
            ClickDone(form);
        });
        QVERIFY(run.Ok);
        QCOMPARE(afterAll, std::int64_t(3000));
        QCOMPARE(afterUnmark, std::int64_t(-1));
        QCOMPARE(run.Result.AllFoundSec, 6.5);
        QCOMPARE(run.Result.TimeSec, 7.0);
        QCOMPARE(run.Result.Target, QString("A"));
    }

    void doneBeforeAllFoundGivesMinusOne() {
        UsePictures(false);
        TManualClock clock;
        const TRun run = RunTask(true, 3, clock, [&](TFormSearchTest* form) {
            ClickStart(form);
            int left = 0;
            for (int t : Indices(form, true))
                if (form->Items()[t].IsLeft && left++ < 5)
                    ClickButton(form, t);
            for (int t : Indices(form, true))
                if (!form->Items()[t].IsLeft) {
                    ClickButton(form, t);
                    break;
                }
            clock.AdvanceMs(61500);
            ClickDone(form);
        });
        QVERIFY(run.Ok);
        QCOMPARE(run.Result.AllFoundSec, -1.0);
        QCOMPARE(run.Result.FoundLeft, 5);
        QCOMPARE(run.Result.FoundRight, 1);
        QCOMPARE(run.Result.TimeSec, 61.5);
        QCOMPARE(run.Result.Phase, QString("vorher"));
    }

    void timeLimitEndsTheTaskAtExactly120Seconds() {
        UsePictures(false);
        TManualClock clock;
        bool runningBeforeLimit = false;
        const TRun run = RunTask(true, 3, clock, [&](TFormSearchTest* form) {
            ClickStart(form);
            ClickButton(form, Indices(form, true)[0]);
            clock.AdvanceMs(119999);
            QTest::qWait(300); // at least one timer period below the limit
            runningBeforeLimit = form->IsRunning();
            clock.AdvanceMs(5001);
            QTRY_VERIFY(!form->isVisible());
        });
        QVERIFY(runningBeforeLimit);
        QVERIFY(run.Ok);
        QCOMPARE(run.Result.TimeSec, 120.0);
        QCOMPARE(run.Result.EndReason, QString("Zeit um"));
        QCOMPARE(run.Result.FoundLeft + run.Result.FoundRight, 1);
    }

    void escapeCancelsAtAnyMoment_data() {
        QTest::addColumn<bool>("started");
        QTest::newRow("instructions, focus on the start button") << false;
        QTest::newRow("running") << true;
    }
    void escapeCancelsAtAnyMoment() {
        QFETCH(bool, started);
        UsePictures(false);
        TManualClock clock;
        bool runningAfter = true;
        const TRun run = RunTask(true, 3, clock, [&](TFormSearchTest* form) {
            if (started) {
                ClickStart(form);
                for (int t : Indices(form, true))
                    ClickButton(form, t);
            }
            QWidget* receiver = form->focusWidget() ? form->focusWidget() : form;
            QTest::keyClick(receiver, Qt::Key_Escape);
            runningAfter = form->IsRunning();
        });
        QVERIFY(run.SawWindow);
        QVERIFY(!run.Ok);
        QVERIFY(!runningAfter);
        ExpectCleared(run.Result);
    }

    void enterStartsButCannotPressFertig() {
        UsePictures(false);
        TManualClock clock;
        bool runningAfterEnter = false, runningAfterKeys = false;
        const TRun run = RunTask(true, 3, clock, [&](TFormSearchTest* form) {
            QTest::keyClick(form->focusWidget() ? form->focusWidget() : form, Qt::Key_Return);
            runningAfterEnter = form->IsRunning();
            QWidget* receiver = form->focusWidget() ? form->focusWidget() : form;
            QTest::keyClick(receiver, Qt::Key_Return);
            QTest::keyClick(receiver, Qt::Key_Space);
            QTest::keyClick(receiver, Qt::Key_Tab);
            QTest::keyClick(form->focusWidget() ? form->focusWidget() : form, Qt::Key_Space);
            runningAfterKeys = form->IsRunning() && form->isVisible();
            ClickDone(form);
        });
        QVERIFY(runningAfterEnter);
        QVERIFY(runningAfterKeys);
        QVERIFY(run.Ok);
    }

    // Writes the board after a few marks to $KALVERO_SEARCHTEST_PNG, for looking at it.
    void renderBoard() {
        const QByteArray out = qgetenv("KALVERO_SEARCHTEST_PNG");
        if (out.isEmpty())
            QSKIP("KALVERO_SEARCHTEST_PNG not set");
        UsePictures(true);
        TManualClock clock;
        QImage image;
        QImage intro;
        RunTask(true, 6, clock, [&](TFormSearchTest* form) {
            intro = form->grab().toImage();
            ClickStart(form);
            const std::vector<int> targets = Indices(form, true);
            for (int i = 0; i < 5; ++i)
                ClickButton(form, targets[i]);
            ClickButton(form, Indices(form, false)[9]);
            image = form->grab().toImage();
            ClickDone(form);
        });
        QVERIFY(image.save(QString::fromUtf8(out)));
        QVERIFY(intro.save(QString::fromUtf8(out).replace(".png", "-intro.png")));
    }
};

QTEST_MAIN(TSearchTestWindowTest)
#include "search_test_window_qtest.moc"
