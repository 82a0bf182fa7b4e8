// The item's layout and what a tap finds, for screens of both toolbar sizes
// in both modes.
#include "item/item_layout.h"
#include <gtest/gtest.h>

namespace {

struct Screen {
    const char *name;
    int width, itemHeight, dpi;
    // iconSize, swatchSize, toolbarHeight, toolbarTop, then the left edge of
    // the corner mark, of each tool's button and swatch, of clear, the two
    // toggles and save.
    int metrics[15];
};

// The device's screens, upright, turned and square.
const Screen kScreens[] = {
    {"240 x 320", 240, 200, 96, {16, 8, 19, 1, 2, 29, 45, 60, 76, 91, 107, 122, 142, 162, 202}},
    {"320 x 240", 320, 40, 96, {16, 8, 19, 1, 2, 29, 45, 60, 76, 91, 107, 122, 142, 162, 202}},
    {"240 x 240", 240, 200, 96, {16, 8, 19, 1, 2, 29, 45, 60, 76, 91, 107, 122, 142, 162, 202}},
    {"480 x 640", 480, 400, 192, {32, 16, 35, 1, 2, 45, 77, 100, 132, 155, 187, 210, 246, 282, 354}},
    {"640 x 480", 640, 40, 192, {32, 16, 35, 1, 2, 45, 77, 100, 132, 155, 187, 210, 246, 282, 354}},
    {"480 x 480", 480, 400, 192, {32, 16, 35, 1, 2, 45, 77, 100, 132, 155, 187, 210, 246, 282, 354}},
};

ItemLayout LayoutOf(const Screen &screen, int editMode)
{
    ItemLayoutInput input = {screen.width, screen.width, screen.itemHeight, editMode, 640, 640, screen.dpi};
    ItemLayout layout;
    LayOutItem(input, &layout);
    return layout;
}

bool Overlap(const LayoutRect &a, const LayoutRect &b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(LayoutMetrics, ScreenWidth324IsSmallAnd325IsLarge)
{
    for (const Screen &screen : kScreens) {
        ItemLayout l = LayoutOf(screen, 1);
        const LayoutRect *c = l.cells;
        EXPECT_EQ(screen.width < 325, l.smallScreen) << screen.name;
        const int got[] = {l.iconSize, l.swatchSize, l.toolbarHeight, l.toolbarTop,
                           c[CELL_CORNER].left, c[CELL_PEN].left, c[CELL_PEN_COLOR].left,
                           c[CELL_ERASER].left, c[CELL_ERASER_COLOR].left, c[CELL_STAMP].left,
                           c[CELL_STAMP_COLOR].left, c[CELL_CLEAR].left, c[CELL_TEXT_TOGGLE].left,
                           c[CELL_IMAGE_TOGGLE].left, c[CELL_SAVE].left};
        for (int i = 0; i < 15; i++)
            EXPECT_EQ(screen.metrics[i], got[i]) << screen.name << ", metric " << i;
    }
    const Screen narrowest = {"324 wide", 324, 200, {}}, widest = {"325 wide", 325, 200, {}};
    EXPECT_EQ(1, LayoutOf(narrowest, 1).smallScreen);
    EXPECT_EQ(0, LayoutOf(widest, 1).smallScreen);
}

// The bar spans the screen, as high as the shell makes it at the screen's
// dpi, and every cell of the toolbar lies across the item within the
// screen's width.
TEST(ItemLayout, NavigationBarSpansTheScreenAndTheToolbarFitsBesideIt)
{
    for (const Screen &screen : kScreens) {
        ItemLayout l = LayoutOf(screen, 1);
        const LayoutRect bar = l.navigationBar;
        EXPECT_EQ(0, bar.left) << screen.name;
        EXPECT_EQ(0, bar.top) << screen.name;
        EXPECT_EQ(screen.width, bar.right) << screen.name;
        EXPECT_EQ(screen.dpi == 96 ? 26 : 52, bar.bottom) << screen.name;
        for (int cell = 0; cell < ITEM_CELL_COUNT; cell++)
            EXPECT_LE(l.cells[cell].right, screen.width) << screen.name << ", cell " << cell;
    }
    Screen unknownDpi = kScreens[0];
    unknownDpi.dpi = -1;
    EXPECT_EQ(26, LayoutOf(unknownDpi, 0).navigationBar.bottom);
}

TEST(ItemLayout, ButtonsAreIconsAndHalfButtonsAreSwatchesStacked)
{
    const ItemCell tools[] = {CELL_PEN, CELL_ERASER, CELL_STAMP};
    for (const Screen &screen : kScreens) {
        ItemLayout l = LayoutOf(screen, 1);
        for (int cell = 0; cell < ITEM_CELL_COUNT; cell++) {
            const LayoutRect &r = l.cells[cell];
            bool half = cell == CELL_PEN_COLOR || cell == CELL_PEN_WIDTH || cell == CELL_ERASER_COLOR ||
                        cell == CELL_ERASER_WIDTH || cell == CELL_STAMP_COLOR || cell == CELL_SHAPE;
            int size = half ? l.swatchSize : l.iconSize;
            EXPECT_EQ(size, r.right - r.left) << screen.name << ", cell " << cell;
            EXPECT_EQ(size, r.bottom - r.top) << screen.name << ", cell " << cell;
        }
        for (ItemCell tool : tools) {
            const LayoutRect *c = l.cells + tool;
            EXPECT_EQ(c[0].right, c[1].left) << screen.name << ": the swatch follows its button";
            EXPECT_EQ(c[1].left, c[2].left) << screen.name;
            EXPECT_EQ(c[1].bottom, c[2].top) << screen.name << ": the lower half under the upper";
            EXPECT_EQ(l.toolbarTop, c[1].top) << screen.name;
        }
    }
}

TEST(ItemLayout, TextAndBoardMoveDownForTheToolbar)
{
    for (const Screen &screen : kScreens)
        for (int edit = 0; edit <= 1; edit++) {
            ItemLayout l = LayoutOf(screen, edit);
            const LayoutRect text = {5, edit ? l.iconSize + 3 : 3, screen.width, screen.itemHeight};
            const LayoutRect board = {0, edit ? l.toolbarHeight : 0, 640, 640 + (edit ? l.toolbarHeight : 0)};
            const LayoutRect *want[] = {&text, &board}, *got[] = {&l.text, &l.board};
            for (int i = 0; i < 2; i++) {
                EXPECT_EQ(want[i]->left, got[i]->left) << screen.name << ", edit " << edit << ", " << i;
                EXPECT_EQ(want[i]->top, got[i]->top) << screen.name << ", edit " << edit << ", " << i;
                EXPECT_EQ(want[i]->right, got[i]->right) << screen.name << ", edit " << edit << ", " << i;
                EXPECT_EQ(want[i]->bottom, got[i]->bottom) << screen.name << ", edit " << edit << ", " << i;
            }
        }
}

// What a user relies on: no cell covers another, every cell is on the item
// within the toolbar's height (the Board's top in graphics edit mode), and a tap in a cell's centre finds that cell; in normal
// mode only the corner is there.
TEST(ItemLayout, CellsAreApartInsideTheItemAndFoundAtTheirCentres)
{
    for (const Screen &screen : kScreens)
        for (int edit = 0; edit <= 1; edit++) {
            ItemLayout l = LayoutOf(screen, edit);
            for (int cell = 0; cell < ITEM_CELL_COUNT; cell++) {
                const LayoutRect &r = l.cells[cell];
                bool shown = edit || cell == CELL_CORNER;
                ASSERT_EQ(!shown, RectIsEmpty(r)) << screen.name << ", edit " << edit << ", cell " << cell;
                if (!shown)
                    continue;
                EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= screen.width &&
                            r.bottom <= screen.itemHeight && r.bottom <= l.toolbarHeight)
                    << screen.name << ", cell " << cell;
                for (int other = cell + 1; other < ITEM_CELL_COUNT; other++)
                    EXPECT_FALSE(Overlap(r, l.cells[other])) << screen.name << ", cells " << cell << ", " << other;
                EXPECT_EQ(cell, ItemCellAt(l, (r.left + r.right) / 2, (r.top + r.bottom) / 2))
                    << screen.name << ", edit " << edit;
            }
        }
}

// Neighbours share an edge line; the earlier in the hit order takes it.
TEST(ItemLayout, SharedEdgesGoToTheCellTestedFirst)
{
    const struct {
        int x, y;
        ItemCell cell;
    } taps[] = {
        {0, 0, CELL_CORNER},          {15, 15, CELL_CORNER},      {16, 16, CELL_NONE},
        {28, 5, CELL_NONE},           {29, 5, CELL_PEN},          {45, 5, CELL_PEN},
        {45, 9, CELL_PEN_WIDTH},      {50, 9, CELL_PEN_WIDTH},    {50, 5, CELL_PEN_COLOR},
        {53, 1, CELL_PEN_COLOR},      {54, 1, CELL_NONE},         {76, 5, CELL_ERASER},
        {80, 9, CELL_ERASER_COLOR},   {80, 12, CELL_ERASER_WIDTH}, {107, 9, CELL_STAMP},
        {110, 9, CELL_STAMP_COLOR},   {110, 10, CELL_SHAPE},      {138, 17, CELL_CLEAR},
        {142, 17, CELL_TEXT_TOGGLE},  {162, 2, CELL_IMAGE_TOGGLE}, {190, 2, CELL_NONE},
        {218, 17, CELL_SAVE},         {219, 17, CELL_NONE},       {100, 18, CELL_NONE},
    };
    ItemLayout l = LayoutOf(kScreens[0], 1);
    for (const auto &tap : taps)
        EXPECT_EQ(tap.cell, ItemCellAt(l, tap.x, tap.y)) << "(" << tap.x << ", " << tap.y << ")";
}

// A dot of width w, or a stamp, must fall whole on the Board shown from
// row boardTop: strictly more than the margin from every edge.
TEST(ItemLayout, BoardMarginKeepsDotsAndStampsWhole)
{
    const struct {
        int boardTop, margin, x, y;
        bool inside;
    } points[] = {
        {19, 2, 3, 22, true},     {19, 2, 2, 22, false},    {19, 2, 3, 21, false},
        {19, 2, 637, 656, true},  {19, 2, 638, 656, false}, {19, 2, 637, 657, false},
        {0, 5, 6, 6, true},       {0, 5, 6, 5, false},      {35, 1, 2, 37, true},
        {35, 1, 2, 36, false},    {19, STAMP_MARGIN, 18, 37, true}, {19, STAMP_MARGIN, 18, 36, false},
        {19, STAMP_MARGIN, 622, 641, true}, {19, STAMP_MARGIN, 623, 641, false},
    };
    for (const auto &p : points)
        EXPECT_EQ(p.inside, InsideBoardMargin(p.boardTop, 640, 640, p.margin, p.x, p.y))
            << "top " << p.boardTop << ", margin " << p.margin << ", (" << p.x << ", " << p.y << ")";
}

}  // namespace
