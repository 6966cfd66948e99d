// kalvero4-tool load-bench: how long reading every picture takes, and preparing one run
// (the current set's scaled lists, the follower, the alertness lists and the background strip).

#include "engine/image_catalogue.h"
#include "platform/clock.h"
#include "platform/program_folder.h"
#include "tools/commands.h"

#include <QString>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace kalvero::tool {

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Processor time of the whole process (all threads), in milliseconds.
double ProcessCpuMs() {
    return std::clock() * 1000.0 / CLOCKS_PER_SEC;
}

// Wall-clock milliseconds of a piece of work; its processor time (all threads) is added to cpuMs.
template <typename TWork> double TimedMs(TWork work, double* cpuMs = nullptr) {
    const double cpuBefore = ProcessCpuMs();
    const TStopwatch watch;
    work();
    const double wall = watch.NowTicks() / 1e6;
    if (cpuMs)
        *cpuMs += ProcessCpuMs() - cpuBefore;
    return wall;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    return std::sscanf(text.c_str(), "%dx%d", &width, &height) == 2 && width > 0 && height > 0;
}

int FrameCount(const TImageCatalogue& catalogue) {
    size_t n = catalogue.VerfolgerFrames().size() + catalogue.AlertnessSternFrames().size() +
               catalogue.AlertnessDracheFrames().size() + catalogue.AlertnessSmileyFrames().size();
    for (int type = 0; type < TImageCatalogue::SpriteTypeCount; ++type)
        n += catalogue.GetFrameLists(type, 0).Left->size();
    return static_cast<int>(n);
}

int MissingBackgrounds(const TImageCatalogue& catalogue) {
    return static_cast<int>(std::count(catalogue.BackgroundFiles().begin(),
                                       catalogue.BackgroundFiles().end(), QString()));
}

// The times of one run's preparation, on a catalogue whose caches hold nothing for the scale.
struct TPrepareTimes {
    double SpritesMs = 0, StripMs = 0, CpuMs = 0;
    double TotalMs() const { return SpritesMs + StripMs; }
};

TPrepareTimes PrepareRun(TImageCatalogue& catalogue, int spriteType, int background, float px,
                         int width, int height) {
    catalogue.PrepareSpriteFrames(-1, px * 0.5f); // another scale empties the cache
    catalogue.PrepareBackgroundStrip(-1, width, height);
    TPrepareTimes times;
    times.SpritesMs = TimedMs([&] { catalogue.PrepareSpriteFrames(spriteType, px); }, &times.CpuMs);
    times.StripMs =
        TimedMs([&] { catalogue.PrepareBackgroundStrip(background, width, height); }, &times.CpuMs);
    return times;
}

int LoadBench(const std::vector<std::string>& args) {
    const QString folder = QString::fromLocal8Bit(OptionValue(args, "--folder").c_str());
    const int repeat = std::max(1, std::stoi(OptionValue(args, "--repeat", "3")));
    const int spriteType = std::stoi(OptionValue(args, "--sprite", "0"));
    const int background = std::stoi(OptionValue(args, "--background", "1")) - 1;
    const float px = std::stof(OptionValue(args, "--px", "1"));
    int width = 0, height = 0;
    if (!ParseSize(OptionValue(args, "--size", "1920x1080"), width, height)) {
        std::fputs("Aufruf: kalvero4-tool load-bench [--size BxH] [--sprite 0..14] "
                   "[--background 1..72] [--px F] [--repeat N] [--folder GRAFIK]\n",
                   stderr);
        return 1;
    }
    std::vector<double> loads, loadCpu;
    for (int i = 0; i < repeat; ++i) {
        TImageCatalogue catalogue(folder);
        double cpu = 0;
        loads.push_back(TimedMs([&] { catalogue.LoadImages(); }, &cpu));
        loadCpu.push_back(cpu);
    }
    TImageCatalogue catalogue(folder);
    catalogue.LoadImages();
    std::printf("Bilder: %s\n",
                (folder.isEmpty() ? PictureFolder() : folder).toLocal8Bit().constData());
    std::printf("LoadImages: %.1f ms (Median von %d, Prozessorzeit %.1f ms; %d Bilder, "
                "%d Hintergründe fehlen)\n",
                Median(loads), repeat, Median(loadCpu), FrameCount(catalogue),
                MissingBackgrounds(catalogue));

    std::vector<double> runs, sprites, strips, cpus;
    for (int i = 0; i < repeat; ++i) {
        const TPrepareTimes t = PrepareRun(catalogue, spriteType, background, px, width, height);
        runs.push_back(t.TotalMs());
        sprites.push_back(t.SpritesMs);
        strips.push_back(t.StripMs);
        cpus.push_back(t.CpuMs);
    }
    std::printf("Lauf vorbereiten (Reizart %d, FPx %.2f, %dx%d, Hintergrund %d): %.1f ms "
                "(Prozessorzeit %.1f ms; Reize, Verfolger, Alertness %.1f ms; "
                "Hintergrundstreifen %.1f ms)\n",
                spriteType, px, width, height, background + 1, Median(runs), Median(cpus),
                Median(sprites), Median(strips));
    double worst = 0;
    int worstType = 0;
    for (int type = 0; type < TImageCatalogue::SpriteTypeCount; ++type) {
        const double ms = PrepareRun(catalogue, type, background, px, width, height).TotalMs();
        if (ms > worst)
            worst = ms, worstType = type;
    }
    std::printf("Langsamste Reizart: %d mit %.1f ms\n", worstType, worst);
    return 0;
}

const TCommandRegistration registration(
    "load-bench",
    "load-bench [--size BxH] [--sprite N] [--px F] [--repeat N]   Zeit für das Laden aller "
    "Bilder und das Vorbereiten eines Laufs",
    LoadBench);

} // namespace

} // namespace kalvero::tool
