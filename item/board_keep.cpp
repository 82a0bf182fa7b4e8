#include "board_keep.h"
#include "board_file_io.h"
#include "../common/registry_text.h"
#include <string.h>

static bool PathWithSuffix(LPCWSTR path, size_t keep, LPCWSTR suffix, WCHAR out[MAX_PATH])
{
    size_t added = wcslen(suffix);
    if (keep + added + 1 > MAX_PATH)
        return false;
    memcpy(out, path, keep * sizeof(WCHAR));
    memcpy(out + keep, suffix, (added + 1) * sizeof(WCHAR));
    return true;
}

bool TempPathFor(LPCWSTR path, WCHAR temp[MAX_PATH])
{
    return PathWithSuffix(path, wcslen(path), L".new", temp);
}

// Keep name `number` (1..BOARD_KEEP_NAME_COUNT) beside the board file:
// "inkleaf_board.unloadable.bmp", then "inkleaf_board.unloadable.2.bmp"...
static bool KeepPathFor(LPCWSTR path, int number, WCHAR kept[MAX_PATH])
{
    WCHAR suffix[32] = L".unloadable.";
    size_t length = wcslen(path);
    if (number > 1) {
        size_t at = wcslen(suffix);
        at += FormatDecimal(number, suffix + at, 12);
        suffix[at] = L'.';
        suffix[at + 1] = 0;
    }
    wcscat(suffix, L"bmp");
    return length > 4 && PathWithSuffix(path, length - 4, suffix, kept);
}

bool KeepUnloadable(LPCWSTR path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    for (int number = 1; number <= BOARD_KEEP_NAME_COUNT; number++) {
        WCHAR kept[MAX_PATH];
        if (!KeepPathFor(path, number, kept))
            return false;
        if (FileExists(kept))
            continue;
        if (MoveFileW(path, kept))
            return true;
        if (!FileExists(kept))
            return false;
    }
    return false;
}

// A whole "<path>.new" is the newest Board: a save writes it only while it
// is under way and completes it before anything else, so it takes the
// place of "<path>". The older Board is removed only once the new one is
// known whole; a cut between the removal and the rename leaves the new one
// alone, which the next start puts in place. A partial one is removed.
// "<path>.new" is the item's own name: a read-only mark on it is not
// carried into the Board.
void SettlePendingSave(LPCWSTR path)
{
    WCHAR temp[MAX_PATH];
    if (!TempPathFor(path, temp))
        return;
    BoardFileProbe pending = ProbeBoardFile(temp);
    if (pending.state != BOARD_PATH_HOLDS)
        return;
    ClearReadOnly(temp);
    if (pending.head.kind != BOARD_FILE_ITEM_BOARD) {
        DeleteFileW(temp);
        return;
    }
    // A file at `path` that the item cannot load is kept first; when it
    // cannot be kept, or cannot be read just now, both files stay.
    BoardFileProbe current = ProbeBoardFile(path);
    if (current.state == BOARD_PATH_BUSY || (IsUnloadable(current) && !KeepUnloadable(path)))
        return;
    if (DeleteFileW(path) || GetLastError() == ERROR_FILE_NOT_FOUND)
        MoveFileW(temp, path);
}
