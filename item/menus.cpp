#include "menus.h"
#include "item_commands.h"
#include "stamp_shapes.h"
#include <stdio.h>
#include <wchar.h>

const ColorEntry kColorEntries[17] = {
    {L"Black", IDM_COLOR_BLACK, 0},
    {L"White", IDM_COLOR_WHITE, 1},
    {L"Gray", IDM_COLOR_GRAY, 2},
    {L"Red", IDM_COLOR_RED, 3},
    {L"Pink", IDM_COLOR_PINK, 13},
    {L"Purple", IDM_COLOR_PURPLE, 8},
    {L"Yellow", IDM_COLOR_YELLOW, 4},
    {L"Orange", IDM_COLOR_ORANGE, 14},
    {L"Cream", IDM_COLOR_CREAM, 9},
    {L"Green", IDM_COLOR_GREEN, 5},
    {L"Emerald Green", IDM_COLOR_EMERALD, 10},
    {L"Blue", IDM_COLOR_BLUE, 7},
    {L"Cyan", IDM_COLOR_CYAN, 6},
    {L"Baby Blue", IDM_COLOR_BABY_BLUE, 11},
    {L"Turquoise Blue", IDM_COLOR_TURQUOISE, 12},
    {L"Beige", IDM_COLOR_BEIGE, 15},
    {L"Khaki", IDM_COLOR_KHAKI, 16},
};

const ValueEntry kWidthEntries[10] = {
    {L"1", IDM_WIDTH_1, 1}, {L"2", IDM_WIDTH_2, 2}, {L"3", IDM_WIDTH_3, 3},
    {L"4", IDM_WIDTH_4, 4}, {L"5", IDM_WIDTH_5, 5}, {L"6", IDM_WIDTH_6, 6},
    {L"7", IDM_WIDTH_7, 7}, {L"8", IDM_WIDTH_8, 8}, {L"9", IDM_WIDTH_9, 9},
    {L"10", IDM_WIDTH_10, 10},
};

const ValueEntry kShapeEntries[12] = {
    {L"Star - S", IDM_STAR_S, SHAPE_STAR_S},
    {L"Star - L", IDM_STAR_L, SHAPE_STAR_L},
    {L"Heart - S", IDM_HEART_S, SHAPE_HEART_S},
    {L"Heart - L", IDM_HEART_L, SHAPE_HEART_L},
    {L"Circle (unfilled) - S", IDM_CIRCLE_S, SHAPE_CIRCLE_OUTLINE_S},
    {L"Circle (unfilled) - L", IDM_CIRCLE_L, SHAPE_CIRCLE_OUTLINE_L},
    {L"Circle (filled) - S", IDM_CIRCLE_FILLED_S, SHAPE_CIRCLE_FILLED_S},
    {L"Circle (filled) - L", IDM_CIRCLE_FILLED_L, SHAPE_CIRCLE_FILLED_L},
    {L"Square (unfilled) - S", IDM_SQUARE_S, SHAPE_SQUARE_OUTLINE_S},
    {L"Square (unfilled) - L", IDM_SQUARE_L, SHAPE_SQUARE_OUTLINE_L},
    {L"Square (filled) - S", IDM_SQUARE_FILLED_S, SHAPE_SQUARE_FILLED_S},
    {L"Square (filled) - L", IDM_SQUARE_FILLED_L, SHAPE_SQUARE_FILLED_L},
};

int PaletteIndexOfCommand(UINT id)
{
    if (id == IDM_COLOR_THEME_TEXT)
        return 17;
    for (size_t i = 0; i < COUNT_OF(kColorEntries); i++)
        if (kColorEntries[i].id == id)
            return kColorEntries[i].paletteIndex;
    return -1;
}

static int ValueOfCommand(const ValueEntry *entries, int count, UINT id)
{
    for (int i = 0; i < count; i++)
        if (entries[i].id == id)
            return entries[i].value;
    return 0;
}

int WidthOfCommand(UINT id)
{
    return ValueOfCommand(kWidthEntries, 10, id);
}

int ShapeOfCommand(UINT id)
{
    return ValueOfCommand(kShapeEntries, 12, id);
}

// Appends the 17 colours labelled "<prefix><colour><suffix>".
static void AppendColors(HMENU menu, LPCWSTR prefix, LPCWSTR suffix)
{
    for (size_t i = 0; i < COUNT_OF(kColorEntries); i++) {
        const ColorEntry &e = kColorEntries[i];
        WCHAR label[64];
        _snwprintf(label, 64, L"%ls%ls%ls", prefix, e.label, suffix);
        label[63] = 0;
        AppendMenuW(menu, 0, e.id, label);
    }
}

static HMENU BuildColorMenu()
{
    HMENU menu = CreatePopupMenu();
    AppendColors(menu, L"", L"");
    return menu;
}

static HMENU BuildValueMenu(const ValueEntry *entries, int count)
{
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < count; i++)
        AppendMenuW(menu, 0, entries[i].id, entries[i].label);
    return menu;
}

// Position of the "Text color" submenu in the corner popups.
enum { CORNER_TEXT_COLOR_POSITION = 14 };

static HMENU BuildCornerMenu(LPCWSTR first, UINT firstId)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, 0, firstId, first);
    AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(menu, 0, IDM_EDIT_TEXT, L"Edit text...(&E)");
    AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(menu, 0, IDM_COPY, L"Copy(&C)");
    AppendMenuW(menu, 0, IDM_PASTE, L"Paste(&V)");
    AppendMenuW(menu, 0, IDM_PASTE_TO_END, L"Paste to end of current text(&A)");
    AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(menu, 0, IDM_LARGER_TEXT, L"Larger text(&L)");
    AppendMenuW(menu, 0, IDM_SMALLER_TEXT, L"Smaller text(&S)");
    AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(menu, 0, IDM_LARGER_WINDOW, L"Larger window(&K)");
    AppendMenuW(menu, 0, IDM_SMALLER_WINDOW, L"Smaller window(&J)");
    AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(menu, MF_POPUP, (UINT_PTR)g_item.textColorMenu, L"Text color");
    return menu;
}

void BuildPopupMenus()
{
    ItemState &s = g_item;
    s.textColorMenu = BuildColorMenu();
    AppendMenuW(s.textColorMenu, 0, IDM_COLOR_THEME_TEXT, L"Theme text color");
    s.graphicsItemMenu = BuildCornerMenu(L"Exit Graphics Edit mode(&Q)", IDM_EXIT_EDIT_MODE);
    s.itemMenu = BuildCornerMenu(L"To Graphics Edit mode(&G)", IDM_ENTER_EDIT_MODE);
    s.penColorMenu = BuildColorMenu();

    s.eraserMenu = CreatePopupMenu();
    AppendMenuW(s.eraserMenu, 0, IDM_TRANSPARENT, L"Transparent eraser");
    AppendColors(s.eraserMenu, L"", L" eraser");

    s.clearBoardMenu = CreatePopupMenu();
    AppendMenuW(s.clearBoardMenu, 0, IDM_CLEAR_WITH_ERASER, L"Use current eraser to delete");
    AppendMenuW(s.clearBoardMenu, 0, IDM_TRANSPARENT, L"Use Transparent to delete");
    AppendColors(s.clearBoardMenu, L"Use ", L" to delete");

    s.penWidthMenu = BuildValueMenu(kWidthEntries, 10);
    s.eraserWidthMenu = BuildValueMenu(kWidthEntries, 10);
    s.stampColorMenu = BuildColorMenu();
    s.shapeMenu = BuildValueMenu(kShapeEntries, 12);
    s.menuContext = MENU_CONTEXT_NONE;
}

void DestroyPopupMenus()
{
    ItemState &s = g_item;
    // textColorMenu hangs under both corner popups: detach it from each so
    // that it is destroyed once, on its own.
    HMENU corners[2] = {s.itemMenu, s.graphicsItemMenu};
    for (size_t i = 0; i < COUNT_OF(corners); i++)
        if (corners[i])
            RemoveMenu(corners[i], CORNER_TEXT_COLOR_POSITION, MF_BYPOSITION);
    HMENU *menus[] = {&s.itemMenu, &s.graphicsItemMenu, &s.textColorMenu, &s.penColorMenu,
                      &s.penWidthMenu, &s.eraserMenu, &s.eraserWidthMenu, &s.clearBoardMenu,
                      &s.stampColorMenu, &s.shapeMenu};
    for (size_t i = 0; i < COUNT_OF(menus); i++) {
        if (*menus[i])
            DestroyMenu(*menus[i]);
        *menus[i] = NULL;
    }
}

static void CheckOnly(HMENU menu, const UINT *ids, int count, UINT checked)
{
    for (int i = 0; i < count; i++)
        CheckMenuItem(menu, ids[i], MF_BYCOMMAND | MF_UNCHECKED);
    if (checked)
        CheckMenuItem(menu, checked, MF_BYCOMMAND | MF_CHECKED);
}

// Identifier of the colour entry for a palette index, 0 when none.
static UINT ColorCommand(int paletteIndex)
{
    for (size_t i = 0; i < COUNT_OF(kColorEntries); i++)
        if (kColorEntries[i].paletteIndex == paletteIndex)
            return kColorEntries[i].id;
    return 0;
}

static UINT ValueCommand(const ValueEntry *entries, int count, int value)
{
    for (int i = 0; i < count; i++)
        if (entries[i].value == value)
            return entries[i].id;
    return 0;
}

void RefreshMenuChecks(int group)
{
    ItemState &s = g_item;
    UINT colors[19];
    for (int i = 0; i < 17; i++)
        colors[i] = kColorEntries[i].id;
    UINT values[12];
    switch (group) {
    case CHECKS_TEXT_COLOR:
        colors[17] = IDM_COLOR_THEME_TEXT;
        CheckOnly(s.textColorMenu, colors, 18,
                  s.textColorIndex == 17 ? IDM_COLOR_THEME_TEXT : ColorCommand(s.textColorIndex));
        break;
    case CHECKS_PEN_COLOR:
        CheckOnly(s.penColorMenu, colors, 17, ColorCommand(s.penColorIndex));
        break;
    case CHECKS_ERASER_COLOR: {
        colors[17] = IDM_TRANSPARENT;
        UINT checked = s.eraserColorIndex == 18 ? IDM_TRANSPARENT : ColorCommand(s.eraserColorIndex);
        CheckOnly(s.eraserMenu, colors, 18, checked);
        CheckOnly(s.clearBoardMenu, colors, 18, checked);
        break;
    }
    case CHECKS_PEN_WIDTH:
    case CHECKS_ERASER_WIDTH:
        for (int i = 0; i < 10; i++)
            values[i] = kWidthEntries[i].id;
        CheckOnly(group == CHECKS_PEN_WIDTH ? s.penWidthMenu : s.eraserWidthMenu, values, 10,
                  ValueCommand(kWidthEntries, 10, group == CHECKS_PEN_WIDTH ? s.penWidth : s.eraserWidth));
        break;
    case CHECKS_STAMP_COLOR:
        CheckOnly(s.stampColorMenu, colors, 17, ColorCommand(s.stampColorIndex));
        break;
    case CHECKS_SHAPE:
        for (int i = 0; i < 12; i++)
            values[i] = kShapeEntries[i].id;
        CheckOnly(s.shapeMenu, values, 12, ValueCommand(kShapeEntries, 12, s.shapeIndex));
        break;
    }
}
