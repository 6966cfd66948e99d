// The task window on a 1920 x 1080 monitor with 144 pixels per inch and no automatic scaling
// by the toolkit: every length grows by 1.5.

#include "searchtest/search_test_window.h"

#include "platform/clock.h"
#include "platform/random.h"
#include "searchtest/search_fixture.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kalvero;

class TSearchTestHiDpiTest : public QObject {
    Q_OBJECT
private slots:
    void everyLengthScalesWithTheMonitor() {
        QTemporaryDir dir;
        test::MakePictures(dir.path(), true);
        qputenv("KALVERO_PROGRAM_DIR", dir.path().toUtf8());

        double px = 0;
        TSearchGeometry geometry;
        QRect window, done, panel, start;
        QObject scope;
        QTimer::singleShot(0, &scope, [&] {
            auto* form = qobject_cast<TFormSearchTest*>(QApplication::activeModalWidget());
            if (!form)
                return;
            px = form->Px();
            window = form->geometry();
            panel = form->findChild<QWidget*>("FIntro")->geometry();
            QPushButton* startButton = nullptr;
            for (QPushButton* b : form->findChildren<QPushButton*>()) {
                if (b->text() == "Fertig")
                    done = b->geometry();
                if (b->text() == "Los geht's")
                    startButton = b;
            }
            start = startButton->geometry();
            QTest::mouseClick(startButton, Qt::LeftButton);
            geometry = form->Geometry();
            form->reject();
        });
        TSearchTestRec result;
        TManualClock clock;
        TSeededRandom random(5);
        QVERIFY(!TFormSearchTest::Execute(nullptr, true, 4, result, random, clock));

        QCOMPARE(window, QRect(0, 0, 1920, 1080));
        QCOMPARE(px, 1.5);
        QCOMPARE(geometry.Top, 105.0);
        QCOMPARE(geometry.Bottom, 1080.0 - 120);
        QCOMPARE(done.size(), QSize(300, 75));
        QCOMPARE(done.topLeft(), QPoint((1920 - 300) / 2, 1080 - 120 + (120 - 75) / 2));
        QCOMPARE(start.size(), QSize(300, 75));
        QCOMPARE(start.right() + 1, 1350 / 2 - 18);
        QCOMPARE(panel.width(), 1350);
        QCOMPARE(panel.left(), (1920 - 1350) / 2);
    }
};

int main(int argc, char** argv) {
    QTemporaryDir configDir;
    const QString config = configDir.filePath("screens.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(R"({"screens": [{"name": "Monitor", "x": 0, "y": 0, "width": 1920,
                 "height": 1080, "logicalDpi": 144, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    TSearchTestHiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "search_test_window_hidpi_qtest.moc"
