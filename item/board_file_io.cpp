#include "board_file_io.h"
#include "board_pixels.h"
#include <string.h>

bool FileExists(LPCWSTR path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

void ClearReadOnly(LPCWSTR path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

BoardFileProbe ProbeBoardFile(LPCWSTR path)
{
    BoardFileProbe probe;
    memset(&probe, 0, sizeof(probe));
    probe.state = BOARD_PATH_BUSY;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        // Only a file that is there can be busy; a folder in its place
        // holds no Board either.
        DWORD attributes = GetFileAttributesW(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            probe.state = BOARD_PATH_FREE;
        return probe;
    }
    // Only the headers are read: with the file's size they tell whether
    // every pixel byte is there.
    unsigned char head[BOARD_HEADERS_BYTES];
    memset(head, 0, sizeof(head));
    DWORD want = 0, read = 0;
    probe.bytes = GetFileSize(file, NULL);
    if (probe.bytes != INVALID_FILE_SIZE) {
        want = probe.bytes < sizeof(head) ? probe.bytes : (DWORD)sizeof(head);
        if (want == 0 || (ReadFile(file, head, want, &read, NULL) && read == want)) {
            probe.state = BOARD_PATH_HOLDS;
            probe.head = JudgeBoardFile(head, probe.bytes);
        }
    }
    CloseHandle(file);
    return probe;
}

bool IsUnloadable(const BoardFileProbe &probe)
{
    return probe.state == BOARD_PATH_HOLDS && probe.head.kind == BOARD_FILE_NOT_A_BOARD;
}

HANDLE OpenBoardFileForWriting(LPCWSTR path, DWORD disposition)
{
    return CreateFileW(path, GENERIC_WRITE, 0, NULL, disposition, FILE_ATTRIBUTE_NORMAL, NULL);
}

static bool WriteAll(HANDLE file, const void *data, DWORD bytes)
{
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written, NULL) && written == bytes;
}

// Writes a whole board file from the current position of `file`. Every
// write is checked. A new Board is at most BOARD_NEW_WIDTH wide.
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

// Opens `path` with `disposition` and writes a whole board file from its
// first byte.
static BoardWriteResult WriteBoardFileAs(LPCWSTR path, DWORD disposition, int width, int height,
                                         const BYTE *pixels)
{
    HANDLE file = OpenBoardFileForWriting(path, disposition);
    if (file == INVALID_HANDLE_VALUE)
        return BOARD_NOT_OPENED;
    bool written = WriteBoardContents(file, width, height, pixels);
    return CloseHandle(file) && written ? BOARD_WRITTEN : BOARD_NOT_WRITTEN;
}

BoardWriteResult WriteWholeBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels)
{
    BoardWriteResult result = WriteBoardFileAs(path, CREATE_ALWAYS, width, height, pixels);
    if (result == BOARD_NOT_WRITTEN)
        DeleteFileW(path);
    return result;
}

bool RewriteInPlace(LPCWSTR path, int width, int height, const BYTE *pixels)
{
    return WriteBoardFileAs(path, OPEN_EXISTING, width, height, pixels) == BOARD_WRITTEN;
}
