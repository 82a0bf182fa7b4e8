// The board file: a 24-bit BMP in the first program folder of the board
// path list that works.
#pragma once
#include "item_state.h"

// How many names a folder has for keeping files the item cannot load:
// "inkleaf_board.unloadable.bmp", then "inkleaf_board.unloadable.2.bmp"
// and so on.
enum { BOARD_KEEP_NAME_COUNT = 99 };

// Path of entry `index` (1..12) of the board path list, NULL otherwise.
LPCWSTR BoardPath(int index);

// Writes a complete board file at `path`; false when the path does not
// open for writing, holds a file the item cannot load and cannot keep, or
// the file could not be written. What was at `path` is never lost: the new
// file is written beside it as "<path>.new" and then takes its place, or,
// without room for that, the old file is rewritten in place; a file the
// item cannot load is kept under a keep name first.
bool WriteBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels);

// Creates a new 640 x 640 file in the Board's background colour in the
// first folder of the list that takes it (written whole beside the board
// path, then put in place); tells the user when none does or the file
// could not be written there.
bool CreateBoardFile();

// Writes the Board in the first folder of the list whose board path opens
// for writing; false when none opens, the file could not be written there
// (the save never moves on to another folder), or there is no Board.
bool SaveBoard();

// Loads the Board at item creation, or creates a new grey one. A save cut
// short is settled first: a whole "<path>.new" takes the place of the
// board file. A non-empty file that does not load is kept under the first
// free keep name beside it before a Board replaces it; one that cannot be
// kept stays where it is, and its path counts as taken.
void LoadBoard();
