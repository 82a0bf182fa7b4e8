// How the stored points of a stroke are joined into dots.
#include "item/stroke_replay.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<int, int>> Dots;

void Collect(int x, int y, void *context)
{
    ((Dots *)context)->push_back({x, y});
}

Dots Replay(const std::vector<std::pair<int, int>> &points)
{
    std::vector<int> xs, ys;
    for (auto &p : points) {
        xs.push_back(p.first);
        ys.push_back(p.second);
    }
    Dots dots;
    ReplayStrokePoints(xs.data(), ys.data(), (int)xs.size(), Collect, &dots);
    return dots;
}

TEST(ReplayStroke, ShallowSlopeStepsOverX)
{
    Dots dots = Replay({{100, 100}, {110, 103}});
    Dots expected = {{100, 100}};
    const int ys[] = {100, 100, 100, 100, 101, 101, 101, 102, 102, 102, 103};
    for (int i = 0; i <= 10; i++)
        expected.push_back({100 + i, ys[i]});
    EXPECT_EQ(expected, dots);
}

TEST(ReplayStroke, SteepSlopeStepsOverY)
{
    Dots dots = Replay({{100, 100}, {103, 110}});
    Dots expected = {{100, 100}};
    const int xs[] = {100, 100, 100, 100, 101, 101, 101, 102, 102, 102, 103};
    for (int i = 0; i <= 10; i++)
        expected.push_back({xs[i], 100 + i});
    EXPECT_EQ(expected, dots);
}

TEST(ReplayStroke, NeighboursStraightRunsAndBackwards)
{
    EXPECT_EQ((Dots{{5, 5}, {6, 6}, {5, 7}}), Replay({{5, 5}, {6, 6}, {5, 7}}));
    EXPECT_EQ((Dots{{5, 9}, {5, 5}, {5, 6}, {5, 7}, {5, 8}, {5, 9}}), Replay({{5, 9}, {5, 5}}));
    EXPECT_EQ((Dots{{9, 2}, {7, 2}, {8, 2}, {9, 2}}), Replay({{9, 2}, {7, 2}}));
    // Runs run from the smaller coordinate up, whatever the direction.
    Dots back = Replay({{110, 103}, {100, 100}});
    ASSERT_EQ(12u, back.size());
    EXPECT_EQ(std::make_pair(100, 100), back[1]);
    EXPECT_EQ(std::make_pair(110, 103), back[11]);
    EXPECT_TRUE(Replay({}).empty());
    EXPECT_EQ((Dots{{3, 4}}), Replay({{3, 4}}));
}

TEST(ReplayStroke, EverySlopedRunStaysWithinItsEnds)
{
    for (int dx = -12; dx <= 12; dx++)
        for (int dy = -12; dy <= 12; dy++) {
            Dots dots = Replay({{200, 200}, {200 + dx, 200 + dy}});
            int longer = std::max(std::abs(dx), std::abs(dy));
            EXPECT_EQ((size_t)(1 + (longer <= 1 ? 1 : longer + 1)), dots.size()) << dx << "," << dy;
            for (auto &d : dots) {
                EXPECT_GE(d.first, std::min(200, 200 + dx) - 1);
                EXPECT_LE(d.first, std::max(200, 200 + dx));
                EXPECT_GE(d.second, std::min(200, 200 + dy) - 1);
                EXPECT_LE(d.second, std::max(200, 200 + dy));
            }
        }
}

}  // namespace
