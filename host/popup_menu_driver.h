// The popup-menu driver: chooses from the next popup menu that opens, from a
// thread of its own, with the keys a person would press, while the thread
// that opened the menu sits in the menu's modal loop. The Today stand-in's
// "menu" lines and the tests that open the item's or the editor's popups use
// it.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include <initializer_list>

// The position of an entry in a menu, 1 = first.
struct MenuPosition {
    int number;
};

class PopupMenuDriver {
public:
    // Chooses `path` (one entry label per menu level, as GetMenuStringW gives
    // it, "&" included) from the next popup menu of this process; an empty
    // path closes the menu without a choice.
    explicit PopupMenuDriver(const std::vector<std::wstring> &path, DWORD timeoutMs = 5000);
    explicit PopupMenuDriver(std::initializer_list<std::wstring> path, DWORD timeoutMs = 5000)
        : PopupMenuDriver(std::vector<std::wstring>(path), timeoutMs) {}
    // Chooses the entry at `position` of the next popup menu of any process,
    // one whose entries this process cannot read.
    explicit PopupMenuDriver(MenuPosition position, DWORD timeoutMs = 5000);
    PopupMenuDriver(const PopupMenuDriver &) = delete;
    PopupMenuDriver &operator=(const PopupMenuDriver &) = delete;
    ~PopupMenuDriver();                 // waits for the thread

    bool Running() const { return state_ == kRunning; }
    // Waits for the thread; true when the choice was made (or the menu closed
    // as asked).
    bool Wait();
    // Why it failed, for a report.
    const std::wstring &Error() const { return error_; }
    // The top-level menu that opened (NULL when none was seen).
    HMENU Menu() const { return menu_; }

private:
    enum { kRunning = 0, kChosen = 1, kFailed = 2 };
    void Start();
    static DWORD WINAPI Run(LPVOID self);
    bool ChooseByLabels(HWND window);
    void ChooseByPosition(HWND window);
    void Fail(const std::wstring &error, const std::vector<HWND> &open);

    std::vector<std::wstring> path_;
    int position_ = 0;
    DWORD timeoutMs_;
    DWORD deadline_ = 0;
    HANDLE thread_ = nullptr;
    HMENU menu_ = nullptr;
    volatile LONG state_ = kRunning;
    std::wstring error_;
};
