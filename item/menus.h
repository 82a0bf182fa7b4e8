// The item's ten popup menus, their contents and check marks.
#pragma once
#include "item_state.h"

void BuildPopupMenus();
void DestroyPopupMenus();

// Check-mark groups of RefreshMenuChecks.
enum MenuCheckGroup {
    CHECKS_TEXT_COLOR = 1,
    CHECKS_PEN_COLOR = 2,
    CHECKS_ERASER_COLOR = 3,
    CHECKS_PEN_WIDTH = 5,
    CHECKS_ERASER_WIDTH = 6,
    CHECKS_STAMP_COLOR = 7,
    CHECKS_SHAPE = 8
};
void RefreshMenuChecks(int group);

// The menu lists, in menu order, shared with command handling.
struct ColorEntry {
    LPCWSTR label;
    UINT id;
    int paletteIndex;
};
extern const ColorEntry kColorEntries[17];

struct ValueEntry {
    LPCWSTR label;
    UINT id;
    int value;
};
extern const ValueEntry kWidthEntries[10];
extern const ValueEntry kShapeEntries[12];

// Palette index of a colour command (0..17), or -1.
int PaletteIndexOfCommand(UINT id);
// Width of a width command (1..10), or 0.
int WidthOfCommand(UINT id);
// Shape number of a shape command, or 0.
int ShapeOfCommand(UINT id);
