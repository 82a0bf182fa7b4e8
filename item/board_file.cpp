#include "board_file.h"
#include "board_file_io.h"
#include "board_keep.h"
#include "board_primitives.h"
#include "install_folders.h"

// The Board in the file at `path` when the pixel writers can address it.
static HBITMAP LoadUsableBoard(LPCWSTR path)
{
    HBITMAP board = SHLoadDIBitmap(path);
    BoardPixels pixels;
    if (board && !GetBoardPixels(board, &pixels)) {
        DeleteObject(board);
        board = NULL;
    }
    return board;
}

// Writes a Board at `path`. The folder counts as chosen when the file at
// `path` opens for writing or, without one, a new file opens beside it.
// What was there is never lost: the new file is written whole beside it as
// "<path>.new" and then takes its place; a file there that the item cannot
// load is kept under a keep name first (when it cannot be kept, the path
// is taken and the folder does not count). Without room for the new file,
// an old Board of the same size is rewritten in place; any other file is
// left as it is, and the save fails. A file that cannot be read just now
// is left as it is too.
static BoardWriteResult WriteBoardAt(LPCWSTR path, int width, int height, const BYTE *pixels)
{
    // The pixels go out in one write of a DWORD count.
    if (width < 1 || height < 1 || BoardPixelBytes(width, height) > 0x7FFFFFFF)
        return BOARD_NOT_WRITTEN;
    WCHAR temp[MAX_PATH];
    if (!TempPathFor(path, temp))
        return BOARD_NOT_OPENED;
    bool existed = FileExists(path), unloadable = false;
    DWORD oldBytes = 0;
    if (existed) {
        HANDLE probe = OpenBoardFileForWriting(path, OPEN_EXISTING);
        if (probe == INVALID_HANDLE_VALUE)
            return BOARD_NOT_OPENED;
        CloseHandle(probe);
        BoardFileProbe old = ProbeBoardFile(path);
        if (old.state == BOARD_PATH_BUSY)
            return BOARD_NOT_WRITTEN;
        oldBytes = old.bytes;
        unloadable = IsUnloadable(old);
    }
    BoardWriteResult result = WriteWholeBoardFile(temp, width, height, pixels);
    if (result == BOARD_WRITTEN) {
        if (unloadable && !KeepUnloadable(path)) {
            DeleteFileW(temp);
            return BOARD_NOT_OPENED;
        }
        if (!DeleteFileW(path) && GetLastError() != ERROR_FILE_NOT_FOUND) {
            DeleteFileW(temp);
            return BOARD_NOT_WRITTEN;
        }
        // Should the rename fail, the whole new file stays as "<path>.new"
        // and the next item creation puts it in place.
        return MoveFileW(temp, path) ? BOARD_WRITTEN : BOARD_NOT_WRITTEN;
    }
    if (!existed)
        return result;
    if (unloadable || oldBytes != BOARD_HEADERS_BYTES + BoardPixelBytes(width, height))
        return BOARD_NOT_WRITTEN;
    return RewriteInPlace(path, width, height, pixels) ? BOARD_WRITTEN : BOARD_NOT_WRITTEN;
}

bool WriteBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels)
{
    return pixels && WriteBoardAt(path, width, height, pixels) == BOARD_WRITTEN;
}

bool CreateBoardFile()
{
    for (int index = FirstInstallFolderIndex(); index <= INSTALL_FOLDER_COUNT; index++) {
        g_item.installFolderIndex = index;
        WCHAR path[MAX_PATH];
        if (!BoardPath(index, path))
            continue;
        BoardWriteResult result = WriteBoardAt(path, BOARD_NEW_WIDTH, BOARD_NEW_HEIGHT, NULL);
        if (result == BOARD_WRITTEN)
            return true;
        if (result == BOARD_NOT_WRITTEN)
            break;
    }
    MessageBoxW(NULL, L"Failed to create a file1.", NULL, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool SaveBoard()
{
    BoardPixels pixels;
    if (!GetBoardPixels(g_item.boardBitmap, &pixels))
        return false;
    for (int index = FirstInstallFolderIndex(); index <= INSTALL_FOLDER_COUNT; index++) {
        WCHAR path[MAX_PATH];
        if (!BoardPath(index, path))
            continue;
        // What an earlier save left half done is settled before this one.
        SettlePendingSave(path);
        switch (WriteBoardAt(path, pixels.width, pixels.height, pixels.bits)) {
        case BOARD_WRITTEN:
            g_item.installFolderIndex = index;
            return true;
        case BOARD_NOT_WRITTEN:
            return false;       // the chosen folder keeps the Board: no moving on
        case BOARD_NOT_OPENED:
            break;
        }
    }
    return false;
}

enum BoardSearch {
    BOARD_LOADED,
    BOARD_NOT_FOUND,
    BOARD_HELD          // a Board lies in a folder but could not be loaded just now
};

// Loads the first board file of the list that the pixel writers can use,
// settling each path on the way. A file that does not load is judged by
// its own bytes: one that is not a Board stays as it is, and whatever
// writes a Board at its path keeps it first; a whole Board the loader
// could not turn into a bitmap (short of memory), or a file that cannot
// be read just now, ends the search with nothing loaded.
static BoardSearch LoadFirstBoardFile()
{
    ItemState &s = g_item;
    for (int index = FirstInstallFolderIndex(); index <= INSTALL_FOLDER_COUNT; index++) {
        s.installFolderIndex = index;
        WCHAR path[MAX_PATH];
        if (!BoardPath(index, path))
            continue;
        SettlePendingSave(path);
        s.boardBitmap = LoadUsableBoard(path);
        if (s.boardBitmap)
            return BOARD_LOADED;
        BoardFileProbe probe = ProbeBoardFile(path);
        if (probe.state == BOARD_PATH_BUSY ||
            (probe.state == BOARD_PATH_HOLDS && probe.head.kind >= BOARD_FILE_BOARD))
            return BOARD_HELD;
    }
    return BOARD_NOT_FOUND;
}

void LoadBoard()
{
    ItemState &s = g_item;
    s.boardFileFound = 1;
    BoardSearch search = LoadFirstBoardFile();
    if (search != BOARD_LOADED)
        s.boardFileFound = 0;
    // A Board that could not be loaded just now is neither replaced nor
    // saved over: the item goes on without one, and a later start loads it.
    if (search == BOARD_NOT_FOUND && CreateBoardFile()) {
        LoadFirstBoardFile();
        s.eraserColorRGB = s.boardBackgroundRGB;
        FillBoard(s.boardBitmap);
    }
}
