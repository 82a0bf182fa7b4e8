// Wall time by operation, for the device's cost table.
#include "operation_clock.h"
#include "armroom/meter.h"

#include <stdio.h>
#include <map>

namespace {

struct Clock {
    std::map<uint32_t, std::pair<std::string, double> > times;   // by mark
    WNDPROC itemProcedure = NULL;
    int depth = 0;              // calls of the item's procedure on the stack
    double entered = 0;         // when the outermost began
    double menuOpened = 0;      // when its popup menu's loop began, or 0
    double menuTime = 0;        // inside it, while the outermost call runs
};

Clock &TheClock()
{
    static Clock clock;
    return clock;
}

LRESULT CALLBACK ClockedItemProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Clock &c = TheClock();
    double now = ClockNow();
    if (c.depth++ == 0) {
        c.entered = now;
        c.menuTime = 0;
    }
    if (message == WM_ENTERMENULOOP)
        c.menuOpened = now;
    LRESULT result = CallWindowProcW(c.itemProcedure, window, message, wParam, lParam);
    now = ClockNow();
    if (message == WM_EXITMENULOOP && c.menuOpened) {
        c.menuTime += now - c.menuOpened;
        c.menuOpened = 0;
    }
    if (--c.depth == 0)
        ClockAdd(now - c.entered - c.menuTime);
    return result;
}

}  // namespace

bool ClockOn()
{
    static const bool on = !MeterFile().empty();
    return on;
}

double ClockNow()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

void ClockMark(const std::string &name)
{
    if (!ClockOn())
        return;
    MarkOperation(name);
    TheClock().times[CurrentOperation().first] = std::make_pair(name, 0.0);
}

void ClockItemWindow(HWND item)
{
    if (ClockOn() && !TheClock().itemProcedure)
        TheClock().itemProcedure =
            (WNDPROC)SetWindowLongPtrW(item, GWLP_WNDPROC, (LONG_PTR)ClockedItemProcedure);
}

void ClockAdd(double seconds)
{
    std::pair<uint32_t, std::string> now = CurrentOperation();
    std::pair<std::string, double> &time = TheClock().times[now.first];
    time.first = now.second;
    time.second += seconds;
}

void ClockUntilIdle(HWND window, double start)
{
    if (!ClockOn())
        return;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = id ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id) : NULL;
    if (process) {
        WaitForInputIdle(process, 5000);
        CloseHandle(process);
    }
    ClockAdd(ClockNow() - start);
}

void FinishClock()
{
    if (!ClockOn())
        return;
    std::string lines;
    for (const auto &time : TheClock().times) {
        char line[400];
        snprintf(line, sizeof line, "time\t%u\t%s\t%.6f\n", time.first, time.second.first.c_str(),
                 time.second.second);
        lines += line;
    }
    AppendToMeterFile(lines);
}
