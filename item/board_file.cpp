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
    return (index >= 1 && index <= BOARD_PATH_COUNT) ? kBoardPaths[index - 1] : nullptr;
}

// A new board file is written in full under this name beside the old one,
// and only then takes the old one's place.
static bool TempPathFor(LPCWSTR path, WCHAR temp[MAX_PATH])
{
    static const WCHAR suffix[] = L".new";
    size_t length = wcslen(path);
    if (length + sizeof(suffix) / sizeof(WCHAR) > MAX_PATH)
        return false;
    memcpy(temp, path, length * sizeof(WCHAR));
    memcpy(temp + length, suffix, sizeof(suffix));
    return true;
}

static HANDLE OpenForWriting(LPCWSTR path)
{
    return CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

static bool WriteAll(HANDLE file, const void *data, DWORD bytes)
{
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written, nullptr) && written == bytes;
}

// Closes the temporary file and puts it in place of `path`. A failure
// before the old file is removed removes the temporary file and leaves
// `path` untouched; should the rename fail after the old file is gone, the
// complete temporary file is kept, as the only copy left.
static bool FinishReplace(HANDLE file, bool written, LPCWSTR temp, LPCWSTR path)
{
    bool ok = CloseHandle(file) && written;
    if (ok && !DeleteFileW(path) && GetLastError() != ERROR_FILE_NOT_FOUND)
        ok = false;
    if (!ok) {
        DeleteFileW(temp);
        return false;
    }
    return MoveFileW(temp, path) != 0;
}

static bool WriteHeaders(HANDLE file, int width, int height)
{
    unsigned char headers[BOARD_HEADERS_BYTES];
    BuildBoardFileHeaders(width, height, headers);
    return WriteAll(file, headers, BOARD_FILE_HEADER_BYTES) &&
           WriteAll(file, headers + BOARD_FILE_HEADER_BYTES, BOARD_INFO_HEADER_BYTES);
}

bool WriteBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels)
{
    WCHAR temp[MAX_PATH];
    if (!pixels || width < 1 || height < 1 || !TempPathFor(path, temp))
        return false;
    size_t bytes = BoardPixelBytes(width, height);
    if (bytes > 0x7FFFFFFF)
        return false;
    HANDLE file = OpenForWriting(temp);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = WriteHeaders(file, width, height) && WriteAll(file, pixels, (DWORD)bytes);
    return FinishReplace(file, written, temp, path);
}

static bool WriteNewBoardFile(LPCWSTR path)
{
    static const BYTE zeroRow[BOARD_NEW_WIDTH * 3] = {};
    WCHAR temp[MAX_PATH];
    if (!TempPathFor(path, temp))
        return false;
    HANDLE file = OpenForWriting(temp);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = WriteHeaders(file, BOARD_NEW_WIDTH, BOARD_NEW_HEIGHT);
    for (int row = 0; written && row < BOARD_NEW_HEIGHT; row++)
        written = WriteAll(file, zeroRow, sizeof(zeroRow));
    return FinishReplace(file, written, temp, path);
}

bool CreateBoardFile()
{
    for (int index = 1; index <= BOARD_PATH_COUNT; index++) {
        g_item.installFolderIndex = index;
        if (WriteNewBoardFile(BoardPath(index)))
            return true;
    }
    MessageBoxW(nullptr, L"Failed to create a file1.", nullptr, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool SaveBoard()
{
    BoardPixels pixels;
    if (!GetBoardPixels(g_item.boardBitmap, &pixels))
        return false;
    for (int index = 1; index <= BOARD_PATH_COUNT; index++) {
        if (WriteBoardFile(BoardPath(index), pixels.width, pixels.height, pixels.bits)) {
            g_item.installFolderIndex = index;
            return true;
        }
    }
    return false;
}

// Loads the first board file of the list that the pixel writers can use.
static void LoadFirstBoardFile()
{
    ItemState &s = g_item;
    for (int index = 1; index <= BOARD_PATH_COUNT; index++) {
        s.installFolderIndex = index;
        s.boardBitmap = SHLoadDIBitmap(BoardPath(index));
        BoardPixels pixels;
        if (s.boardBitmap && !GetBoardPixels(s.boardBitmap, &pixels)) {
            DeleteObject(s.boardBitmap);
            s.boardBitmap = nullptr;
        }
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
