// The integer line routine: which pixels a line lights, in which order, and
// that clipping neither changes them nor costs time for far-away lines.
#include "surface/line_walk.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

namespace halvorn {
namespace {

using Points = std::vector<std::pair<int, int>>;

Points Walk(int x0, int y0, int x1, int y1, const LineClip& clip = LineClip{}) {
    Points points;
    WalkLine(x0, y0, x1, y1, clip, [&](int x, int y) { points.emplace_back(x, y); });
    return points;
}

TEST(LineWalk, HorizontalAndVerticalLeaveOutTheEndPixel) {
    EXPECT_EQ(Walk(2, 5, 6, 5), (Points{{2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    EXPECT_EQ(Walk(6, 5, 2, 5), (Points{{6, 5}, {5, 5}, {4, 5}, {3, 5}}));
    EXPECT_EQ(Walk(1, 1, 1, 4), (Points{{1, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(Walk(1, 4, 1, 1), (Points{{1, 4}, {1, 3}, {1, 2}}));
}

TEST(LineWalk, ZeroLengthPaintsNothing) {
    EXPECT_TRUE(Walk(7, 7, 7, 7).empty());
}

TEST(LineWalk, DiagonalsInAllFourDirections) {
    EXPECT_EQ(Walk(0, 0, 3, 3), (Points{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(Walk(3, 3, 0, 0), (Points{{3, 3}, {2, 2}, {1, 1}}));
    EXPECT_EQ(Walk(0, 3, 3, 0), (Points{{0, 3}, {1, 2}, {2, 1}}));
    EXPECT_EQ(Walk(3, 0, 0, 3), (Points{{3, 0}, {2, 1}, {1, 2}}));
}

// In every octant the line lights max(|dx|, |dy|) pixels, one per major step,
// each within half a pixel of the exact line, ties to the smaller coordinate.
TEST(LineWalk, AllOctantsFollowTheExactLineWithTheTieRule) {
    const std::pair<int, int> ends[] = {{7, 2},  {2, 7},  {-2, 7}, {-7, 2}, {-7, -2}, {-2, -7},
                                        {2, -7}, {7, -2}, {6, 3},  {-6, 3}, {3, -6},  {-3, -6}};
    for (const auto& [dx, dy] : ends) {
        const Points points = Walk(10, 20, 10 + dx, 20 + dy);
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        const int n = xMajor ? std::abs(dx) : std::abs(dy);
        ASSERT_EQ(static_cast<int>(points.size()), n) << dx << "," << dy;
        for (int i = 0; i < n; ++i) {
            const double t = static_cast<double>(i) / n;
            const double exactMinor = xMajor ? 20 + t * dy : 10 + t * dx;
            const int major = xMajor ? points[i].first : points[i].second;
            const int minor = xMajor ? points[i].second : points[i].first;
            EXPECT_EQ(major, (xMajor ? 10 + (dx > 0 ? i : -i) : 20 + (dy > 0 ? i : -i)));
            const double off = minor - exactMinor;
            EXPECT_LE(std::abs(off), 0.5) << dx << "," << dy << " step " << i;
            if (std::abs(off) == 0.5) {
                EXPECT_LT(off, 0) << "tie must go to the smaller coordinate";
            }
        }
    }
}

TEST(LineWalk, TiesGoUpOnFlatLinesAndLeftOnSteepOnesInEitherDirection) {
    // Half-way at x = 1 and x = 3: the upper pixel (smaller y) is lit.
    EXPECT_EQ(Walk(0, 0, 4, 2), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(Walk(4, 2, 0, 0), (Points{{4, 2}, {3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(Walk(0, 2, 4, 0), (Points{{0, 2}, {1, 1}, {2, 1}, {3, 0}}));
    // Steep: the left pixel (smaller x).
    EXPECT_EQ(Walk(0, 0, 2, 4), (Points{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(Walk(2, 4, 0, 0), (Points{{2, 4}, {1, 3}, {1, 2}, {0, 1}}));
}

TEST(LineWalk, ClippingKeepsExactlyThePixelsInside) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-30, 60);
    const LineClip clip{0, 5, 40, 25};
    for (int k = 0; k < 2000; ++k) {
        const int x0 = coordinate(random), y0 = coordinate(random);
        const int x1 = coordinate(random), y1 = coordinate(random);
        Points expected;
        for (const auto& p : Walk(x0, y0, x1, y1)) {
            if (p.first >= 0 && p.first < 40 && p.second >= 5 && p.second < 25) {
                expected.push_back(p);
            }
        }
        ASSERT_EQ(Walk(x0, y0, x1, y1, clip), expected)
            << x0 << "," << y0 << " " << x1 << "," << y1;
    }
}

TEST(LineWalk, HugeCoordinatesAreClippedWithoutWalkingTheWholeLine) {
    const int big = 2000000000;
    const Points points = Walk(-big, 3, big, 3, LineClip{0, 0, 10, 10});
    ASSERT_EQ(points.size(), 10u);
    EXPECT_EQ(points.front(), std::make_pair(0, 3));
    EXPECT_EQ(points.back(), std::make_pair(9, 3));
    // Steep and far: enters the clip only on its way, still one pixel per row.
    const Points steep = Walk(big, -big, -big, big, LineClip{-5, -5, 5, 5});
    EXPECT_FALSE(steep.empty());
    EXPECT_LE(steep.size(), 10u);
}

}  // namespace
}  // namespace halvorn
