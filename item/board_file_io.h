// Board files on disk: what lies at a path, read without the bitmap loader,
// and whole files written there.
#pragma once
#include "item_state.h"
#include "board_format.h"

// What lies at a board path. A file that exists but cannot be read just
// now (another program holds it, the device is short of memory) is busy:
// nothing about it is known, so nothing may replace it.
enum BoardFileState {
    BOARD_PATH_FREE,            // no file there (nothing, or a folder)
    BOARD_PATH_BUSY,
    BOARD_PATH_HOLDS            // a file, judged by its head: see `head`
};
struct BoardFileProbe {
    BoardFileState state;
    BoardFileHead head;
    DWORD bytes;
};
BoardFileProbe ProbeBoardFile(LPCWSTR path);

// Whether a probe found a file that is not a Board the item can load:
// such a file is kept before a Board is written at its path.
bool IsUnloadable(const BoardFileProbe &probe);

bool FileExists(LPCWSTR path);
// Clears a read-only mark, so that the file can be replaced or removed.
void ClearReadOnly(LPCWSTR path);

HANDLE OpenBoardFileForWriting(LPCWSTR path, DWORD disposition);

enum BoardWriteResult { BOARD_NOT_OPENED, BOARD_NOT_WRITTEN, BOARD_WRITTEN };

// Writes a whole file at `path` (created or truncated): the two headers,
// then the pixels as one block, or, when `pixels` is NULL, rows of the
// background colour, the Board a new file turns into. A file that could
// not be completed is removed.
BoardWriteResult WriteWholeBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels);

// Rewrites the existing file at `path` from its first byte, without
// truncating it: it holds a Board of the same size, so no new room is
// needed, and a cut leaves a whole file of new pixels up to the cut and old
// ones after it.
bool RewriteInPlace(LPCWSTR path, int width, int height, const BYTE *pixels);
