#pragma once

#include "protocol/records.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

namespace kalvero {

class TRandomSource;

// The board: 12 columns by 5 rows, columns 0 to 5 are the left half.
inline constexpr int SearchColumns = 12;
inline constexpr int SearchRows = 5;
inline constexpr int SearchItemCount = SearchColumns * SearchRows;
inline constexpr int SearchLetterCount = 26;
inline constexpr std::int64_t SearchTimeLimitMs = 120000;

// One button of the board.
struct TSearchItem {
    int Letter = 0; // 0 = A to 25 = Z
    float CX = 0;   // centre as a fraction of the board width
    float CY = 0;   // centre as a fraction of the board height
    bool Target = false;
    bool Marked = false;
    bool IsLeft = false; // grid column 0 to 5
};
using TSearchItems = std::vector<TSearchItem>;

// A letter index held within 0 to 25.
int ClampSearchLetter(int index);

// The capital letter of an index ("A" + index), the index held within 0 to 25.
QString SearchLetter(int index);

// The picture of a letter: "Alphabet/1.png" for A, "Alphabet/<index + 2>.png" for the others,
// inside the given picture folder (PictureFolder() when omitted).
QString LetterImageFile(int index);
QString LetterImageFile(int index, const QString& pictureFolder);

// The background picture of the board, inside the picture folder.
QString SearchBackgroundFile(const QString& pictureFolder);

// A random target letter, never 8 (the letter I).
int PickSearchTarget(TRandomSource& random);
int PickSearchTarget();

// The 60 buttons row by row (index = row * 12 + column): 8 targets per half, three rows of a
// half with two targets and two rows with one; every other button some other letter.
TSearchItems GenerateBoard(int target, TRandomSource& random);

// Pixel scale of a monitor: pixels per inch / 96, 1 when not positive.
double SearchPixelScale(double pixelsPerInch);

// A length in pixels times the scale, to whole pixels (halves to even).
int ScaledPixels(double pixels, double px);

struct TSearchPoint {
    double X = 0;
    double Y = 0;
};

// Where the board lies on a surface of W x H pixels: the header band above it (70 px scaled),
// the band of the "Fertig" button below it (80 px scaled).
struct TSearchGeometry {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    double Diameter = 0; // button diameter D

    double Width() const { return Right - Left; }
    double Height() const { return Bottom - Top; }
    TSearchPoint Centre(const TSearchItem& item) const;
};
TSearchGeometry SearchGeometry(int width, int height, double px);

// The button a click at (x, y) hits: the nearest centre within 0.55 * D, the later button at
// equal distance; -1 when none is that close.
int FindClickedItem(const TSearchItems& items, const TSearchGeometry& geometry, double x, double y);

bool AllTargetsMarked(const TSearchItems& items);

// Toggles the mark of a button and returns the new all-found time: the first time every target
// was marked (kept while they stay marked), -1 as soon as one target is unmarked.
std::int64_t ToggleMark(TSearchItems& items, int index, std::int64_t elapsedMs,
                        std::int64_t allFoundMs);

// What the result of a finished task is made of.
struct TSearchOutcome {
    QDateTime Start;
    bool Pre = true;
    int Target = 0;
    std::int64_t ElapsedMs = 0;
    std::int64_t AllFoundMs = -1;
    QString EndReason;
};
TSearchTestRec SearchResult(const TSearchItems& items, const TSearchOutcome& outcome);

} // namespace kalvero
