#include "searchtest/search_board.h"

#include "platform/random.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>

namespace kalvero {
namespace {

// Plays back scripted draws; whole numbers default to 0, reals to 0.5 when the script runs out.
class TScriptedRandom final : public TRandomSource {
public:
    std::deque<int> Whole;
    std::deque<double> Real;
    int Next(int range) override {
        if (Whole.empty())
            return 0;
        const int v = Whole.front();
        Whole.pop_front();
        return v < range ? v : range - 1;
    }
    double NextReal() override {
        if (Real.empty())
            return 0.5;
        const double v = Real.front();
        Real.pop_front();
        return v;
    }
};

int Row(int index) {
    return index / SearchColumns;
}
int Column(int index) {
    return index % SearchColumns;
}

class BoardOverSeeds : public testing::TestWithParam<int> {};

TEST_P(BoardOverSeeds, TargetsSpreadEvenlyOverHalvesAndRows) {
    const int target = ClampSearchLetter(GetParam());
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        TSeededRandom random(seed * 7919 + static_cast<std::uint64_t>(GetParam()));
        const TSearchItems items = GenerateBoard(GetParam(), random);
        ASSERT_EQ(items.size(), 60u);
        int targets = 0, left = 0;
        int perRowHalf[SearchRows][2] = {};
        for (int i = 0; i < SearchItemCount; ++i) {
            const TSearchItem& item = items[i];
            ASSERT_EQ(item.IsLeft, Column(i) < 6) << "seed " << seed;
            ASSERT_FALSE(item.Marked);
            if (item.Target) {
                ASSERT_EQ(item.Letter, target);
                ++targets;
                left += item.IsLeft;
                ++perRowHalf[Row(i)][item.IsLeft ? 0 : 1];
            } else {
                ASSERT_NE(item.Letter, target) << "distractor bears the target, seed " << seed;
                ASSERT_GE(item.Letter, 0);
                ASSERT_LT(item.Letter, 26);
            }
        }
        ASSERT_EQ(targets, 16) << "seed " << seed;
        ASSERT_EQ(left, 8) << "seed " << seed;
        for (int row = 0; row < SearchRows; ++row) {
            for (int half = 0; half < 2; ++half) {
                ASSERT_GE(perRowHalf[row][half], 1) << "seed " << seed << " row " << row;
                ASSERT_LE(perRowHalf[row][half], 2) << "seed " << seed << " row " << row;
            }
            const int inRow = perRowHalf[row][0] + perRowHalf[row][1];
            ASSERT_GE(inRow, 2);
            ASSERT_LE(inRow, 4);
        }
    }
}

TEST_P(BoardOverSeeds, CentresStayWithinTheirJitteredCells) {
    TSeededRandom random(static_cast<std::uint64_t>(GetParam()) + 17);
    for (int round = 0; round < 100; ++round) {
        const TSearchItems items = GenerateBoard(GetParam(), random);
        for (int i = 0; i < SearchItemCount; ++i) {
            const double dx = items[i].CX * 12 - (Column(i) + 0.5);
            const double dy = items[i].CY * 5 - (Row(i) + 0.5);
            ASSERT_GE(dx, -0.18 - 1e-5);
            ASSERT_LE(dx, 0.18 + 1e-5);
            ASSERT_GE(dy, -0.15 - 1e-5);
            ASSERT_LE(dy, 0.15 + 1e-5);
        }
    }
}

// Targets A, I (the letter never picked as target, yet allowed), Z, and 30 held to Z.
INSTANTIATE_TEST_SUITE_P(Targets, BoardOverSeeds, testing::Values(0, 8, 25, 30));

TEST(GenerateBoard, EveryArrangementOfDoubleRowsAndEveryOtherLetterOccurs) {
    std::set<int> leftPatterns, rightPatterns, distractors;
    TSeededRandom random(42);
    for (int round = 0; round < 2000; ++round) {
        const TSearchItems items = GenerateBoard(4, random);
        int left = 0, right = 0;
        for (int row = 0; row < SearchRows; ++row) {
            int l = 0, r = 0;
            for (int column = 0; column < SearchColumns; ++column) {
                const TSearchItem& item = items[row * SearchColumns + column];
                (column < 6 ? l : r) += item.Target;
                if (!item.Target)
                    distractors.insert(item.Letter);
            }
            left |= (l == 2) << row;
            right |= (r == 2) << row;
        }
        leftPatterns.insert(left);
        rightPatterns.insert(right);
    }
    EXPECT_EQ(leftPatterns.size(), 10u) << "three of five rows: ten choices";
    EXPECT_EQ(rightPatterns.size(), 10u);
    EXPECT_EQ(distractors.size(), 25u);
    EXPECT_EQ(distractors.count(4), 0u);
    EXPECT_EQ(distractors.count(8), 1u) << "I may appear as a distractor";
}

TEST(GenerateBoard, JitterDrawsHorizontalBeforeVertical) {
    TScriptedRandom random;
    random.Real = {0.0, 0.999999};
    const TSearchItems items = GenerateBoard(2, random);
    EXPECT_NEAR(items[0].CX, (0.5 - 0.18) / 12, 1e-6);
    EXPECT_NEAR(items[0].CY, (0.5 + 0.15) / 5, 1e-6);
    EXPECT_NEAR(items[1].CX, 1.5 / 12, 1e-6) << "script ran out: u = 0.5";
    EXPECT_NEAR(items[59].CY, 4.5 / 5, 1e-6);
}

TEST(GenerateBoard, DistractorDrawRepeatsUntilItDiffersFromTheTarget) {
    // Shuffles take 2 x (4 + 5 x 5) whole-number draws; after them come the distractor letters.
    TScriptedRandom scripted;
    scripted.Whole.assign(2 * (4 + 5 * 5), 0);
    scripted.Whole.insert(scripted.Whole.end(), {5, 5, 11});
    const TSearchItems items = GenerateBoard(5, scripted);
    int first = 0;
    while (items[first].Target)
        ++first;
    EXPECT_EQ(items[first].Letter, 11);
}

TEST(SearchLetter, HoldsTheIndexWithinTheAlphabet) {
    EXPECT_EQ(SearchLetter(0), "A");
    EXPECT_EQ(SearchLetter(8), "I");
    EXPECT_EQ(SearchLetter(25), "Z");
    EXPECT_EQ(SearchLetter(30), "Z");
    EXPECT_EQ(SearchLetter(-4), "A");
}

TEST(LetterImageFile, SkipsPictureTwo) {
    const QString folder = "/p/Grafik/";
    EXPECT_EQ(LetterImageFile(0, folder), "/p/Grafik/Alphabet/1.png");
    EXPECT_EQ(LetterImageFile(1, folder), "/p/Grafik/Alphabet/3.png");
    EXPECT_EQ(LetterImageFile(25, folder), "/p/Grafik/Alphabet/27.png");
    EXPECT_EQ(LetterImageFile(30, folder), "/p/Grafik/Alphabet/27.png");
    EXPECT_EQ(SearchBackgroundFile(folder), "/p/Grafik/hgr23.jpg");
}

TEST(PickSearchTarget, NeverPicksTheLetterI) {
    TScriptedRandom scripted;
    scripted.Whole = {8, 8, 3};
    EXPECT_EQ(PickSearchTarget(scripted), 3);

    std::set<int> seen;
    TSeededRandom random(7);
    for (int i = 0; i < 3000; ++i)
        seen.insert(PickSearchTarget(random));
    EXPECT_EQ(seen.size(), 25u);
    EXPECT_EQ(seen.count(8), 0u);
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), 25);
}

TEST(SearchGeometry, ScalesWithPixelsPerInch) {
    EXPECT_DOUBLE_EQ(SearchPixelScale(144), 1.5);
    EXPECT_DOUBLE_EQ(SearchPixelScale(96), 1.0);
    EXPECT_DOUBLE_EQ(SearchPixelScale(0), 1.0);
    EXPECT_DOUBLE_EQ(SearchPixelScale(-10), 1.0);

    const TSearchGeometry g = SearchGeometry(1920, 1080, 1.5);
    EXPECT_DOUBLE_EQ(g.Top, 105) << "header band";
    EXPECT_DOUBLE_EQ(g.Bottom, 960);
    EXPECT_DOUBLE_EQ(g.Width(), 1920);
    EXPECT_DOUBLE_EQ(g.Diameter, 0.62 * 1920 / 12);

    const TSearchGeometry low = SearchGeometry(1920, 800, 1.0);
    EXPECT_DOUBLE_EQ(low.Diameter, 0.62 * (800 - 150) / 5.0) << "rows narrower than columns";

    const TSearchGeometry tiny = SearchGeometry(100, 120, 1.0);
    EXPECT_DOUBLE_EQ(tiny.Bottom, 71) << "board never thinner than one pixel";

    EXPECT_EQ(ScaledPixels(70, 1.5), 105);
    EXPECT_EQ(ScaledPixels(25, 1.5), 38) << "37.5 goes to the even 38";
    EXPECT_EQ(ScaledPixels(13, 1.5), 20) << "19.5 goes to the even 20";
}

// Two buttons in one row, 40 px apart on a 1280 x 650 surface (D = 62, reach 34.1 px).
TSearchItems TwoButtons() {
    TSearchItems items(2);
    items[0].CX = 0.5f - 1.0f / 64;
    items[1].CX = 0.5f + 1.0f / 64;
    items[0].CY = items[1].CY = 0.5f;
    return items;
}

TEST(FindClickedItem, NearestWithinReachLaterOnTies) {
    const TSearchGeometry g = SearchGeometry(1280, 650, 1.0);
    ASSERT_DOUBLE_EQ(g.Diameter, 62);
    TSearchItems items = TwoButtons();
    const double y = g.Centre(items[0]).Y;
    const double x0 = g.Centre(items[0]).X;

    struct Case {
        double X, Y;
        int Expected;
    };
    const Case cases[] = {
        {x0, y, 0},
        {x0 - 34.0, y, 0},
        {x0 - 34.2, y, -1},       // just beyond 0.55 * D
        {x0, y + 34.2, -1},       // beyond, vertically
        {x0 - 24.0, y + 24.0, 0}, // 33.9 px on the diagonal
        {x0 + 20.0, y, 1},        // exactly between: the later button
        {x0 + 19.0, y, 0},        // nearer the first
        {x0 + 21.0, y, 1},
        {x0 + 74.2, y, -1}, // beyond the second
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindClickedItem(items, g, c.X, c.Y), c.Expected) << c.X - x0 << "," << c.Y - y;

    // Ties between identical centres also go to the later one.
    items[1] = items[0];
    EXPECT_EQ(FindClickedItem(items, g, x0, y), 1);
}

TSearchItems BoardWithTargets(int targets, int others) {
    TSearchItems items(targets + others);
    for (int i = 0; i < targets; ++i)
        items[i].Target = true;
    return items;
}

TEST(ToggleMark, AllFoundTimeFollowsTheTargetMarks) {
    TSearchItems items = BoardWithTargets(2, 2);
    std::int64_t allFound = -1;
    allFound = ToggleMark(items, 0, 1000, allFound);
    EXPECT_EQ(allFound, -1);
    allFound = ToggleMark(items, 1, 2000, allFound);
    EXPECT_EQ(allFound, 2000);
    allFound = ToggleMark(items, 2, 3000, allFound);
    EXPECT_EQ(allFound, 2000) << "a wrong mark after all were found keeps the time";
    EXPECT_TRUE(items[2].Marked);
    allFound = ToggleMark(items, 0, 4000, allFound);
    EXPECT_FALSE(items[0].Marked);
    EXPECT_EQ(allFound, -1) << "unmarking a target";
    allFound = ToggleMark(items, 0, 5000, allFound);
    EXPECT_EQ(allFound, 5000) << "re-marking counts the later time";
    allFound = ToggleMark(items, 2, 6000, allFound);
    EXPECT_FALSE(items[2].Marked);
    EXPECT_EQ(allFound, 5000);
    EXPECT_EQ(ToggleMark(items, -1, 7000, allFound), 5000);
    EXPECT_EQ(ToggleMark(items, 4, 7000, allFound), 5000);
}

TEST(SearchResult, CountsSidesWrongMarksAndTimes) {
    TSearchItems items = BoardWithTargets(4, 3);
    items[0].IsLeft = items[1].IsLeft = items[4].IsLeft = true;
    items[0].Marked = items[2].Marked = items[3].Marked = true; // one left, two right targets
    items[4].Marked = items[5].Marked = true;                   // two wrong marks

    const QDateTime start(QDate(2024, 3, 5), QTime(10, 11, 12));
    TSearchOutcome outcome{start, false, 30, 61500, -1, "Fertig"};
    const TSearchTestRec r = SearchResult(items, outcome);
    EXPECT_EQ(r.Start, start);
    EXPECT_EQ(r.Pair, start);
    EXPECT_EQ(r.Phase, "nachher");
    EXPECT_EQ(r.Target, "Z");
    EXPECT_EQ(r.Items, 7);
    EXPECT_EQ(r.TargetsLeft, 2);
    EXPECT_EQ(r.TargetsRight, 2);
    EXPECT_EQ(r.FoundLeft, 1);
    EXPECT_EQ(r.FoundRight, 2);
    EXPECT_EQ(r.Wrong, 2);
    EXPECT_DOUBLE_EQ(r.TimeSec, 61.5);
    EXPECT_DOUBLE_EQ(r.AllFoundSec, -1);
    EXPECT_EQ(r.EndReason, "Fertig");
    EXPECT_DOUBLE_EQ(r.TrainingMin, 0);

    outcome.Pre = true;
    outcome.ElapsedMs = 120250;
    outcome.AllFoundMs = 0;
    outcome.EndReason = "Zeit um";
    const TSearchTestRec late = SearchResult(items, outcome);
    EXPECT_EQ(late.Phase, "vorher");
    EXPECT_DOUBLE_EQ(late.TimeSec, 120) << "the time used never exceeds the limit";
    EXPECT_DOUBLE_EQ(late.AllFoundSec, 0) << "zero is a time, not 'not found'";
}

} // namespace
} // namespace kalvero
