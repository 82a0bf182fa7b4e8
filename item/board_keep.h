// The other names in the board file's folder: "<path>.new", where a save
// writes the whole new file before it takes the old one's place, and the
// keep names, where a file the item cannot load is kept before a Board is
// written at its path.
#pragma once
#include "item_state.h"

// How many names a folder has for keeping files the item cannot load:
// "inkleaf_board.unloadable.bmp", then "inkleaf_board.unloadable.2.bmp"
// and so on.
enum { BOARD_KEEP_NAME_COUNT = 99 };

bool TempPathFor(LPCWSTR path, WCHAR temp[MAX_PATH]);

// Keeps the file at `path`, which the item cannot load, byte for byte under
// the first keep name that nothing else uses. False when it could not be
// kept: it is then left where it is.
bool KeepUnloadable(LPCWSTR path);

// Settles what a save cut short left at `path`: a whole "<path>.new" takes
// the place of the board file, a partial one is removed. Busy files are
// left as they are.
void SettlePendingSave(LPCWSTR path);
