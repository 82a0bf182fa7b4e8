// Drives the real inkpad_app.exe as a person would: starts it in the
// prefix, finds its windows, taps, presses keys and answers its dialogs.
#pragma once
#include <windows.h>
#include <string>

class EditorProcess {
public:
    EditorProcess() = default;
    EditorProcess(const EditorProcess &) = delete;
    EditorProcess &operator=(const EditorProcess &) = delete;
    ~EditorProcess();                   // ends the program when still running

    // Starts the program with `arguments` as its command line after the
    // program name (nothing at all when empty) and waits until it is idle.
    bool Start(const std::wstring &arguments);
    // The main window (class "INKPAD_APP", title "inkpad_app") of this process.
    HWND WaitForMainWindow();
    // The exit code, or STILL_ACTIVE when it runs on after `milliseconds`.
    DWORD WaitForExit(DWORD milliseconds = 5000);
    bool Running() const;
    DWORD Id() const { return info_.dwProcessId; }
    void Terminate();

private:
    PROCESS_INFORMATION info_ = {};
};

// Stylus and keyboard input through the system's input queue.
void TapScreen(POINT screen);
void TapWindow(HWND window);                        // at the centre
void TapClient(HWND window, int x, int y);
void PressWithControl(WORD virtualKey);
void TypeText(const std::wstring &text);

// The visible dialog (class "#32770") with `caption` owned by `owner`.
HWND WaitForDialog(HWND owner, LPCWSTR caption, DWORD milliseconds = 5000);
// Presses a dialog button the way the button itself reports a click, and
// waits until the dialog has gone when `closes`.
bool PressDialogButton(HWND dialog, int id, bool closes = true);
// Text of a control of another process (WM_GETTEXT).
std::wstring ControlText(HWND control);
void SetControlText(HWND control, const std::wstring &text);
// Chooses the `position`-th entry (1 = first) of the open popup menu.
bool ChooseFromOpenMenu(int position, DWORD milliseconds = 5000);
