// Choosing from a popup menu of this process as a user does, with keys: a
// thread of its own waits for the menu window to show (the thread that
// opened it sits in the modal TrackPopupMenuEx meanwhile), moves the
// highlight down to each entry of a path of labels in turn, into their
// submenus, and presses Enter. The Today stand-in's "menu" lines and the
// item tests use it.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class PopupMenuChoice {
public:
    // Starts the thread. An empty path closes the next menu without a
    // choice. Everything must be done within `milliseconds`.
    explicit PopupMenuChoice(const std::vector<std::wstring> &path, DWORD milliseconds = 5000);
    ~PopupMenuChoice();                  // waits for the thread
    PopupMenuChoice(const PopupMenuChoice &) = delete;
    PopupMenuChoice &operator=(const PopupMenuChoice &) = delete;

    bool Done() const { return state_ != 0; }
    // Waits until done; true when the entry was chosen (or, for an empty
    // path, the menu closed).
    bool Wait();
    bool Succeeded() const { return state_ == 1; }
    const std::wstring &Error() const { return error_; }   // why it failed
    HMENU Menu() const { return menu_; }                    // the first menu seen

private:
    static DWORD WINAPI Run(void *self);
    void Choose();
    void Fail(const std::wstring &error, const std::vector<HWND> &open);
    std::vector<std::wstring> path_;
    DWORD milliseconds_;
    HANDLE thread_ = nullptr;
    volatile LONG state_ = 0;            // 0 running, 1 done, 2 failed
    std::wstring error_;
    HMENU menu_ = nullptr;
};
