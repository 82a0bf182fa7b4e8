// cut_child.exe JOB CUT: does one job of the item and is cut at a chosen
// call that writes. JOB "save:GREY" saves a 640 x 640 Board of one grey as
// the item does; JOB "first-start" creates the item window under a parent
// of its own, as the Today screen does on a fresh device.
// Its own calls that write a file or the registry are counted: CreateFileW
// for writing, WriteFile, DeleteFileW, MoveFileW, SetFileAttributesW and
// RegSetValueExW. CUT "after:N" ends the process right after the N-th
// returns; "within:N" ends it halfway through the N-th large WriteFile
// (half of its bytes written); "log:PATH" lets the job run to its end and
// writes one line a counted call to PATH: the call and the file or value
// it wrote (for WriteFile the handle and the byte count). The process ends
// itself: exit 9 when cut, 0 when the job ran to its end, 1 when it failed.
#include "item/board_file.h"
#include "item/item_window.h"
#include "item/library.h"
#include "platform/import_slot.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {

int g_cutAfter = 0, g_cutWithin = 0, g_calls = 0, g_largeWrites = 0;
FILE *g_log = nullptr;

[[noreturn]] void EndHere()
{
    TerminateProcess(GetCurrentProcess(), 9);
    for (;;)
        Sleep(INFINITE);
}

// One counted call: `what` names the file or value it wrote.
void Counted(const char *call, LPCWSTR what, HANDLE file = nullptr, DWORD bytes = 0)
{
    if (g_log && file)
        fprintf(g_log, "%s %p %lu\n", call, (void *)file, (unsigned long)bytes);
    else if (g_log)
        fprintf(g_log, "%s %ls\n", call, what ? what : L"");
    if (++g_calls == g_cutAfter)
        EndHere();
}

typedef HANDLE(WINAPI *CreateFileFn)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
typedef BOOL(WINAPI *WriteFileFn)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
typedef BOOL(WINAPI *PathFn)(LPCWSTR);
typedef BOOL(WINAPI *MoveFn)(LPCWSTR, LPCWSTR);
typedef BOOL(WINAPI *AttributesFn)(LPCWSTR, DWORD);
typedef LONG(WINAPI *SetValueFn)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE *, DWORD);

extern "C" CreateFileFn createFileSlot __asm__(IMPORT_SLOT(CreateFileW, 28));
extern "C" WriteFileFn writeFileSlot __asm__(IMPORT_SLOT(WriteFile, 20));
extern "C" PathFn deleteFileSlot __asm__(IMPORT_SLOT(DeleteFileW, 4));
extern "C" MoveFn moveFileSlot __asm__(IMPORT_SLOT(MoveFileW, 8));
extern "C" AttributesFn setAttributesSlot __asm__(IMPORT_SLOT(SetFileAttributesW, 8));
extern "C" SetValueFn setValueSlot __asm__(IMPORT_SLOT(RegSetValueExW, 24));

CreateFileFn realCreateFile;
WriteFileFn realWriteFile;
PathFn realDeleteFile;
MoveFn realMoveFile;
AttributesFn realSetAttributes;
SetValueFn realSetValue;

HANDLE WINAPI CountedCreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE model)
{
    HANDLE file = realCreateFile(path, access, share, security, disposition, flags, model);
    if (access & GENERIC_WRITE)
        Counted("CreateFileW", path);
    return file;
}

BOOL WINAPI CountedWriteFile(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (bytes >= 4096 && ++g_largeWrites == g_cutWithin) {
        realWriteFile(file, data, bytes / 2, written, overlapped);
        EndHere();
    }
    BOOL ok = realWriteFile(file, data, bytes, written, overlapped);
    Counted("WriteFile", nullptr, file, bytes);
    return ok;
}

BOOL WINAPI CountedDeleteFile(LPCWSTR path)
{
    BOOL ok = realDeleteFile(path);
    Counted("DeleteFileW", path);
    return ok;
}

BOOL WINAPI CountedMoveFile(LPCWSTR from, LPCWSTR to)
{
    BOOL ok = realMoveFile(from, to);
    Counted("MoveFileW", to);
    return ok;
}

BOOL WINAPI CountedSetAttributes(LPCWSTR path, DWORD attributes)
{
    BOOL ok = realSetAttributes(path, attributes);
    Counted("SetFileAttributesW", path);
    return ok;
}

LONG WINAPI CountedSetValue(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE *data, DWORD bytes)
{
    LONG result = realSetValue(key, name, reserved, type, data, bytes);
    Counted("RegSetValueExW", name);
    return result;
}

template <typename Fn> void Replace(Fn *slot, Fn *real, Fn counted)
{
    DWORD old;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old);
    *real = *slot;
    *slot = counted;
    VirtualProtect(slot, sizeof(*slot), old, &old);
}

bool SaveGreyBoard(int grey)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 640;
    info.bmiHeader.biHeight = 640;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void *bits = nullptr;
    g_item.boardBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!g_item.boardBitmap)
        return false;
    memset(bits, grey, 640 * 640 * 3);
    GdiFlush();
    return SaveBoard();
}

// The item's first start under a plain parent window.
bool FirstStart()
{
    if (!LibraryAttach(GetModuleHandleW(nullptr)))
        return false;
    g_item.ownFolder[0] = 0;    // the item lies in the program folder, as installed
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CutChildToday";
    RegisterClassW(&wc);
    HWND parent = CreateWindowExW(0, wc.lpszClassName, L"Today", WS_POPUP, 0, 0, 480, 640, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    TODAYLISTITEM listItem = {};
    HWND item = InitializeCustomItem(&listItem, parent);
    if (item)
        DestroyWindow(item);
    DestroyWindow(parent);
    LibraryDetach();
    return item != nullptr;
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3)
        return 2;
    if (wcsncmp(argv[2], L"after:", 6) == 0)
        g_cutAfter = _wtoi(argv[2] + 6);
    else if (wcsncmp(argv[2], L"within:", 7) == 0)
        g_cutWithin = _wtoi(argv[2] + 7);
    else if (wcsncmp(argv[2], L"log:", 4) == 0 && !(g_log = _wfopen(argv[2] + 4, L"w")))
        return 2;
    SetCurrentDirectoryW(L"T:\\");

    Replace(&createFileSlot, &realCreateFile, CountedCreateFile);
    Replace(&writeFileSlot, &realWriteFile, CountedWriteFile);
    Replace(&deleteFileSlot, &realDeleteFile, CountedDeleteFile);
    Replace(&moveFileSlot, &realMoveFile, CountedMoveFile);
    Replace(&setAttributesSlot, &realSetAttributes, CountedSetAttributes);
    Replace(&setValueSlot, &realSetValue, CountedSetValue);
    bool done = false;
    if (wcsncmp(argv[1], L"save:", 5) == 0)
        done = SaveGreyBoard(_wtoi(argv[1] + 5));
    else if (wcscmp(argv[1], L"first-start") == 0)
        done = FirstStart();
    if (g_log)
        fclose(g_log);
    return done ? 0 : 1;
}
