// The popup-menu driver: finds the popup menu window (class "#32768"), moves
// its highlight entry by entry with VK_DOWN, opens submenus with VK_RIGHT and
// chooses with VK_RETURN, all posted from its own thread.
#include "popup_menu_driver.h"

#ifndef MN_GETHMENU
#define MN_GETHMENU 0x01E1
#endif

struct MenuWindowSearch {
    bool anyProcess;
    HMENU wanted;       // NULL: any visible popup menu window
    HWND found;
};

static HMENU MenuOfWindow(HWND wnd)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(wnd, MN_GETHMENU, 0, 0, SMTO_NORMAL, 1000, &result)) return NULL;
    return (HMENU)result;
}

static BOOL CALLBACK FindMenuWindowProc(HWND wnd, LPARAM lParam)
{
    MenuWindowSearch *search = (MenuWindowSearch *)lParam;
    wchar_t cls[16];
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if ((!search->anyProcess && pid != GetCurrentProcessId()) || !IsWindowVisible(wnd)) return TRUE;
    if (!GetClassNameW(wnd, cls, 16) || wcscmp(cls, L"#32768") != 0) return TRUE;
    if (search->wanted && MenuOfWindow(wnd) != search->wanted) return TRUE;
    search->found = wnd;
    return FALSE;
}

static HWND WaitForMenuWindow(bool anyProcess, HMENU wanted, DWORD deadline)
{
    for (;;) {
        MenuWindowSearch search = { anyProcess, wanted, NULL };
        EnumWindows(FindMenuWindowProc, (LPARAM)&search);
        if (search.found) return search.found;
        if ((LONG)(GetTickCount() - deadline) >= 0) return NULL;
        Sleep(10);
    }
}

static std::wstring MenuEntryText(HMENU menu, int pos)
{
    wchar_t buf[256];
    buf[0] = 0;
    GetMenuStringW(menu, pos, buf, 256, MF_BYPOSITION);
    return buf;
}

static int HighlightedEntry(HMENU menu)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++)
        if (GetMenuState(menu, i, MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
}

static void PostMenuKey(HWND wnd, UINT vk)
{
    PostMessageW(wnd, WM_KEYDOWN, vk, 1);
}

// Moves the menu's highlight onto entry pos with VK_DOWN, one step at a time,
// waiting for each step to show.
static bool HighlightMenuEntry(HWND wnd, HMENU menu, int pos, DWORD deadline)
{
    int steps = GetMenuItemCount(menu) * 2 + 2;
    for (;;) {
        int current = HighlightedEntry(menu);
        if (current == pos) return true;
        if (steps-- <= 0) return false;
        PostMenuKey(wnd, VK_DOWN);
        // Between the old highlight going and the new one coming, no entry is
        // highlighted: that is not yet the step's end.
        int now;
        while ((now = HighlightedEntry(menu)) == current || now < 0) {
            if ((LONG)(GetTickCount() - deadline) >= 0 || !IsWindow(wnd)) return false;
            Sleep(2);
        }
    }
}

PopupMenuDriver::PopupMenuDriver(const std::vector<std::wstring> &path, DWORD timeoutMs)
    : path_(path), timeoutMs_(timeoutMs)
{
    Start();
}

PopupMenuDriver::PopupMenuDriver(MenuPosition position, DWORD timeoutMs)
    : position_(position.number), timeoutMs_(timeoutMs)
{
    Start();
}

void PopupMenuDriver::Start()
{
    deadline_ = GetTickCount() + timeoutMs_;
    thread_ = CreateThread(NULL, 0, Run, this, 0, NULL);
    if (!thread_) {
        error_ = L"cannot start the menu thread";
        state_ = kFailed;
    }
}

PopupMenuDriver::~PopupMenuDriver()
{
    Wait();
    if (thread_) CloseHandle(thread_);
}

bool PopupMenuDriver::Wait()
{
    if (thread_) WaitForSingleObject(thread_, timeoutMs_ + 5000);
    return state_ == kChosen;
}

void PopupMenuDriver::Fail(const std::wstring &error, const std::vector<HWND> &open)
{
    error_ = error;
    // close whatever is still open, innermost level first
    for (size_t i = open.size(); i-- > 0;) {
        if (IsWindow(open[i])) PostMenuKey(open[i], VK_ESCAPE);
        Sleep(20);
    }
    InterlockedExchange(&state_, kFailed);
}

DWORD WINAPI PopupMenuDriver::Run(LPVOID param)
{
    PopupMenuDriver *self = (PopupMenuDriver *)param;
    HWND wnd = WaitForMenuWindow(self->position_ > 0, NULL, self->deadline_);
    if (!wnd) {
        wchar_t error[64];
        swprintf(error, 64, L"no popup menu appeared within %lu s", (unsigned long)(self->timeoutMs_ / 1000));
        self->Fail(error, std::vector<HWND>());
        return 0;
    }
    self->menu_ = MenuOfWindow(wnd);
    if (self->position_ > 0)
        self->ChooseByPosition(wnd);
    else if (self->ChooseByLabels(wnd))
        InterlockedExchange(&self->state_, kChosen);
    return 0;
}

// The entries of another process's menu cannot be read here: the keys go
// out without looking.
void PopupMenuDriver::ChooseByPosition(HWND wnd)
{
    for (int i = 0; i < position_; i++)
        PostMenuKey(wnd, VK_DOWN);
    PostMenuKey(wnd, VK_RETURN);
    InterlockedExchange(&state_, kChosen);
}

bool PopupMenuDriver::ChooseByLabels(HWND wnd)
{
    std::vector<HWND> open(1, wnd);
    if (path_.empty()) {
        PostMenuKey(wnd, VK_ESCAPE);
        return true;
    }
    HMENU menu = menu_;
    for (size_t level = 0; level < path_.size(); level++) {
        const std::wstring &label = path_[level];
        int count = menu ? GetMenuItemCount(menu) : -1;
        int pos = -1;
        std::wstring entries;
        for (int i = 0; i < count; i++) {
            std::wstring text = MenuEntryText(menu, i);
            if (text == label && pos < 0) pos = i;
            if (!text.empty()) entries += (entries.empty() ? L"\"" : L", \"") + text + L"\"";
        }
        if (pos < 0) {
            Fail(L"menu entry \"" + label + L"\" not found; the menu has " +
                 (entries.empty() ? std::wstring(L"no entries") : entries), open);
            return false;
        }
        if (!HighlightMenuEntry(wnd, menu, pos, deadline_)) {
            Fail(L"could not move the menu highlight to \"" + label + L"\"", open);
            return false;
        }
        if (level + 1 < path_.size()) {
            HMENU sub = GetSubMenu(menu, pos);
            if (!sub) {
                Fail(L"menu entry \"" + label + L"\" has no submenu", open);
                return false;
            }
            PostMenuKey(wnd, VK_RIGHT);
            HWND subWnd = WaitForMenuWindow(false, sub, deadline_);
            if (!subWnd) {
                Fail(L"the submenu of \"" + label + L"\" did not open", open);
                return false;
            }
            open.push_back(subWnd);
            wnd = subWnd;
            menu = sub;
        }
    }
    PostMenuKey(wnd, VK_RETURN);
    return true;
}
