#include "board_file.h"
#include "board_format.h"
#include "board_primitives.h"
#include "../common/registry_text.h"
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
// writes the whole new file before it takes the old one's place, and the
// keep names, where a file the item cannot load is kept before a Board is
// written at its path.
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

static bool FileExists(LPCWSTR path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// Bytes in the file at `path`; INVALID_FILE_SIZE when it cannot be read.
static DWORD FileBytes(LPCWSTR path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return INVALID_FILE_SIZE;
    DWORD bytes = GetFileSize(file, NULL);
    CloseHandle(file);
    return bytes;
}

static bool IsEmptyOrMissing(LPCWSTR path)
{
    return !FileExists(path) || FileBytes(path) == 0;
}

// Clears a read-only mark, so that the file can be replaced or removed.
static void ClearReadOnly(LPCWSTR path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

static bool WriteAll(HANDLE file, const void *data, DWORD bytes)
{
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written, NULL) && written == bytes;
}

// Writes a whole board file from the current position of `file`: the two
// headers, then the pixels as one block, or, when `pixels` is NULL, rows of
// the background colour, the Board a new file turns into (at most
// BOARD_NEW_WIDTH wide). Every write is checked.
static bool WriteBoardContents(HANDLE file, int width, int height, const BYTE *pixels)
{
    unsigned char headers[BOARD_HEADERS_BYTES];
    BuildBoardFileHeaders(width, height, headers);
    bool written = WriteAll(file, headers, BOARD_FILE_HEADER_BYTES) &&
                   WriteAll(file, headers + BOARD_FILE_HEADER_BYTES, BOARD_INFO_HEADER_BYTES);
    if (pixels)
        return written && WriteAll(file, pixels, (DWORD)BoardPixelBytes(width, height));
    if (width > BOARD_NEW_WIDTH)
        return false;
    BYTE background[BOARD_NEW_WIDTH * 3];
    BoardPixels row;
    row.width = width;
    row.height = 1;
    row.bits = background;
    const ColorRGB &grey = g_item.boardBackgroundRGB;
    PixelRGB color = {grey.red, grey.green, grey.blue};
    BoardFill(row, color);
    for (int line = 0; written && line < height; line++)
        written = WriteAll(file, background, (DWORD)width * 3);
    return written;
}

static HANDLE OpenBoardFile(LPCWSTR path, DWORD disposition)
{
    return CreateFileW(path, GENERIC_WRITE, 0, NULL, disposition, FILE_ATTRIBUTE_NORMAL, NULL);
}

enum BoardWriteResult { BOARD_NOT_OPENED, BOARD_NOT_WRITTEN, BOARD_WRITTEN };

// Writes a whole file at `path` (created or truncated); a file that could
// not be completed is removed.
static BoardWriteResult WriteWholeBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels)
{
    HANDLE file = OpenBoardFile(path, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE)
        return BOARD_NOT_OPENED;
    bool written = WriteBoardContents(file, width, height, pixels);
    if (CloseHandle(file) && written)
        return BOARD_WRITTEN;
    DeleteFileW(path);
    return BOARD_NOT_WRITTEN;
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

// Whether the file at `path` is the file the item writes for a Board of
// width x height, whole: its headers are those and it holds every pixel
// byte. The Board being saved was loaded from a file of its size, so such
// a file loads too.
static bool IsWholeItemFile(LPCWSTR path, int width, int height)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char found[BOARD_HEADERS_BYTES], expected[BOARD_HEADERS_BYTES];
    DWORD read = 0;
    bool complete = ReadFile(file, found, sizeof(found), &read, NULL) && read == sizeof(found);
    DWORD bytes = GetFileSize(file, NULL);
    CloseHandle(file);
    BuildBoardFileHeaders(width, height, expected);
    return complete && memcmp(found, expected, sizeof(found)) == 0 &&
           bytes == BOARD_HEADERS_BYTES + BoardPixelBytes(width, height);
}

// Whether the file at `path` is a Board the item can load.
static bool IsLoadableBoard(LPCWSTR path)
{
    HBITMAP board = LoadUsableBoard(path);
    if (board)
        DeleteObject(board);
    return board != NULL;
}

// Whether the file at `path` is a Board the item can load, of exactly the
// size the item writes for it: no byte of it is missing.
static bool IsWholeBoardFile(LPCWSTR path)
{
    HBITMAP board = LoadUsableBoard(path);
    BoardPixels pixels;
    bool whole = board && GetBoardPixels(board, &pixels) &&
                 FileBytes(path) ==
                     BOARD_HEADERS_BYTES + BoardPixelBytes(pixels.width, pixels.height);
    if (board)
        DeleteObject(board);
    return whole;
}

// Keeps the file at `path`, which the item cannot load, byte for byte under
// the first keep name that nothing else uses. False when it could not be
// kept: it is then left where it is.
static bool KeepUnloadable(LPCWSTR path)
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

// Settles what a save cut short left at `path`. A whole "<path>.new" is the
// newest Board: a save writes it only while it is under way and completes
// it before anything else, so it takes the place of "<path>". The older
// Board is removed only once the new one is known whole; a cut between the
// removal and the rename leaves the new one alone, which the next start
// puts in place. A partial one is removed. "<path>.new" is the item's own
// name: a read-only mark on it is not carried into the Board.
static void SettlePendingSave(LPCWSTR path)
{
    WCHAR temp[MAX_PATH];
    if (!TempPathFor(path, temp) || !FileExists(temp))
        return;
    ClearReadOnly(temp);
    if (!IsWholeBoardFile(temp)) {
        DeleteFileW(temp);
        return;
    }
    // A file at `path` that the item cannot load is kept first; when it
    // cannot be kept, both files stay.
    if (!IsEmptyOrMissing(path) && !IsLoadableBoard(path) && !KeepUnloadable(path))
        return;
    if (DeleteFileW(path) || GetLastError() == ERROR_FILE_NOT_FOUND)
        MoveFileW(temp, path);
}

// Writes a Board at `path`. The folder counts as chosen when the file at
// `path` opens for writing or, without one, a new file opens beside it.
// What was there is never lost: the new file is written whole beside it as
// "<path>.new" and then takes its place; a file there that the item cannot
// load is kept under a keep name first (when it cannot be kept, the path
// is taken and the folder does not count). Without room for the new file,
// an old Board of the same size is rewritten in place; any other file is
// left as it is, and the save fails.
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
        HANDLE probe = OpenBoardFile(path, OPEN_EXISTING);
        if (probe == INVALID_HANDLE_VALUE)
            return BOARD_NOT_OPENED;
        oldBytes = GetFileSize(probe, NULL);
        CloseHandle(probe);
        // The loader is asked only about a file other than the one the
        // item writes for this Board.
        unloadable = oldBytes != 0 && !IsWholeItemFile(path, width, height) &&
                     !IsLoadableBoard(path);
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
// settling each path on the way. A file that does not load stays as it is:
// whatever writes a Board at its path keeps it first.
static void LoadFirstBoardFile()
{
    ItemState &s = g_item;
    for (int index = 1; index <= BOARD_PATH_COUNT; index++) {
        s.installFolderIndex = index;
        SettlePendingSave(BoardPath(index));
        s.boardBitmap = LoadUsableBoard(BoardPath(index));
        if (s.boardBitmap)
            return;
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
