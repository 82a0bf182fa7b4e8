#include "popup_menu.h"
#include <cwchar>

namespace {

struct MenuWindowSearch {
    HMENU wanted;       // NULL: any visible popup menu window of this process
    HWND found;
};

HMENU MenuOfWindow(HWND wnd)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(wnd, MN_GETHMENU, 0, 0, SMTO_NORMAL, 1000, &result)) return NULL;
    return (HMENU)result;
}

BOOL CALLBACK FindMenuWindowProc(HWND wnd, LPARAM lParam)
{
    MenuWindowSearch *search = (MenuWindowSearch *)lParam;
    wchar_t cls[16];
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(wnd)) return TRUE;
    if (!GetClassNameW(wnd, cls, 16) || wcscmp(cls, L"#32768") != 0) return TRUE;
    if (search->wanted && MenuOfWindow(wnd) != search->wanted) return TRUE;
    search->found = wnd;
    return FALSE;
}

bool Expired(DWORD deadline)
{
    return (LONG)(GetTickCount() - deadline) >= 0;
}

HWND WaitForMenuWindow(HMENU wanted, DWORD deadline)
{
    for (;;) {
        MenuWindowSearch search = { wanted, NULL };
        EnumWindows(FindMenuWindowProc, (LPARAM)&search);
        if (search.found) return search.found;
        if (Expired(deadline)) return NULL;
        Sleep(10);
    }
}

std::wstring MenuEntryText(HMENU menu, int pos)
{
    wchar_t buf[256];
    buf[0] = 0;
    GetMenuStringW(menu, pos, buf, 256, MF_BYPOSITION);
    return buf;
}

int HighlightedEntry(HMENU menu)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++)
        if (GetMenuState(menu, i, MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
}

void PostMenuKey(HWND wnd, UINT vk)
{
    PostMessageW(wnd, WM_KEYDOWN, vk, 1);
}

// Moves the menu's highlight onto entry pos with VK_DOWN, one step at a time,
// waiting for each step to show.
bool HighlightMenuEntry(HWND wnd, HMENU menu, int pos, DWORD deadline)
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
            if (Expired(deadline) || !IsWindow(wnd)) return false;
            Sleep(2);
        }
    }
}

}  // namespace

PopupMenuChoice::PopupMenuChoice(const std::vector<std::wstring> &path, DWORD milliseconds)
    : path_(path), milliseconds_(milliseconds)
{
    thread_ = CreateThread(NULL, 0, Run, this, 0, NULL);
    if (!thread_) {
        error_ = L"cannot start the menu thread";
        state_ = 2;
    }
}

PopupMenuChoice::~PopupMenuChoice()
{
    if (thread_) {
        WaitForSingleObject(thread_, milliseconds_ + 1000);
        CloseHandle(thread_);
    }
}

bool PopupMenuChoice::Wait()
{
    if (thread_)
        WaitForSingleObject(thread_, milliseconds_ + 1000);
    return Succeeded();
}

DWORD WINAPI PopupMenuChoice::Run(void *self)
{
    ((PopupMenuChoice *)self)->Choose();
    return 0;
}

// Closes whatever is still open, innermost level first.
void PopupMenuChoice::Fail(const std::wstring &error, const std::vector<HWND> &open)
{
    error_ = error;
    for (size_t i = open.size(); i-- > 0;) {
        if (IsWindow(open[i])) PostMenuKey(open[i], VK_ESCAPE);
        Sleep(20);
    }
    InterlockedExchange(&state_, 2);
}

void PopupMenuChoice::Choose()
{
    DWORD deadline = GetTickCount() + milliseconds_;
    std::vector<HWND> open;

    HWND wnd = WaitForMenuWindow(NULL, deadline);
    if (!wnd) {
        Fail(L"no popup menu appeared in time", open);
        return;
    }
    open.push_back(wnd);
    HMENU menu = MenuOfWindow(wnd);
    menu_ = menu;
    if (path_.empty()) {
        PostMenuKey(wnd, VK_ESCAPE);
        InterlockedExchange(&state_, 1);
        return;
    }
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
            return;
        }
        if (!HighlightMenuEntry(wnd, menu, pos, deadline)) {
            Fail(L"could not move the menu highlight to \"" + label + L"\"", open);
            return;
        }
        if (level + 1 < path_.size()) {
            HMENU sub = GetSubMenu(menu, pos);
            if (!sub) {
                Fail(L"menu entry \"" + label + L"\" has no submenu", open);
                return;
            }
            PostMenuKey(wnd, VK_RIGHT);
            HWND subWnd = WaitForMenuWindow(sub, deadline);
            if (!subWnd) {
                Fail(L"the submenu of \"" + label + L"\" did not open", open);
                return;
            }
            open.push_back(subWnd);
            wnd = subWnd;
            menu = sub;
        }
    }
    PostMenuKey(wnd, VK_RETURN);
    InterlockedExchange(&state_, 1);
}
