// The real program under Xvfb at 1920 x 1080: it checks itself through KALVERO_SMOKE_TEST and
// leaves its screenshots, which are judged here by their pixels.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QRgb White = qRgb(255, 255, 255);
const QRgb PanelColour = qRgb(0xB9, 0xD1, 0xEA);

QMap<QString, QString> ReadResult(const QString& path) {
    QMap<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            values.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    return values;
}

int ColourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

// Share of sampled pixels that differ between two images of the same size.
double DifferentShare(const QImage& a, const QImage& b) {
    int differ = 0, total = 0;
    for (int y = 0; y < a.height(); y += 4)
        for (int x = 0; x < a.width(); x += 4, ++total)
            differ += a.pixel(x, y) != b.pixel(x, y);
    return double(differ) / total;
}
} // namespace

class ProgramSmokeTest : public QObject {
    Q_OBJECT
private slots:
    void settingsScreenRunAndEscUnderXvfb();
};

void ProgramSmokeTest::settingsScreenRunAndEscUnderXvfb() {
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty())
        QSKIP("xvfb-run is not installed");
    QTemporaryDir dir;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KALVERO_SMOKE_TEST", dir.path());
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(xvfbRun, {"-a", "-s", "-screen 0 1920x1080x24", KALVERO4_EXE});
    QVERIFY(program.waitForStarted());
    QVERIFY2(program.waitForFinished(90000), "the program did not end");

    const auto result = ReadResult(dir.filePath("result.txt"));
    QCOMPARE(result.value("state"), QString("done"));
    QCOMPARE(result.value("user"), QString("Patient"));
    QCOMPARE(result.value("window"), QString("1920x1080"));
    QCOMPARE(result.value("panel"), QString("1423x1024")); // scaled by 132 %
    QCOMPARE(result.value("running_after_start"), QString("1"));
    QCOMPARE(result.value("paused_after_p"), QString("1"));
    QCOMPARE(result.value("running_after_space"), QString("1"));
    QCOMPARE(result.value("running_after_esc"), QString("0"));

    const QImage settings(dir.filePath("settings.png"));
    const QImage running(dir.filePath("running.png"));
    const QImage moving(dir.filePath("running2.png"));
    const QImage paused(dir.filePath("paused.png"));
    const QImage stopped(dir.filePath("stopped.png"));
    for (const QImage* shot : {&settings, &running, &moving, &paused, &stopped})
        QCOMPARE(shot->size(), QSize(1920, 1080));

    // Settings screen: white around the centred panel, which carries its controls.
    QCOMPARE(settings.pixel(5, 5), White);
    QCOMPARE(settings.pixel(1910, 1070), White);
    const int panelLeft = (1920 - 1423) / 2, panelTop = (1080 - 1024) / 2;
    QCOMPARE(settings.pixel(panelLeft + 4, panelTop + 1010), PanelColour);
    QVERIFY2(ColourCount(settings) > 40, "the settings screen looks blank");

    // Running: the background fills the window, the stimuli move.
    QVERIFY(running.pixel(5, 5) != White);
    QVERIFY(ColourCount(running) > 500);
    QVERIFY(DifferentShare(settings, running) > 0.8);
    QVERIFY(DifferentShare(running, moving) > 0.01);

    // The pause screen darkens the frozen display.
    QVERIFY(qGray(paused.pixel(5, 5)) < qGray(moving.pixel(5, 5)));

    // After Esc the settings screen is back.
    QCOMPARE(stopped.pixel(5, 5), White);
    QVERIFY(DifferentShare(settings, stopped) < 0.02);
}

QTEST_MAIN(ProgramSmokeTest)
#include "program_smoke_qtest.moc"
