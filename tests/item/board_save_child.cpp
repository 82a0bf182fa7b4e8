// board_save_child.exe GREY CUT: saves a 640 x 640 Board of one grey as
// the item does and is cut while it saves. Its own calls of the file
// functions the save makes are counted; CUT "after:N" stops the process
// right after the N-th returns, CUT "within:N" stops it halfway through
// the N-th large WriteFile (half of its bytes written). Stopping means:
// the event "inkleaf_board_save_cut" is set and the process waits for the
// parent to end it with TerminateProcess. Exit 0 when the save ran to its
// end without meeting the cut point (1 if it failed).
#include "item/board_file.h"
#include "item/board_primitives.h"
#include "platform/import_slot.h"
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {

int g_cutAfter = 0, g_cutWithin = 0, g_calls = 0, g_largeWrites = 0;

[[noreturn]] void StopHere()
{
    HANDLE cut = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"inkleaf_board_save_cut");
    SetEvent(cut);
    for (;;)
        Sleep(INFINITE);
}

void Counted()
{
    if (++g_calls == g_cutAfter)
        StopHere();
}

typedef HANDLE(WINAPI *CreateFileFn)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
typedef BOOL(WINAPI *WriteFileFn)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
typedef BOOL(WINAPI *HandleFn)(HANDLE);
typedef BOOL(WINAPI *PathFn)(LPCWSTR);
typedef BOOL(WINAPI *MoveFn)(LPCWSTR, LPCWSTR);

extern "C" CreateFileFn createFileSlot __asm__(IMPORT_SLOT(CreateFileW, 28));
extern "C" WriteFileFn writeFileSlot __asm__(IMPORT_SLOT(WriteFile, 20));
extern "C" HandleFn closeHandleSlot __asm__(IMPORT_SLOT(CloseHandle, 4));
extern "C" PathFn deleteFileSlot __asm__(IMPORT_SLOT(DeleteFileW, 4));
extern "C" MoveFn moveFileSlot __asm__(IMPORT_SLOT(MoveFileW, 8));

CreateFileFn realCreateFile;
WriteFileFn realWriteFile;
HandleFn realCloseHandle;
PathFn realDeleteFile;
MoveFn realMoveFile;

HANDLE WINAPI CountedCreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE model)
{
    HANDLE file = realCreateFile(path, access, share, security, disposition, flags, model);
    Counted();
    return file;
}

BOOL WINAPI CountedWriteFile(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (bytes >= 4096 && ++g_largeWrites == g_cutWithin) {
        realWriteFile(file, data, bytes / 2, written, overlapped);
        StopHere();
    }
    BOOL ok = realWriteFile(file, data, bytes, written, overlapped);
    Counted();
    return ok;
}

BOOL WINAPI CountedCloseHandle(HANDLE handle)
{
    BOOL ok = realCloseHandle(handle);
    Counted();
    return ok;
}

BOOL WINAPI CountedDeleteFile(LPCWSTR path)
{
    BOOL ok = realDeleteFile(path);
    Counted();
    return ok;
}

BOOL WINAPI CountedMoveFile(LPCWSTR from, LPCWSTR to)
{
    BOOL ok = realMoveFile(from, to);
    Counted();
    return ok;
}

template <typename Fn> void Replace(Fn *slot, Fn *real, Fn counted)
{
    DWORD old;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old);
    *real = *slot;
    *slot = counted;
    VirtualProtect(slot, sizeof(*slot), old, &old);
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3)
        return 2;
    int grey = _wtoi(argv[1]);
    if (wcsncmp(argv[2], L"after:", 6) == 0)
        g_cutAfter = _wtoi(argv[2] + 6);
    else if (wcsncmp(argv[2], L"within:", 7) == 0)
        g_cutWithin = _wtoi(argv[2] + 7);
    SetCurrentDirectoryW(L"T:\\");

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 640;
    info.bmiHeader.biHeight = 640;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void *bits = nullptr;
    g_item.boardBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!g_item.boardBitmap)
        return 2;
    memset(bits, grey, 640 * 640 * 3);
    GdiFlush();

    Replace(&createFileSlot, &realCreateFile, CountedCreateFile);
    Replace(&writeFileSlot, &realWriteFile, CountedWriteFile);
    Replace(&closeHandleSlot, &realCloseHandle, CountedCloseHandle);
    Replace(&deleteFileSlot, &realDeleteFile, CountedDeleteFile);
    Replace(&moveFileSlot, &realMoveFile, CountedMoveFile);
    return SaveBoard() ? 0 : 1;
}
