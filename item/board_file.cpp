#include "board_file.h"
#include "board_format.h"
#include "board_primitives.h"
#include <string.h>

static const LPCWSTR kBoardPaths[BOARD_PATH_COUNT] = {
    L"\\Programmi\\inkleaf_item\\inkleaf_board.bmp",
    L"\\program files\\inkleaf_item\\inkleaf_board.bmp",
    L"\\Programme\\inkleaf_item\\inkleaf_board.bmp",
    L"\\Program\\inkleaf_item\\inkleaf_board.bmp",
    L"\\ToBeFilled\\inkleaf_item\\inkleaf_board.bmp",
    L"\\Archivos de programa\\inkleaf_item\\inkleaf_board.bmp",
    L"\\Arquivos de programas\\inkleaf_item\\inkleaf_board.bmp",
    L"\\Ohjelmatiedostot\\inkleaf_item\\inkleaf_board.bmp",
    L"\\Programas\\inkleaf_item\\inkleaf_board.bmp",
    L"\\ProgramFiler\\inkleaf_item\\inkleaf_board.bmp",
    L"\\Programmer\\inkleaf_item\\inkleaf_board.bmp",
    L"\\Programmes\\inkleaf_item\\inkleaf_board.bmp",
};

LPCWSTR BoardPath(int index)
{
    return (index >= 1 && index <= BOARD_PATH_COUNT) ? kBoardPaths[index - 1] : NULL;
}

// Other names in the board file's folder: "<path>.new", where a save
// writes the whole new file before it takes the old one's place, and
// "inkleaf_board.unloadable.bmp", where a file the item cannot load is
// kept before a fresh Board replaces it.
static bool PathWithSuffix(LPCWSTR path, size_t keep, LPCWSTR suffix, WCHAR out[MAX_PATH])
{
    size_t added = wcslen(suffix);
    if (keep + added + 1 > MAX_PATH)
        return false;
    memcpy(out, path, keep * sizeof(WCHAR));
    memcpy(out + keep, suffix, (added + 1) * sizeof(WCHAR));
    return true;
}

static bool TempPathFor(LPCWSTR path, WCHAR temp[MAX_PATH])
{
    return PathWithSuffix(path, wcslen(path), L".new", temp);
}

static bool UnloadablePathFor(LPCWSTR path, WCHAR kept[MAX_PATH])
{
    size_t length = wcslen(path);
    return length > 4 && PathWithSuffix(path, length - 4, L".unloadable.bmp", kept);
}

static bool FileExists(LPCWSTR path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// Bytes in the file at `path`; 0 when it is empty, missing or unreadable.
static DWORD FileBytes(LPCWSTR path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD bytes = GetFileSize(file, NULL);
    CloseHandle(file);
    return bytes == INVALID_FILE_SIZE ? 0 : bytes;
}

static bool WriteAll(HANDLE file, const void *data, DWORD bytes)
{
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written, NULL) && written == bytes;
}

// Writes a whole board file from the current position of `file`: the two
// headers, then the pixels as one block, or rows of zero bytes when
// `pixels` is NULL. Every write is checked.
static bool WriteBoardContents(HANDLE file, int width, int height, const BYTE *pixels)
{
    unsigned char headers[BOARD_HEADERS_BYTES];
    BuildBoardFileHeaders(width, height, headers);
    bool written = WriteAll(file, headers, BOARD_FILE_HEADER_BYTES) &&
                   WriteAll(file, headers + BOARD_FILE_HEADER_BYTES, BOARD_INFO_HEADER_BYTES);
    if (pixels)
        return written && WriteAll(file, pixels, (DWORD)BoardPixelBytes(width, height));
    static const BYTE zeroRow[BOARD_NEW_WIDTH * 3] = {};
    for (int row = 0; written && row < height; row++)
        written = WriteAll(file, zeroRow, (DWORD)width * 3);
    return written;
}

static HANDLE OpenBoardFile(LPCWSTR path, DWORD disposition)
{
    return CreateFileW(path, GENERIC_WRITE, 0, NULL, disposition, FILE_ATTRIBUTE_NORMAL, NULL);
}

// Writes a whole file at `path` (created or truncated); a file that could
// not be completed is removed.
static bool WriteWholeBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels)
{
    HANDLE file = OpenBoardFile(path, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = WriteBoardContents(file, width, height, pixels);
    if (CloseHandle(file) && written)
        return true;
    DeleteFileW(path);
    return false;
}

// Rewrites the existing file at `path` from its first byte, without
// truncating it: it holds a Board of the same size, so no new room is
// needed, and a cut leaves a whole file of new pixels up to the cut and old
// ones after it.
static bool RewriteInPlace(LPCWSTR path, int width, int height, const BYTE *pixels)
{
    HANDLE file = OpenBoardFile(path, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = WriteBoardContents(file, width, height, pixels);
    return CloseHandle(file) && written;
}

// An unloadable, non-empty file at `path` is kept under the unloadable name
// (in place of an older one) so that writing a Board there loses nothing.
static void SetAsideUnloadable(LPCWSTR path)
{
    WCHAR kept[MAX_PATH];
    if (FileBytes(path) == 0 || !UnloadablePathFor(path, kept))
        return;
    DeleteFileW(kept);
    MoveFileW(path, kept);
}

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

// Settles what a save cut short left at `path`: a whole "<path>.new" is the
// newest Board when "<path>" does not load, and takes its place; beside a
// loadable "<path>" it is stale, and so is one that does not load itself.
static void SettlePendingSave(LPCWSTR path)
{
    WCHAR temp[MAX_PATH];
    if (!TempPathFor(path, temp) || !FileExists(temp))
        return;
    HBITMAP board = LoadUsableBoard(path);
    HBITMAP saved = board ? NULL : LoadUsableBoard(temp);
    if (board)
        DeleteObject(board);
    if (!saved) {
        DeleteFileW(temp);
        return;
    }
    DeleteObject(saved);
    SetAsideUnloadable(path);
    if (DeleteFileW(path) || GetLastError() == ERROR_FILE_NOT_FOUND)
        MoveFileW(temp, path);
}

enum BoardWriteResult { BOARD_NOT_OPENED, BOARD_NOT_WRITTEN, BOARD_WRITTEN };

// Writes a Board at `path`. The folder counts as chosen when `path` opens
// for writing. What was there is never lost: a new file is written whole
// beside the old one and then takes its place; when there is no room for
// it, an old file of the same size is rewritten in place (one of another
// size is left as it is, and the save fails). An empty or missing file is
// simply written.
static BoardWriteResult WriteBoardAt(LPCWSTR path, int width, int height, const BYTE *pixels)
{
    // The pixels go out in one write of a DWORD count.
    if (width < 1 || height < 1 || BoardPixelBytes(width, height) > 0x7FFFFFFF)
        return BOARD_NOT_WRITTEN;
    WCHAR temp[MAX_PATH];
    if (!TempPathFor(path, temp))
        return BOARD_NOT_OPENED;
    HANDLE probe = OpenBoardFile(path, OPEN_ALWAYS);
    if (probe == INVALID_HANDLE_VALUE)
        return BOARD_NOT_OPENED;
    DWORD oldBytes = GetFileSize(probe, NULL);
    if (oldBytes == 0) {
        bool written = WriteBoardContents(probe, width, height, pixels);
        if (CloseHandle(probe) && written)
            return BOARD_WRITTEN;
        DeleteFileW(path);
        return BOARD_NOT_WRITTEN;
    }
    CloseHandle(probe);
    if (WriteWholeBoardFile(temp, width, height, pixels)) {
        if (!DeleteFileW(path)) {
            DeleteFileW(temp);
            return BOARD_NOT_WRITTEN;
        }
        // Should the rename fail, the whole new file stays as "<path>.new"
        // and the next item creation puts it in place.
        return MoveFileW(temp, path) ? BOARD_WRITTEN : BOARD_NOT_WRITTEN;
    }
    if (oldBytes != BOARD_HEADERS_BYTES + BoardPixelBytes(width, height))
        return BOARD_NOT_WRITTEN;
    return RewriteInPlace(path, width, height, pixels) ? BOARD_WRITTEN : BOARD_NOT_WRITTEN;
}

bool WriteBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels)
{
    return pixels && WriteBoardAt(path, width, height, pixels) == BOARD_WRITTEN;
}

bool CreateBoardFile()
{
    for (int index = 1; index <= BOARD_PATH_COUNT; index++) {
        g_item.installFolderIndex = index;
        BoardWriteResult result = WriteBoardAt(BoardPath(index), BOARD_NEW_WIDTH, BOARD_NEW_HEIGHT, NULL);
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
    for (int index = 1; index <= BOARD_PATH_COUNT; index++) {
        LPCWSTR path = BoardPath(index);
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

// Loads the first board file of the list that the pixel writers can use,
// settling each path on the way; a non-empty file that does not load is set
// aside under the unloadable name, so nothing written later replaces it.
static void LoadFirstBoardFile()
{
    ItemState &s = g_item;
    for (int index = 1; index <= BOARD_PATH_COUNT; index++) {
        s.installFolderIndex = index;
        SettlePendingSave(BoardPath(index));
        s.boardBitmap = LoadUsableBoard(BoardPath(index));
        if (s.boardBitmap)
            return;
        SetAsideUnloadable(BoardPath(index));
    }
}

void LoadBoard()
{
    ItemState &s = g_item;
    s.boardFileFound = 1;
    LoadFirstBoardFile();
    if (!s.boardBitmap)
        s.boardFileFound = 0;
    if (!s.boardFileFound && CreateBoardFile()) {
        LoadFirstBoardFile();
        s.eraserColorRGB = s.boardBackgroundRGB;
        FillBoard(s.boardBitmap);
    }
}
