// Long use in one process: hundreds of item windows created and destroyed,
// painted, commanded and drawn on, with a count of what the process holds
// before and after, so that any object a cycle forgets shows.
#include "test_support.h"
#include "item/item_commands.h"
#include "item/library.h"
#include <psapi.h>
#include <stdlib.h>

namespace {

// What the process holds. GDI objects are counted through Wine's handle
// table: a handle of index i with a zero upper word names whatever object
// occupies entry i, so GetObjectType on each index finds the live ones.
struct Usage {
    int gdiObjects = 0;
    ULONG kernelHandles = 0;
    int windows = 0;
    size_t heapBytes = 0;
};

struct ProcessInfo {
    ULONG NextEntryOffset;
    ULONG NumberOfThreads;
    LARGE_INTEGER Reserved[3];
    LARGE_INTEGER CreateTime, UserTime, KernelTime;
    struct { USHORT Length, MaximumLength; PWSTR Buffer; } ImageName;
    LONG BasePriority;
    HANDLE UniqueProcessId;
    HANDLE InheritedFromUniqueProcessId;
    ULONG HandleCount;
};

ULONG KernelHandleCount()
{
    typedef LONG(WINAPI * Query)(int, void *, ULONG, ULONG *);
    static Query query = (Query)GetProcAddress(GetModuleHandleW(L"ntdll"), "NtQuerySystemInformation");
    std::vector<BYTE> buffer(1 << 20);
    ULONG length = 0;
    if (!query || query(5 /* SystemProcessInformation */, buffer.data(), (ULONG)buffer.size(), &length) != 0)
        return 0;
    ProcessInfo *p = (ProcessInfo *)buffer.data();
    for (;;) {
        if ((DWORD)(ULONG_PTR)p->UniqueProcessId == GetCurrentProcessId())
            return p->HandleCount;
        if (!p->NextEntryOffset)
            return 0;
        p = (ProcessInfo *)((BYTE *)p + p->NextEntryOffset);
    }
}

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*(int *)count;
    return TRUE;
}

size_t HeapBytesInUse()
{
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    size_t total = 0;
    for (DWORD i = 0; i < count && i < 64; i++) {
        PROCESS_HEAP_ENTRY entry = {};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

Usage Measure()
{
    HWND today = TodayWindow();     // made on first use: made before counting
    Usage u;
    for (ULONG_PTR index = 1; index < 0x10000; index++)
        u.gdiObjects += GetObjectType((HGDIOBJ)index) != 0;
    u.kernelHandles = KernelHandleCount();
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, (LPARAM)&u.windows);
    EnumChildWindows(today, CountWindow, (LPARAM)&u.windows);
    u.heapBytes = HeapBytesInUse();
    return u;
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

class LongUseTest : public ItemTest {
protected:
    // One life of an item window: created, polled, painted in both modes,
    // commanded, drawn on, cleared, saved, destroyed.
    void Cycle(int n)
    {
        HWND w = CreateItem();
        ASSERT_TRUE(w);
        MoveWindow(w, 0, 0, 480, 300, TRUE);
        SendMessageW(w, WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&listItem, 0);
        UpdateWindow(w);
        SendMessageW(w, WM_COMMAND, IDM_ENTER_EDIT_MODE, 0);
        g_item.menuContext = MENU_CONTEXT_PEN_COLOR;
        SendMessageW(w, WM_COMMAND, n % 2 ? IDM_COLOR_BLUE : IDM_COLOR_RED, 0);
        g_item.itemHeight = 300;
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        for (int i = 0; i < 10; i++) {
            SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100 + 3 * i, 100 + i));
            UpdateWindow(w);
        }
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(130, 110));
        UpdateWindow(w);
        g_item.menuContext = MENU_CONTEXT_CLEAR_BOARD;
        SendMessageW(w, WM_COMMAND, IDM_COLOR_WHITE, 0);
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(ToolbarCell(CELL_SAVE).left + 2, 3));
        SendMessageW(w, WM_COMMAND, IDM_EXIT_EDIT_MODE, 0);
        InvalidateRect(w, nullptr, TRUE);
        UpdateWindow(w);
        Pump();
        DestroyWindow(w);
        item = nullptr;
    }
};

// INKLEAF_CYCLES overrides the number of window lives. 250 lives turn a
// leak of one handle per life into 250, and one of 300 heap bytes per life
// into more than the heap's allowance below.
const int kCycles = getenv("INKLEAF_CYCLES") ? atoi(getenv("INKLEAF_CYCLES")) : 250;

TEST_F(LongUseTest, HundredsOfWindowLivesLeaveNothingBehind)
{
    for (int n = 0; n < 20; n++)
        Cycle(n);
    Usage before = Measure();
    for (int n = 0; n < kCycles; n++) {
        Cycle(n);
        if (HasFatalFailure())
            return;
    }
    Usage after = Measure();
    printf("after %d cycles: GDI objects %d -> %d, kernel handles %lu -> %lu, "
           "windows %d -> %d, heap bytes %u -> %u\n",
           kCycles, before.gdiObjects, after.gdiObjects, before.kernelHandles, after.kernelHandles,
           before.windows, after.windows, (unsigned)before.heapBytes, (unsigned)after.heapBytes);
    EXPECT_EQ(before.gdiObjects, after.gdiObjects);
    EXPECT_EQ(before.kernelHandles, after.kernelHandles);
    EXPECT_EQ(before.windows, after.windows);
    // The heap may round and cache a little; a leak of even one page buffer
    // or one font per cycle would be far beyond this.
    EXPECT_LT(after.heapBytes, before.heapBytes + 64 * 1024);
}

TEST_F(LongUseTest, LibraryLoadsAndUnloadsLeaveNothingBehind)
{
    for (int n = 0; n < 5; n++)
        ReloadLibrary();
    Usage before = Measure();
    for (int n = 0; n < 500; n++)
        ReloadLibrary();
    Usage after = Measure();

    EXPECT_EQ(before.gdiObjects, after.gdiObjects);
    EXPECT_EQ(before.kernelHandles, after.kernelHandles);
    EXPECT_LT(after.heapBytes, before.heapBytes + 64 * 1024);
}

// The measure itself: leaks planted here, one per cycle, each show.
TEST_F(LongUseTest, TheMeasureCatchesPlantedLeaks)
{
    static void *volatile kept[50];
    (void)kept;
    Usage before = Measure();
    for (int n = 0; n < 50; n++) {
        CreateSolidBrush(RGB(n, 0, 0));                       // a GDI object
        CreateEventW(nullptr, FALSE, FALSE, nullptr);         // a kernel handle
        kept[n] = malloc(2000);                               // a page buffer
    }
    Usage after = Measure();
    EXPECT_EQ(before.gdiObjects + 50, after.gdiObjects);
    EXPECT_GE(after.kernelHandles, before.kernelHandles + 50);
    EXPECT_GE(after.heapBytes, before.heapBytes + 50 * 2000);
}

}  // namespace
