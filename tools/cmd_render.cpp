// kalvero4-tool render: runs the display engine headless for a number of seconds and writes the
// last frame (and every K-th frame) as PNG. With the same seed the pictures are the same byte
// for byte, whatever the number of bands.

#include "platform/atomic_file.h"
#include "tools/commands.h"
#include "tools/headless_engine.h"

#include <QFileInfo>
#include <cmath>
#include <cstdio>

namespace kalvero::tool {

namespace {

const char* const RenderUsage = "render --settings DATEI --size BxH --seconds S --fps F --seed N "
                                "--out DATEI.png [--threads N] [--every K]";

struct TRenderArgs {
    QString Settings;
    QString Out;
    double Seconds = 0;
    int Every = 0;
    THeadlessOptions Engine;
};

bool ParseRenderArgs(const std::vector<std::string>& args, TRenderArgs& r) {
    try {
        r.Settings = QString::fromStdString(OptionValue(args, "--settings"));
        r.Out = QString::fromStdString(OptionValue(args, "--out"));
        r.Seconds = std::stod(OptionValue(args, "--seconds", "0"));
        r.Engine.Fps = std::stod(OptionValue(args, "--fps", "60"));
        r.Engine.Seed = std::stoull(OptionValue(args, "--seed", "1"));
        r.Engine.Processors = std::stoi(OptionValue(args, "--threads", "0"));
        r.Every = std::stoi(OptionValue(args, "--every", "0"));
    } catch (const std::exception&) {
        return false;
    }
    return !r.Settings.isEmpty() && !r.Out.isEmpty() &&
           ParseSize(OptionValue(args, "--size"), r.Engine.Width, r.Engine.Height) &&
           r.Seconds > 0 && r.Engine.Fps > 0 && r.Engine.Fps <= 1000 && r.Engine.Processors >= 0 &&
           r.Every >= 0;
}

// FILE.png -> FILE-00042.png
QString NumberedPath(const QString& out, long long frame) {
    const QFileInfo info(out);
    const QString stem = info.path() + '/' + info.completeBaseName();
    return QStringLiteral("%1-%2.png").arg(stem).arg(frame, 5, 10, QLatin1Char('0'));
}

bool WritePng(const THeadlessEngine& engine, const QString& path) {
    const QByteArray png = engine.BackBufferPng();
    if (png.isEmpty()) {
        std::fprintf(stderr, "Kein Bild zum Schreiben (%s)\n", path.toLocal8Bit().constData());
        return false;
    }
    try {
        WriteFileAtomic(path, png);
    } catch (const TWriteError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return false;
    }
    return true;
}

int Render(const std::vector<std::string>& args) {
    TRenderArgs r;
    if (!ParseRenderArgs(args, r)) {
        std::fprintf(stderr, "Aufruf: kalvero4-tool %s\n", RenderUsage);
        return 1;
    }
    THeadlessEngine engine(r.Engine);
    QString error;
    if (!engine.LoadSettingsFile(r.Settings, error)) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    engine.StartRun();
    const long long frames = std::max(1LL, std::llround(r.Seconds * r.Engine.Fps));
    for (long long frame = 1; frame <= frames; ++frame) {
        engine.RunFrame();
        if (r.Every > 0 && frame % r.Every == 0 && !WritePng(engine, NumberedPath(r.Out, frame)))
            return 1;
    }
    if (!WritePng(engine, r.Out))
        return 1;
    std::printf("%lld Bilder, %d x %d, letztes Bild: %s\n", frames, r.Engine.Width, r.Engine.Height,
                r.Out.toLocal8Bit().constData());
    return 0;
}

const TCommandRegistration registration("render", RenderUsage, Render);

} // namespace

} // namespace kalvero::tool
