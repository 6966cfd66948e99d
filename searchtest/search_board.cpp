#include "searchtest/search_board.h"

#include "platform/program_folder.h"
#include "platform/random.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace kalvero {

namespace {

constexpr int HalfColumns = SearchColumns / 2;
constexpr int LetterI = 8;

// Uniform Fisher-Yates shuffle.
template <std::size_t N> void Shuffle(std::array<int, N>& values, TRandomSource& random) {
    for (int i = static_cast<int>(N) - 1; i > 0; --i)
        std::swap(values[i], values[random.Next(i + 1)]);
}

// Targets per row of one half: every row one, three shuffled rows a second.
std::array<int, SearchRows> RowTargetCounts(TRandomSource& random) {
    std::array<int, SearchRows> counts;
    counts.fill(1);
    std::array<int, SearchRows> rows;
    std::iota(rows.begin(), rows.end(), 0);
    Shuffle(rows, random);
    for (int i = 0; i < 3; ++i)
        ++counts[rows[i]];
    return counts;
}

using TTargetTable = std::array<std::array<bool, SearchColumns>, SearchRows>;

void PlaceHalfTargets(TTargetTable& table, int firstColumn, TRandomSource& random) {
    const auto counts = RowTargetCounts(random);
    for (int row = 0; row < SearchRows; ++row) {
        std::array<int, HalfColumns> columns;
        std::iota(columns.begin(), columns.end(), firstColumn);
        Shuffle(columns, random);
        const int n = std::min(counts[row], HalfColumns);
        for (int i = 0; i < n; ++i)
            table[row][columns[i]] = true;
    }
}

int RandomDistractor(int target, TRandomSource& random) {
    int letter;
    do
        letter = random.Next(SearchLetterCount);
    while (letter == target);
    return letter;
}

} // namespace

int ClampSearchLetter(int index) {
    return std::clamp(index, 0, SearchLetterCount - 1);
}

QString SearchLetter(int index) {
    return QString(QChar(u'A' + ClampSearchLetter(index)));
}

QString LetterImageFile(int index, const QString& pictureFolder) {
    const int letter = ClampSearchLetter(index);
    const int picture = letter == 0 ? 1 : letter + 2;
    return pictureFolder + QStringLiteral("Alphabet/") + QString::number(picture) +
           QStringLiteral(".png");
}

QString LetterImageFile(int index) {
    return LetterImageFile(index, PictureFolder());
}

QString SearchBackgroundFile(const QString& pictureFolder) {
    return pictureFolder + QStringLiteral("hgr23.jpg");
}

int PickSearchTarget(TRandomSource& random) {
    int letter;
    do
        letter = random.Next(SearchLetterCount);
    while (letter == LetterI);
    return letter;
}

int PickSearchTarget() {
    return PickSearchTarget(ProcessRandom());
}

TSearchItems GenerateBoard(int target, TRandomSource& random) {
    target = ClampSearchLetter(target);
    TTargetTable table{};
    PlaceHalfTargets(table, 0, random);
    PlaceHalfTargets(table, HalfColumns, random);

    TSearchItems items;
    items.reserve(SearchItemCount);
    for (int row = 0; row < SearchRows; ++row) {
        for (int column = 0; column < SearchColumns; ++column) {
            TSearchItem item;
            item.Target = table[row][column];
            item.Letter = item.Target ? target : RandomDistractor(target, random);
            const double u = random.NextReal();
            item.CX = static_cast<float>((column + 0.5 + 0.36 * (u - 0.5)) / SearchColumns);
            const double v = random.NextReal();
            item.CY = static_cast<float>((row + 0.5 + 0.3 * (v - 0.5)) / SearchRows);
            item.IsLeft = column < HalfColumns;
            items.push_back(item);
        }
    }
    return items;
}

double SearchPixelScale(double pixelsPerInch) {
    return pixelsPerInch > 0 ? pixelsPerInch / 96.0 : 1.0;
}

int ScaledPixels(double pixels, double px) {
    return static_cast<int>(std::nearbyint(pixels * px));
}

TSearchPoint TSearchGeometry::Centre(const TSearchItem& item) const {
    return {Left + item.CX * Width(), Top + item.CY * Height()};
}

TSearchGeometry SearchGeometry(int width, int height, double px) {
    TSearchGeometry g;
    g.Left = 0;
    g.Top = 70 * px;
    g.Right = width;
    g.Bottom = std::max(height - 80 * px, g.Top + 1);
    g.Diameter = 0.62 * std::min(g.Height() / SearchRows, g.Width() / SearchColumns);
    return g;
}

int FindClickedItem(const TSearchItems& items, const TSearchGeometry& geometry, double x,
                    double y) {
    double threshold = 0.55 * geometry.Diameter;
    threshold *= threshold;
    int chosen = -1;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const TSearchPoint c = geometry.Centre(items[i]);
        const double d2 = (x - c.X) * (x - c.X) + (y - c.Y) * (y - c.Y);
        if (d2 <= threshold) {
            threshold = d2;
            chosen = i;
        }
    }
    return chosen;
}

bool AllTargetsMarked(const TSearchItems& items) {
    return std::all_of(items.begin(), items.end(),
                       [](const TSearchItem& item) { return !item.Target || item.Marked; });
}

std::int64_t ToggleMark(TSearchItems& items, int index, std::int64_t elapsedMs,
                        std::int64_t allFoundMs) {
    if (index < 0 || index >= static_cast<int>(items.size()))
        return allFoundMs;
    items[index].Marked = !items[index].Marked;
    if (!AllTargetsMarked(items))
        return -1;
    return allFoundMs < 0 ? elapsedMs : allFoundMs;
}

TSearchTestRec SearchResult(const TSearchItems& items, const TSearchOutcome& outcome) {
    TSearchTestRec r;
    r.Start = outcome.Start;
    r.Pair = outcome.Start;
    r.Phase = outcome.Pre ? QStringLiteral("vorher") : QStringLiteral("nachher");
    r.Target = SearchLetter(outcome.Target);
    r.Items = static_cast<std::int32_t>(items.size());
    for (const TSearchItem& item : items) {
        if (item.Target) {
            (item.IsLeft ? r.TargetsLeft : r.TargetsRight) += 1;
            if (item.Marked)
                (item.IsLeft ? r.FoundLeft : r.FoundRight) += 1;
        } else if (item.Marked) {
            ++r.Wrong;
        }
    }
    r.TimeSec =
        static_cast<double>(std::clamp<std::int64_t>(outcome.ElapsedMs, 0, SearchTimeLimitMs)) /
        1000.0;
    r.AllFoundSec =
        outcome.AllFoundMs >= 0 ? static_cast<double>(outcome.AllFoundMs) / 1000.0 : -1.0;
    r.EndReason = outcome.EndReason;
    r.TrainingMin = 0;
    return r;
}

} // namespace kalvero
