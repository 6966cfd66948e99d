// kalvero_assetgen: draws every picture and sound of the program.
//
//   kalvero_assetgen --out DIR [--sheet FILE.png] [--threads N]
//
// writes DIR/Grafik/ and DIR/Sound/ (both replaced as a whole) and, with --sheet, a contact
// sheet that shows every frame set and every background for review. The output is the same,
// byte for byte, on every run.

#include "assets/art.h"
#include "assets/sets.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace kalvero::art;

namespace {

struct TOptions {
    std::string Out;
    std::string Sheet;
    int Threads = 2;
};

bool ParseOptions(int argc, char** argv, TOptions& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--out")
            options.Out = argv[i + 1];
        else if (name == "--sheet")
            options.Sheet = argv[i + 1];
        else if (name == "--threads")
            options.Threads = std::max(1, std::atoi(argv[i + 1]));
        else
            return false;
    }
    return !options.Out.empty();
}

// A rendered frame kept for the contact sheet.
struct TRendered {
    cairo_surface_t* Surface = nullptr;
    ~TRendered() {
        if (Surface)
            cairo_surface_destroy(Surface);
    }
};

struct TSetOutput {
    const TFrameSet* Set;
    std::vector<TRendered> Frames;
};

constexpr int ThumbWidth = 176;
constexpr int ThumbHeight = 132;

cairo_surface_t* RenderFrame(const TFrameSet& set, int frame, const fs::path& folder) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, set.Width, set.Height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    set.Draw(cr, frame);
    cairo_destroy(cr);
    WritePng(surface, (folder / (std::to_string(frame + 1) + ".png")).string());
    return surface;
}

cairo_surface_t* RenderBackground(int number, const fs::path& folder) {
    TCanvas canvas(BackgroundWidth, BackgroundHeight);
    cairo_set_source_rgb(canvas.Cr, 1, 1, 1);
    cairo_paint(canvas.Cr);
    DrawBackground(canvas.Cr, number);
    char name[16];
    std::snprintf(name, sizeof name, "hgr%02d.jpg", number);
    WriteJpeg(canvas.Surface, (folder / name).string(), 92);
    // A thumbnail for the contact sheet.
    cairo_surface_t* thumb =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, ThumbWidth, ThumbHeight);
    cairo_t* cr = cairo_create(thumb);
    cairo_scale(cr, double(ThumbWidth) / BackgroundWidth, double(ThumbHeight) / BackgroundHeight);
    cairo_set_source_surface(cr, canvas.Surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    return thumb;
}

void Checker(cairo_t* cr, double x, double y, double w, double h) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    SetColour(cr, Hex(0xF4F4F4));
    cairo_paint(cr);
    SetColour(cr, Hex(0xDDDDDD));
    for (int j = 0; j * 8 < h; ++j)
        for (int i = (j % 2); i * 8 < w; i += 2)
            cairo_rectangle(cr, x + i * 8, y + j * 8, 8, 8);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Label(cairo_t* cr, double x, double y, const std::string& text, double size) {
    SetPlainFont(cr, size, true);
    SetColour(cr, Hex(0x202020));
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
}

// Frame 1 of every set and a strip of its animation (up to 40 frames picked evenly), then all
// 72 backgrounds.
void WriteSheet(const std::vector<TSetOutput>& sets, const std::vector<TRendered>& thumbs,
                const std::string& path) {
    constexpr int SheetWidth = 2240, RowHeight = 112, Margin = 16, LabelWidth = 230;
    constexpr int MaxShown = 40;
    int height = Margin + 40;
    std::vector<int> rows;
    for (const TSetOutput& s : sets) {
        const double scale = std::min(1.0, double(RowHeight) / s.Set->Height);
        const int cell = int(std::ceil(s.Set->Width * scale)) + 6;
        const int perRow = std::max(1, (SheetWidth - LabelWidth - Margin) / cell);
        const int shown = std::min<int>(MaxShown, s.Set->Count);
        const int r = (shown + perRow - 1) / perRow;
        rows.push_back(r);
        height += r * (RowHeight + 8) + 8;
    }
    height += 40 + 6 * (ThumbHeight + 28) + Margin;
    TCanvas sheet(SheetWidth, height);
    cairo_t* cr = sheet.Cr;
    SetColour(cr, Hex(0xFFFFFF));
    cairo_paint(cr);
    Label(cr, Margin, Margin + 20, "Kalvero 4 - Bilder (Bild 1 jeder Reihe, dann Ablauf)", 22);
    int y = Margin + 40;
    for (size_t k = 0; k < sets.size(); ++k) {
        const TSetOutput& s = sets[k];
        const double scale = std::min(1.0, double(RowHeight) / s.Set->Height);
        const int cellW = int(std::ceil(s.Set->Width * scale)) + 6;
        const int perRow = std::max(1, (SheetWidth - LabelWidth - Margin) / cellW);
        const int shown = std::min<int>(MaxShown, s.Set->Count);
        Label(cr, Margin, y + 24, s.Set->Folder, 18);
        Label(cr, Margin, y + 48,
              std::to_string(s.Set->Count) + " x " + std::to_string(s.Set->Width) + "x" +
                  std::to_string(s.Set->Height),
              14);
        for (int i = 0; i < shown; ++i) {
            const int frame = shown == s.Set->Count ? i : i * s.Set->Count / shown;
            const double x = LabelWidth + (i % perRow) * cellW;
            const double top = y + (i / perRow) * (RowHeight + 8);
            Checker(cr, x, top, cellW - 6, s.Set->Height * scale);
            cairo_save(cr);
            cairo_translate(cr, x, top);
            cairo_scale(cr, scale, scale);
            cairo_set_source_surface(cr, s.Frames[frame].Surface, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_restore(cr);
        }
        y += rows[k] * (RowHeight + 8) + 8;
    }
    Label(cr, Margin, y + 24, "Hintergründe hgr01 .. hgr72", 18);
    y += 40;
    for (int i = 0; i < BackgroundCount; ++i) {
        const int x = Margin + (i % 12) * (ThumbWidth + 8);
        const int top = y + (i / 12) * (ThumbHeight + 28);
        cairo_set_source_surface(cr, thumbs[i].Surface, x, top);
        cairo_paint(cr);
        cairo_rectangle(cr, x - 0.5, top - 0.5, ThumbWidth + 1, ThumbHeight + 1);
        Outline(cr, Hex(0x9E9E9E), 1);
        char text[64];
        std::snprintf(text, sizeof text, "%02d %s", i + 1, BackgroundTitle(i + 1).c_str());
        Label(cr, x, top + ThumbHeight + 18, text, 11);
    }
    WritePng(sheet.Surface, path, 1); // for review only: quick rather than small
}

// Puts a finished folder in the place of the old one.
void ReplaceFolder(const fs::path& fresh, const fs::path& target) {
    const fs::path old = target.parent_path() / ("." + target.filename().string() + ".alt");
    fs::remove_all(old);
    if (fs::exists(target))
        fs::rename(target, old);
    fs::rename(fresh, target);
    fs::remove_all(old);
}

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: kalvero_assetgen --out DIR [--sheet FILE.png] [--threads N]\n");
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    std::vector<TFrameSet> all;
    for (auto group : {AnimalSets(), ThingSets(), SymbolSets(), OtherSets()})
        all.insert(all.end(), group.begin(), group.end());

    // Everything is drawn into fresh folders beside the old ones, which are then replaced in one
    // step each, so that a program or test reading the pictures meanwhile never sees half a set.
    const fs::path out(options.Out);
    const fs::path pictures = out / ".Grafik.neu";
    const fs::path sounds = out / ".Sound.neu";
    try {
        fs::remove_all(pictures);
        fs::remove_all(sounds);
        fs::create_directories(pictures);
        fs::create_directories(sounds);
        for (const TFrameSet& set : all)
            fs::create_directories(pictures / set.Folder);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kalvero_assetgen: %s\n", e.what());
        return 1;
    }

    std::vector<TSetOutput> outputs;
    for (const TFrameSet& set : all)
        outputs.push_back({&set, std::vector<TRendered>(set.Count)});
    std::vector<TRendered> thumbs(BackgroundCount);

    // Every frame, background and the sounds are independent jobs; the sets that draw text form
    // one job so that text is only ever drawn on one thread. The long jobs go first.
    std::vector<std::function<void()>> textJobs, jobs;
    for (TSetOutput& o : outputs) {
        const fs::path folder = pictures / o.Set->Folder;
        auto one = [&o, folder](int f) { o.Frames[f].Surface = RenderFrame(*o.Set, f, folder); };
        if (o.Set->UsesText)
            textJobs.push_back([one, &o] {
                for (int f = 0; f < o.Set->Count; ++f)
                    one(f);
            });
        else
            for (int f = 0; f < o.Set->Count; ++f)
                jobs.push_back([one, f] { one(f); });
    }
    jobs.insert(jobs.begin(), [textJobs] {
        for (const auto& job : textJobs)
            job();
    });
    for (int i = 1; i <= BackgroundCount; ++i)
        jobs.insert(jobs.begin() + i,
                    [&, i] { thumbs[i - 1].Surface = RenderBackground(i, pictures); });
    jobs.push_back([&] { WriteSounds(sounds.string() + "/"); });

    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex errorLock;
    auto worker = [&] {
        for (size_t j; !failed && (j = next++) < jobs.size();) {
            try {
                jobs[j]();
            } catch (const std::exception& e) {
                std::lock_guard lock(errorLock);
                std::fprintf(stderr, "kalvero_assetgen: %s\n", e.what());
                failed = true;
            }
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < options.Threads; ++t)
        threads.emplace_back(worker);
    worker();
    for (auto& t : threads)
        t.join();
    if (failed)
        return 1;
    try {
        ReplaceFolder(pictures, out / "Grafik");
        ReplaceFolder(sounds, out / "Sound");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kalvero_assetgen: %s\n", e.what());
        return 1;
    }

    if (!options.Sheet.empty()) {
        try {
            WriteSheet(outputs, thumbs, options.Sheet);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "kalvero_assetgen: %s\n", e.what());
            return 1;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "kalvero_assetgen: %zu pictures, 72 backgrounds, 2 sounds in %.1f s\n",
        [&] {
            size_t n = 0;
            for (const auto& s : all)
                n += s.Count;
            return n;
        }(),
        seconds);
    return 0;
}
