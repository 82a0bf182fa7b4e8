// today_host.exe: a desktop stand-in for the Pocket PC Today screen, used to
// load, drive and photograph the Inkleaf Today item under Wine.
//
//   today_host.exe install DLLPATH   register the item under the Today item key
//   today_host.exe dump-key OUTFILE  write every value of that key as text
//   today_host.exe run [options]     be the Today screen and host the item
//
// Options of "run":
//   --seconds S        exit after S seconds (default 10 unless --script or
//                      --interactive is given alone)
//   --poll-ms N        interval of the refresh query (default 2000)
//   --text-color R,G,B theme text colour (default 0,0,128)
//   --header N         height of the "Today" title strip above the item
//                      (default 20; the item window sits at x 0, y N)
//   --screenshot FILE  write the screen as PNG just before exiting
//   --script FILE      play stylus, menu and screenshot commands
//   --interactive      run until the window is closed (Esc closes it)
//
// Exit codes of "run": 0 done, 1 bad command line, 2 the item library or its
// ordinal 240 could not be loaded, 3 the item returned no window, 4 a script
// line failed.
//
// Script lines (coordinates are Today-screen pixels; '#' starts a comment line):
//   down X Y | move X Y | up X Y | tap X Y   stylus messages to the item window
//   wait MS                                  let the message loop run MS ms
//   shot FILE.png                            screenshot now
//   menu LABEL[>SUBLABEL...]                 choose an entry of the popup menu
//                                            that the previous stylus line opened
//   key VK                                   WM_KEYDOWN/WM_KEYUP to the item
//
// Other programs the item starts (its page editor) are reached by the title
// of one of their top-level windows, which becomes the target of the lines
// after it:
//   window TITLE                             wait (up to 10 s) for that window
//   wtap X Y                                 a tap at its client point (X, Y)
//   wtext ID TEXT                            set the text of its control ID
//                                            ("\n" in TEXT is a line break)
//   wcommand ID                              WM_COMMAND ID, as a button sends
//   gone                                     wait (up to 10 s) until it is closed
//
// The Today background (also drawn behind the item on TODAYM_DRAWWATERMARK)
// is diagonal bands in Today-window pixels, which are screen pixels: colour
// RGB(226,236,250) where (x + y) / 16 is even, RGB(250,242,220) where it is
// odd. The title strip is RGB(40,80,150) with white text.
//
// Without --interactive, real mouse input is dropped: only the script's
// messages reach the item and its popup menus.
//
// Paths starting with '/' are taken as Unix paths and mapped through Wine;
// relative paths are relative to the directory the host was started in (the
// host itself moves to C:\ because the item opens root-relative paths).

#include <windows.h>
#include <wincodec.h>

#include "popup_menu.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>
#include <algorithm>

#include "platform/today.h"

#ifndef MN_GETHMENU
#define MN_GETHMENU 0x01E1
#endif

static const wchar_t kItemKeyPath[] = L"Software\\Microsoft\\Today\\Items\\inkleaf_item";
static const wchar_t kItemName[] = L"inkleaf_item";
static const wchar_t kTodayClass[] = L"DesktopExplorerWindow";
static const wchar_t kShellReadyEvent[] = L"SYSTEM/ShellAPIReady";

enum {
    IDT_POLL = 1,       // refresh query to the item
    IDT_QUIT = 2,       // end of --seconds
    IDT_SCRIPT = 3,     // next script step
    IDT_STEP_GUARD = 4  // a stylus step that stays inside the item too long
};

enum {
    EXIT_OK = 0,
    EXIT_USAGE = 1,
    EXIT_NO_ITEM_DLL = 2,
    EXIT_NO_ITEM_WINDOW = 3,
    EXIT_SCRIPT_FAILED = 4
};

// Watermark: diagonal bands of two pale colours, a pure function of the
// Today-window pixel, so any part of it can be drawn anywhere and still line
// up with the rest.
static const COLORREF kBandColorA = RGB(226, 236, 250);
static const COLORREF kBandColorB = RGB(250, 242, 220);
static const int kBandWidth = 16;
static const COLORREF kTitleBackColor = RGB(40, 80, 150);
static const COLORREF kTitleTextColor = RGB(255, 255, 255);
static const COLORREF kHighlightColor = RGB(49, 106, 197);
static const COLORREF kHighlightedTextColor = RGB(255, 255, 255);

static const DWORD kMenuTimeoutMs = 5000;
static const DWORD kStepGuardMs = 5000;

// ---------------------------------------------------------------------------
// Script

enum ScriptCommand { CmdDown, CmdMove, CmdUp, CmdTap, CmdWait, CmdShot, CmdMenu, CmdKey,
                     CmdWindow, CmdWindowTap, CmdWindowText, CmdWindowCommand, CmdGone };

struct ScriptLine {
    int lineNo;
    ScriptCommand cmd;
    int x, y;                               // down, move, up, tap
    DWORD ms;                               // wait
    std::wstring path;                      // shot (resolved)
    std::vector<std::wstring> menuPath;     // menu
    UINT vk;                                // key
    std::wstring text;                      // window title, control text
    int id;                                 // wtext, wcommand
};

// ---------------------------------------------------------------------------
// The host's one state record

struct HostState {
    HINSTANCE instance;
    std::wstring startDir;                  // directory we were started in

    // options
    DWORD pollMs;
    DWORD secondsMs;
    bool secondsGiven;
    bool interactive;
    int headerHeight;
    COLORREF textColor;
    std::wstring screenshotPath;
    std::wstring scriptPath;

    // Today screen
    HWND today;
    int screenW, screenH;
    HANDLE shellReady;

    // the item
    HMODULE itemDll;
    HWND item;
    TODAYLISTITEM itemInfo;

    // script player
    std::vector<ScriptLine> script;
    size_t scriptPos;
    bool scriptActive;
    bool timeUp;
    bool inStep;                            // inside a script step (possibly in a modal menu)
    int itemCalls;                          // calls into the item still on the stack
    bool stepGuardFired;                    // a popup nobody chooses from was closed
    bool closeRequested;
    bool stylusDown;
    PopupMenuChoice *menuJob;               // the choice for the next "menu" line
    HWND target;                            // another program's window
    bool waiting;                           // a window/gone line is waiting
    DWORD waitStart;                        // since then

    HHOOK mouseBlock;                       // drops real mouse input unless --interactive

    bool finishing;
    int exitCode;
};

static HostState g;

// ---------------------------------------------------------------------------
// Small helpers

static std::string ToUtf8(const std::wstring &w)
{
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), NULL, 0, NULL, NULL);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &s[0], n, NULL, NULL);
    return s;
}

static std::wstring FromUtf8(const std::string &s)
{
    if (s.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), NULL, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), &w[0], n);
    return w;
}

static void ErrorOut(const wchar_t *fmt, ...)
{
    wchar_t buf[2048];
    va_list ap;
    va_start(ap, fmt);
    _vsnwprintf(buf, 2047, fmt, ap);
    va_end(ap);
    buf[2047] = 0;
    std::string s = ToUtf8(std::wstring(L"today_host: ") + buf + L"\n");
    fputs(s.c_str(), stderr);
    fflush(stderr);
}

static std::wstring Trim(const std::wstring &s)
{
    size_t b = 0, e = s.size();
    while (b < e && iswspace(s[b])) b++;
    while (e > b && iswspace(s[e - 1])) e--;
    return s.substr(b, e - b);
}

static bool ParseInt(const std::wstring &s, long *out)
{
    if (s.empty()) return false;
    wchar_t *end = NULL;
    long v = wcstol(s.c_str(), &end, 0);
    if (*end) return false;
    *out = v;
    return true;
}

typedef LPWSTR (CDECL *PFNWINEGETDOSFILENAME)(LPCSTR);

// A path as the host's Windows calls need it: Unix paths go through Wine's
// own mapping, relative paths are taken relative to the start directory.
static std::wstring ResolvePath(const std::wstring &path)
{
    if (!path.empty() && path[0] == L'/') {
        PFNWINEGETDOSFILENAME toDos = (PFNWINEGETDOSFILENAME)(void *)GetProcAddress(
            GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
        if (toDos) {
            LPWSTR dos = toDos(ToUtf8(path).c_str());
            if (dos) {
                std::wstring r = dos;
                HeapFree(GetProcessHeap(), 0, dos);
                return r;
            }
        }
        return path;
    }
    bool absolute = (path.size() >= 2 && path[1] == L':') ||
                    (!path.empty() && path[0] == L'\\');
    if (absolute || g.startDir.empty()) return path;
    std::wstring dir = g.startDir;
    if (dir[dir.size() - 1] != L'\\') dir += L'\\';
    return dir + path;
}

// ---------------------------------------------------------------------------
// install and dump-key

static bool SetStringValue(HKEY key, const wchar_t *name, const std::wstring &text)
{
    return RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)text.c_str(),
                          (DWORD)((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

static bool SetDwordValue(HKEY key, const wchar_t *name, DWORD value)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE *)&value,
                          sizeof(value)) == ERROR_SUCCESS;
}

static int InstallItem(const std::wstring &dllPath)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kItemKeyPath, 0, NULL, 0, KEY_SET_VALUE,
                        NULL, &key, NULL) != ERROR_SUCCESS) {
        ErrorOut(L"cannot create HKLM\\%ls", kItemKeyPath);
        return 1;
    }
    bool ok = SetStringValue(key, L"DLL", dllPath) &&
              SetDwordValue(key, L"Type", tlitCustom) &&
              SetDwordValue(key, L"Enabled", 1) &&
              SetDwordValue(key, L"Options", 0) &&
              SetDwordValue(key, L"Order", 0);
    RegCloseKey(key);
    if (!ok) ErrorOut(L"cannot write the values of HKLM\\%ls", kItemKeyPath);
    return ok ? 0 : 1;
}

static const wchar_t *RegTypeName(DWORD type, wchar_t *buf)
{
    switch (type) {
    case REG_NONE: return L"REG_NONE";
    case REG_SZ: return L"REG_SZ";
    case REG_EXPAND_SZ: return L"REG_EXPAND_SZ";
    case REG_BINARY: return L"REG_BINARY";
    case REG_DWORD: return L"REG_DWORD";
    case REG_DWORD_BIG_ENDIAN: return L"REG_DWORD_BIG_ENDIAN";
    case REG_LINK: return L"REG_LINK";
    case REG_MULTI_SZ: return L"REG_MULTI_SZ";
    case REG_RESOURCE_LIST: return L"REG_RESOURCE_LIST";
    case REG_FULL_RESOURCE_DESCRIPTOR: return L"REG_FULL_RESOURCE_DESCRIPTOR";
    case REG_RESOURCE_REQUIREMENTS_LIST: return L"REG_RESOURCE_REQUIREMENTS_LIST";
    case REG_QWORD: return L"REG_QWORD";
    }
    swprintf(buf, 32, L"REG_TYPE_%lu", (unsigned long)type);
    return buf;
}

// Text with its control characters made visible: \r \n \t \0, others \xNN.
static std::wstring EscapeText(const wchar_t *text, size_t count)
{
    std::wstring out;
    for (size_t i = 0; i < count; i++) {
        wchar_t c = text[i];
        switch (c) {
        case L'\r': out += L"\\r"; break;
        case L'\n': out += L"\\n"; break;
        case L'\t': out += L"\\t"; break;
        case 0: out += L"\\0"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                wchar_t hex[8];
                swprintf(hex, 8, L"\\x%02x", (unsigned)c);
                out += hex;
            } else {
                out += c;
            }
        }
    }
    return out;
}

static std::wstring HexBytes(const BYTE *data, DWORD size)
{
    std::wstring out;
    for (DWORD i = 0; i < size; i++) {
        wchar_t hex[4];
        swprintf(hex, 4, L"%02x", data[i]);
        if (i) out += L' ';
        out += hex;
    }
    return out;
}

static std::wstring FormatValueData(DWORD type, const BYTE *data, DWORD size)
{
    wchar_t num[32];
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
    case REG_LINK: {
        // Every stored code unit, a stored terminator included; an odd last
        // byte is shown as \xNN.
        std::wstring text((const wchar_t *)data, size / sizeof(wchar_t));
        std::wstring out = EscapeText(text.data(), text.size());
        if (size & 1) {
            swprintf(num, 32, L"\\x%02x", data[size - 1]);
            out += num;
        }
        return out;
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        if (size == 4) {
            DWORD v = data[0] | (data[1] << 8) | (data[2] << 16) | ((DWORD)data[3] << 24);
            if (type == REG_DWORD_BIG_ENDIAN)
                v = data[3] | (data[2] << 8) | (data[1] << 16) | ((DWORD)data[0] << 24);
            swprintf(num, 32, L"%lu", (unsigned long)v);
            return num;
        }
        break;
    case REG_QWORD:
        if (size == 8) {
            unsigned long long v = 0;
            for (int i = 7; i >= 0; i--) v = (v << 8) | data[i];
            swprintf(num, 32, L"%llu", v);
            return num;
        }
        break;
    }
    return HexBytes(data, size);
}

struct DumpedValue {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
};

static bool DumpedValueLess(const DumpedValue &a, const DumpedValue &b)
{
    return a.name < b.name;
}

static int DumpKey(const std::wstring &outPath)
{
    FILE *out = _wfopen(outPath.c_str(), L"wb");
    if (!out) {
        ErrorOut(L"cannot write %ls", outPath.c_str());
        return 1;
    }
    std::vector<DumpedValue> values;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kItemKeyPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        DWORD maxName = 0, maxData = 0;
        RegQueryInfoKeyW(key, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &maxName, &maxData, NULL, NULL);
        std::vector<wchar_t> name(maxName + 2);
        std::vector<BYTE> data(maxData + 2);
        for (DWORD i = 0;; i++) {
            DWORD nameLen = (DWORD)name.size(), dataLen = (DWORD)data.size(), type = 0;
            LONG r = RegEnumValueW(key, i, name.data(), &nameLen, NULL, &type, data.data(), &dataLen);
            if (r == ERROR_MORE_DATA) {
                // grown since RegQueryInfoKeyW; ask again with room to spare
                name.resize(name.size() * 2 + 256);
                data.resize(data.size() * 2 + 256);
                i--;
                continue;
            }
            if (r != ERROR_SUCCESS) break;
            DumpedValue v;
            v.name.assign(name.data(), nameLen);
            v.type = type;
            v.data.assign(data.begin(), data.begin() + dataLen);
            values.push_back(v);
        }
        RegCloseKey(key);
    } else {
        ErrorOut(L"HKLM\\%ls does not exist; nothing to dump", kItemKeyPath);
    }
    std::sort(values.begin(), values.end(), DumpedValueLess);
    for (size_t i = 0; i < values.size(); i++) {
        const DumpedValue &v = values[i];
        wchar_t typeBuf[32], bytes[16];
        swprintf(bytes, 16, L"%lu", (unsigned long)v.data.size());
        std::wstring line = EscapeText(v.name.data(), v.name.size()) + L"\t" +
                            RegTypeName(v.type, typeBuf) + L"\t" + bytes + L"\t" +
                            FormatValueData(v.type, v.data.data(), (DWORD)v.data.size()) + L"\n";
        std::string utf8 = ToUtf8(line);
        fwrite(utf8.data(), 1, utf8.size(), out);
    }
    bool ok = fclose(out) == 0;
    return ok ? 0 : 1;
}

// ---------------------------------------------------------------------------
// Drawing

static COLORREF WatermarkColorAt(int x, int y)
{
    int s = x + y;
    int band = (s >= 0) ? s / kBandWidth : -((-s + kBandWidth - 1) / kBandWidth);
    return (band & 1) ? kBandColorB : kBandColorA;
}

// Draws the Today background that lies under rcToday (Today-window client
// coordinates) into hdc, with rcToday's top-left corner at dest.
static void DrawWatermark(HDC hdc, const RECT *rcToday, POINT dest)
{
    int w = rcToday->right - rcToday->left;
    int h = rcToday->bottom - rcToday->top;
    if (w <= 0 || h <= 0) return;

    BITMAPINFO bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;             // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HBITMAP bmp = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!bmp) return;

    DWORD *px = (DWORD *)bits;
    for (int row = 0; row < h; row++) {
        for (int col = 0; col < w; col++) {
            COLORREF c = WatermarkColorAt(rcToday->left + col, rcToday->top + row);
            px[row * w + col] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    GdiFlush();

    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ prev = SelectObject(mem, bmp);
    BitBlt(hdc, dest.x, dest.y, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, prev);
    DeleteDC(mem);
    DeleteObject(bmp);
}

static void DrawTitleStrip(HDC hdc)
{
    if (g.headerHeight <= 0) return;
    RECT rc = { 0, 0, g.screenW, g.headerHeight };
    HBRUSH brush = CreateSolidBrush(kTitleBackColor);
    FillRect(hdc, &rc, brush);
    DeleteObject(brush);

    // sized in pixels from the strip, so it fits whatever the screen's dpi
    HFONT font = CreateFontW(-(g.headerHeight * 2 / 3), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    HGDIOBJ prevFont = SelectObject(hdc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kTitleTextColor);
    rc.left += 4;
    DrawTextW(hdc, L"Today", -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, prevFont);
    if (font) DeleteObject(font);
}

// ---------------------------------------------------------------------------
// Screenshots

static bool SavePng(const std::wstring &path, int w, int h, const BYTE *bits, UINT stride)
{
    IWICImagingFactory *factory = NULL;
    IWICStream *stream = NULL;
    IWICBitmapEncoder *encoder = NULL;
    IWICBitmapFrameEncode *frame = NULL;
    IPropertyBag2 *props = NULL;
    bool ok = false;

    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, (void **)&factory);
    if (SUCCEEDED(hr)) hr = factory->CreateStream(&stream);
    if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
    if (SUCCEEDED(hr)) hr = factory->CreateEncoder(GUID_ContainerFormatPng, NULL, &encoder);
    if (SUCCEEDED(hr)) hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(&frame, &props);
    if (SUCCEEDED(hr)) hr = frame->Initialize(props);
    if (SUCCEEDED(hr)) hr = frame->SetSize(w, h);
    if (SUCCEEDED(hr)) {
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        hr = frame->SetPixelFormat(&format);
        if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) hr = E_FAIL;
    }
    if (SUCCEEDED(hr)) hr = frame->WritePixels(h, stride, stride * h, (BYTE *)bits);
    if (SUCCEEDED(hr)) hr = frame->Commit();
    if (SUCCEEDED(hr)) hr = encoder->Commit();
    ok = SUCCEEDED(hr);

    if (props) props->Release();
    if (frame) frame->Release();
    if (encoder) encoder->Release();
    if (stream) stream->Release();
    if (factory) factory->Release();
    if (!ok) ErrorOut(L"cannot write PNG %ls (hr 0x%08lx)", path.c_str(), (unsigned long)hr);
    return ok;
}

// Lets everything that is pending run, paints first, and gives Wine an idle
// moment to push the window contents to the X server.
static void PumpPending()
{
    for (int round = 0; round < 3; round++) {
        if (g.today && IsWindow(g.today))
            RedrawWindow(g.today, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
        MSG msg;
        for (int n = 0; n < 10000 && PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE); n++) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage((int)msg.wParam);
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        GdiFlush();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
}

// Reads the Today window back from the screen (what was really painted,
// children included) and writes it as a PNG of the screen's size.
static bool TakeScreenshot(const std::wstring &path)
{
    PumpPending();

    int w = g.screenW, h = g.screenH;
    BITMAPINFO bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HBITMAP bmp = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!bmp) {
        ErrorOut(L"cannot create a %dx%d bitmap for the screenshot", w, h);
        return false;
    }
    RECT rc = { 0, 0, w, h };
    if (g.today && IsWindow(g.today)) GetWindowRect(g.today, &rc);

    HDC screen = GetDC(NULL);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ prev = SelectObject(mem, bmp);
    PatBlt(mem, 0, 0, w, h, BLACKNESS);
    BitBlt(mem, 0, 0, rc.right - rc.left, rc.bottom - rc.top, screen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    SelectObject(mem, prev);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);

    UINT stride = ((UINT)w * 3 + 3) & ~3u;
    bool ok = SavePng(path, w, h, (const BYTE *)bits, stride);
    DeleteObject(bmp);
    return ok;
}

// ---------------------------------------------------------------------------
// The item

// The item may sit in a modal loop (its popup menu, a message box) inside any
// call we make; while one is on the stack the item must not be torn down.
static LRESULT SendToItem(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!g.item || !IsWindow(g.item)) return 0;
    g.itemCalls++;
    LRESULT r = SendMessageW(g.item, msg, wParam, lParam);
    g.itemCalls--;
    return r;
}

static bool Busy()
{
    return g.inStep || g.itemCalls > 0;
}

static void QueryItemRefresh()
{
    if (!g.item || !IsWindow(g.item)) return;
    if (SendToItem(WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&g.itemInfo, 0)) {
        MoveWindow(g.item, 0, g.headerHeight, g.screenW, (int)g.itemInfo.cyp, TRUE);
        InvalidateRect(g.item, NULL, TRUE);
    }
}

static bool ReadItemRegistration(std::wstring *dllPath)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kItemKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    wchar_t buf[MAX_PATH + 1];
    DWORD size = sizeof(buf) - sizeof(wchar_t), type = 0;
    LONG r = RegQueryValueExW(key, L"DLL", NULL, &type, (BYTE *)buf, &size);
    DWORD value, valueSize = sizeof(value);
    if (RegQueryValueExW(key, L"Order", NULL, NULL, (BYTE *)&value, &valueSize) == ERROR_SUCCESS &&
        valueSize == sizeof(value))
        g.itemInfo.dwOrder = value;
    valueSize = sizeof(value);
    if (RegQueryValueExW(key, L"Options", NULL, NULL, (BYTE *)&value, &valueSize) == ERROR_SUCCESS &&
        valueSize == sizeof(value))
        g.itemInfo.fOptions = value != 0;
    RegCloseKey(key);
    if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    buf[size / sizeof(wchar_t)] = 0;
    *dllPath = buf;
    if (type == REG_EXPAND_SZ) {
        wchar_t expanded[MAX_PATH];
        if (ExpandEnvironmentStringsW(buf, expanded, MAX_PATH)) *dllPath = expanded;
    }
    return !dllPath->empty();
}

// Loads the item the way the Today screen does. Returns an exit code.
static int LoadItem()
{
    std::wstring dllPath;
    if (!ReadItemRegistration(&dllPath)) {
        ErrorOut(L"no \"DLL\" value under HKLM\\%ls (run \"install\" first)", kItemKeyPath);
        return EXIT_NO_ITEM_DLL;
    }
    g.itemDll = LoadLibraryW(dllPath.c_str());
    if (!g.itemDll && dllPath[0] == L'/') {
        dllPath = ResolvePath(dllPath);
        g.itemDll = LoadLibraryW(dllPath.c_str());
    }
    if (!g.itemDll) {
        ErrorOut(L"cannot load %ls (error %lu)", dllPath.c_str(), (unsigned long)GetLastError());
        return EXIT_NO_ITEM_DLL;
    }
    PFNCUSTOMINITIALIZEITEM init =
        (PFNCUSTOMINITIALIZEITEM)(void *)GetProcAddress(g.itemDll, MAKEINTRESOURCEA(240));
    if (!init) {
        ErrorOut(L"%ls has no export ordinal 240", dllPath.c_str());
        return EXIT_NO_ITEM_DLL;
    }

    lstrcpynW(g.itemInfo.szName, kItemName, 32);
    g.itemInfo.tlit = tlitCustom;
    g.itemInfo.fEnabled = TRUE;
    lstrcpynW(g.itemInfo.szDLLPath, dllPath.c_str(), MAX_PATH);
    g.itemInfo.hinstDLL = g.itemDll;

    g.itemCalls++;
    g.item = init(&g.itemInfo, g.today);
    g.itemCalls--;
    if (!g.item) {
        ErrorOut(L"InitializeCustomItem returned no window");
        return EXIT_NO_ITEM_WINDOW;
    }
    g.itemInfo.hwndCustom = g.item;
    MoveWindow(g.item, 0, g.headerHeight, g.screenW, 0, TRUE);
    QueryItemRefresh();
    return EXIT_OK;
}

static void UnloadItem()
{
    if (g.item && IsWindow(g.item)) DestroyWindow(g.item);
    g.item = NULL;
    if (g.itemDll) FreeLibrary(g.itemDll);
    g.itemDll = NULL;
}

// Ends the run: final screenshot, item window, item library, Today window.
static void FinishRun(int exitCode)
{
    if (g.finishing) return;
    g.finishing = true;
    g.exitCode = exitCode;
    KillTimer(g.today, IDT_POLL);
    KillTimer(g.today, IDT_QUIT);
    KillTimer(g.today, IDT_SCRIPT);
    KillTimer(g.today, IDT_STEP_GUARD);
    if (exitCode == EXIT_OK && !g.screenshotPath.empty() && g.item) {
        if (!TakeScreenshot(g.screenshotPath)) g.exitCode = EXIT_USAGE;
    }
    UnloadItem();
    DestroyWindow(g.today);
}

// ---------------------------------------------------------------------------
// Popup menu choices (host/popup_menu.cpp makes them on a thread of their own)

static void ArmMenuJob(const std::vector<std::wstring> &path)
{
    g.menuJob = new PopupMenuChoice(path, kMenuTimeoutMs);
}

static void DropMenuJob()
{
    delete g.menuJob;
    g.menuJob = NULL;
}

// ---------------------------------------------------------------------------
// Script player

static bool LoadScript(const std::wstring &path, std::wstring *error)
{
    FILE *f = _wfopen(path.c_str(), L"rb");
    if (!f) {
        *error = L"cannot read script " + path;
        return false;
    }
    std::string raw;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) raw.append(buf, n);
    fclose(f);
    if (raw.size() >= 3 && (BYTE)raw[0] == 0xEF && (BYTE)raw[1] == 0xBB && (BYTE)raw[2] == 0xBF)
        raw.erase(0, 3);
    std::wstring text = FromUtf8(raw);

    size_t start = 0;
    int lineNo = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        lineNo++;
        if (line.empty() || line[0] == L'#') continue;

        size_t sp = line.find_first_of(L" \t");
        std::wstring cmd = line.substr(0, sp);
        std::wstring rest = sp == std::wstring::npos ? L"" : Trim(line.substr(sp));
        std::vector<std::wstring> args;
        for (size_t p = 0; p < rest.size();) {
            size_t q = rest.find_first_of(L" \t", p);
            if (q == std::wstring::npos) q = rest.size();
            if (q > p) args.push_back(rest.substr(p, q - p));
            p = q + 1;
        }

        ScriptLine sl;
        sl.lineNo = lineNo;
        sl.x = sl.y = 0;
        sl.ms = 0;
        sl.vk = 0;
        wchar_t where[32];
        swprintf(where, 32, L"script line %d: ", lineNo);
        long a = 0, b = 0;
        if (cmd == L"down" || cmd == L"move" || cmd == L"up" || cmd == L"tap") {
            if (args.size() != 2 || !ParseInt(args[0], &a) || !ParseInt(args[1], &b)) {
                *error = std::wstring(where) + L"expected \"" + cmd + L" X Y\"";
                return false;
            }
            sl.cmd = cmd == L"down" ? CmdDown : cmd == L"move" ? CmdMove : cmd == L"up" ? CmdUp : CmdTap;
            sl.x = (int)a;
            sl.y = (int)b;
        } else if (cmd == L"wait") {
            if (args.size() != 1 || !ParseInt(args[0], &a) || a < 0) {
                *error = std::wstring(where) + L"expected \"wait MS\"";
                return false;
            }
            sl.cmd = CmdWait;
            sl.ms = (DWORD)a;
        } else if (cmd == L"shot") {
            if (rest.empty()) {
                *error = std::wstring(where) + L"expected \"shot FILE.png\"";
                return false;
            }
            sl.cmd = CmdShot;
            sl.path = ResolvePath(rest);
        } else if (cmd == L"menu") {
            sl.cmd = CmdMenu;
            for (size_t p = 0; p <= rest.size();) {
                size_t q = rest.find(L'>', p);
                if (q == std::wstring::npos) q = rest.size();
                sl.menuPath.push_back(Trim(rest.substr(p, q - p)));
                p = q + 1;
            }
            for (size_t i = 0; i < sl.menuPath.size(); i++) {
                if (sl.menuPath[i].empty()) {
                    *error = std::wstring(where) + L"expected \"menu LABEL[>SUBLABEL]\"";
                    return false;
                }
            }
            ScriptCommand last = g.script.empty() ? CmdWait : g.script.back().cmd;
            bool afterStylus = last == CmdDown || last == CmdMove || last == CmdUp || last == CmdTap ||
                               last == CmdKey;
            if (!afterStylus) {
                *error = std::wstring(where) + L"\"menu\" must follow the tap that opens the popup";
                return false;
            }
        } else if (cmd == L"window") {
            if (rest.empty()) {
                *error = std::wstring(where) + L"expected \"window TITLE\"";
                return false;
            }
            sl.cmd = CmdWindow;
            sl.text = rest;
        } else if (cmd == L"wtap") {
            if (args.size() != 2 || !ParseInt(args[0], &a) || !ParseInt(args[1], &b)) {
                *error = std::wstring(where) + L"expected \"wtap X Y\"";
                return false;
            }
            sl.cmd = CmdWindowTap;
            sl.x = (int)a;
            sl.y = (int)b;
        } else if (cmd == L"wtext" || cmd == L"wcommand") {
            if (args.empty() || !ParseInt(args[0], &a) || (cmd == L"wcommand" && args.size() != 1)) {
                *error = std::wstring(where) + L"expected \"" + cmd + (cmd == L"wtext" ? L" ID TEXT\"" : L" ID\"");
                return false;
            }
            sl.cmd = cmd == L"wtext" ? CmdWindowText : CmdWindowCommand;
            sl.id = (int)a;
            size_t at = rest.find_first_of(L" \t");
            sl.text = at == std::wstring::npos ? L"" : Trim(rest.substr(at));
            for (size_t nl; (nl = sl.text.find(L"\\n")) != std::wstring::npos;)
                sl.text.replace(nl, 2, L"\r\n");     // "\n" in a script is a line break
        } else if (cmd == L"gone") {
            sl.cmd = CmdGone;
        } else if (cmd == L"key") {
            if (args.size() != 1 || !ParseInt(args[0], &a) || a <= 0 || a > 255) {
                *error = std::wstring(where) + L"expected \"key VK\" (a virtual-key number)";
                return false;
            }
            sl.cmd = CmdKey;
            sl.vk = (UINT)a;
        } else {
            *error = std::wstring(where) + L"unknown command \"" + cmd + L"\"";
            return false;
        }
        g.script.push_back(sl);
    }
    return true;
}

static void SendStylus(UINT msg, WPARAM keys, int todayX, int todayY)
{
    if (!g.item || !IsWindow(g.item)) return;
    POINT pt = { todayX, todayY };
    MapWindowPoints(g.today, g.item, &pt, 1);
    SendToItem(msg, keys, MAKELPARAM((WORD)(SHORT)pt.x, (WORD)(SHORT)pt.y));
}

static void ScriptFailed(const ScriptLine &line, const std::wstring &what)
{
    ErrorOut(L"script line %d: %ls", line.lineNo, what.c_str());
    // What the screen showed when the line failed, for whoever looks into it.
    TakeScreenshot(ResolvePath(L"script-failed.png"));
    FinishRun(EXIT_SCRIPT_FAILED);
}

// A visible top-level window with this exact title (another program may
// own hidden windows of the same title).
struct TitleSearch {
    const wchar_t *title;
    HWND found;
};

static BOOL CALLBACK MatchVisibleTitle(HWND window, LPARAM param)
{
    TitleSearch *search = (TitleSearch *)param;
    wchar_t title[256];
    if (IsWindowVisible(window) && GetWindowTextW(window, title, 256) && !wcscmp(title, search->title)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

static HWND FindVisibleWindow(const std::wstring &title)
{
    TitleSearch search = {title.c_str(), nullptr};
    EnumWindows(MatchVisibleTitle, (LPARAM)&search);
    return search.found;
}

static const DWORD kStepDone = 0xFFFFFFFF;

// Runs the script line at scriptPos. Returns the delay before the next step,
// or kStepDone when the run is over (script end or failure).
static DWORD RunScriptStep()
{
    if (g.scriptPos >= g.script.size()) return kStepDone;
    const ScriptLine &line = g.script[g.scriptPos];
    bool menuFollows = g.scriptPos + 1 < g.script.size() && g.script[g.scriptPos + 1].cmd == CmdMenu;

    switch (line.cmd) {
    case CmdDown:
    case CmdUp:
    case CmdTap:
    case CmdMove:
    case CmdKey:
        // A popup that no "menu" line chooses from would hold the script
        // forever; the guard closes it and fails the line.
        if (menuFollows)
            ArmMenuJob(g.script[g.scriptPos + 1].menuPath);
        else
            SetTimer(g.today, IDT_STEP_GUARD, kStepGuardMs, NULL);
        g.stepGuardFired = false;
        if (line.cmd == CmdDown || line.cmd == CmdTap) {
            g.stylusDown = true;
            SendStylus(WM_LBUTTONDOWN, MK_LBUTTON, line.x, line.y);
        }
        if (line.cmd == CmdMove)
            SendStylus(WM_MOUSEMOVE, g.stylusDown ? MK_LBUTTON : 0, line.x, line.y);
        if (line.cmd == CmdUp || line.cmd == CmdTap) {
            g.stylusDown = false;
            SendStylus(WM_LBUTTONUP, 0, line.x, line.y);
        }
        if (line.cmd == CmdKey) {
            SendToItem(WM_KEYDOWN, line.vk, 1);
            SendToItem(WM_KEYUP, line.vk, 0xC0000001);
        }
        KillTimer(g.today, IDT_STEP_GUARD);
        if (g.stepGuardFired) {
            ScriptFailed(line, L"a popup menu opened that no \"menu\" line chooses from");
            return kStepDone;
        }
        g.scriptPos++;
        return 0;

    case CmdWait:
        g.scriptPos++;
        return line.ms;

    case CmdShot:
        if (!TakeScreenshot(line.path)) {
            ScriptFailed(line, L"screenshot failed");
            return kStepDone;
        }
        g.scriptPos++;
        return 0;

    case CmdWindow:
    case CmdGone: {
        if (!g.waiting) {
            g.waiting = true;
            g.waitStart = GetTickCount();
        }
        HWND found = line.cmd == CmdWindow ? FindVisibleWindow(line.text) : g.target;
        bool done = line.cmd == CmdWindow ? found != nullptr : !IsWindow(found);
        if (!done) {
            if (GetTickCount() - g.waitStart < 10000)
                return 50;
            g.waiting = false;
            ScriptFailed(line, line.cmd == CmdWindow ? L"no window \"" + line.text + L"\" appeared"
                                                     : L"the window was not closed");
            return kStepDone;
        }
        g.waiting = false;
        if (line.cmd == CmdWindow)
            g.target = found;
        g.scriptPos++;
        return 0;
    }

    case CmdWindowTap:
    case CmdWindowText:
    case CmdWindowCommand:
        if (!g.target || !IsWindow(g.target)) {
            ScriptFailed(line, L"no window to act on: a \"window\" line must come first");
            return kStepDone;
        }
        if (line.cmd == CmdWindowTap) {
            PostMessageW(g.target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(line.x, line.y));
            PostMessageW(g.target, WM_LBUTTONUP, 0, MAKELPARAM(line.x, line.y));
        } else if (line.cmd == CmdWindowText) {
            HWND control = GetDlgItem(g.target, line.id);
            if (!control || !SetWindowTextW(control, line.text.c_str())) {
                ScriptFailed(line, L"the window has no control with that id");
                return kStepDone;
            }
        } else {
            PostMessageW(g.target, WM_COMMAND, MAKEWPARAM(line.id, BN_CLICKED), 0);
        }
        g.scriptPos++;
        return 0;

    case CmdMenu:
        if (!g.menuJob) {
            ScriptFailed(line, L"no menu choice was prepared");
            return kStepDone;
        }
        if (!g.menuJob->Done()) return 20;       // still choosing; look again soon
        if (!g.menuJob->Succeeded()) {
            std::wstring error = g.menuJob->Error();
            DropMenuJob();
            ScriptFailed(line, error);
            return kStepDone;
        }
        DropMenuJob();
        g.scriptPos++;
        return 0;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Today window

static void OnTodayPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    POINT dest = { ps.rcPaint.left, ps.rcPaint.top };
    DrawWatermark(hdc, &ps.rcPaint, dest);
    RECT strip = { 0, 0, g.screenW, g.headerHeight }, hit;
    if (IntersectRect(&hit, &strip, &ps.rcPaint)) DrawTitleStrip(hdc);
    EndPaint(hwnd, &ps);
}

static LRESULT OnTodayGetColor(WPARAM which)
{
    switch (which) {
    case TODAYCOLOR_TEXT: return g.textColor;
    case TODAYCOLOR_HIGHLIGHT: return kHighlightColor;
    case TODAYCOLOR_HIGHLIGHTEDTEXT: return kHighlightedTextColor;
    }
    return 0;
}

// The item asks for the background behind info->rc (its own client
// coordinates); map that to our coordinates so the pattern lines up.
static LRESULT OnTodayDrawWatermark(HWND hwnd, const TODAYDRAWWATERMARKINFO *info)
{
    if (!info || !info->hdc) return FALSE;
    HWND from = (info->hwnd && IsWindow(info->hwnd)) ? info->hwnd : g.item;
    RECT rc = info->rc;
    if (from) MapWindowPoints(from, hwnd, (POINT *)&rc, 2);
    POINT dest = { info->rc.left, info->rc.top };
    DrawWatermark(info->hdc, &rc, dest);
    return TRUE;
}

static void OnTodayTimer(HWND hwnd, UINT_PTR id)
{
    if (g.finishing) return;
    switch (id) {
    case IDT_POLL:
        QueryItemRefresh();
        break;
    case IDT_STEP_GUARD:
        // runs inside the item's modal menu loop, on our thread
        KillTimer(hwnd, IDT_STEP_GUARD);
        if (g.inStep) {
            g.stepGuardFired = true;
            EndMenu();
        }
        break;
    case IDT_QUIT:
        if (Busy()) {                       // look again once the item has returned
            SetTimer(hwnd, IDT_QUIT, 50, NULL);
            break;
        }
        KillTimer(hwnd, IDT_QUIT);
        g.timeUp = true;
        if (!g.scriptActive || g.closeRequested) FinishRun(EXIT_OK);
        break;
    case IDT_SCRIPT: {
        KillTimer(hwnd, IDT_SCRIPT);
        if (g.inStep) break;
        g.inStep = true;
        DWORD delay = RunScriptStep();
        g.inStep = false;
        if (g.finishing) break;
        if (delay == kStepDone || g.scriptPos >= g.script.size()) {
            if (delay != kStepDone && delay > 0) {
                // a trailing wait still has to run out
                SetTimer(hwnd, IDT_SCRIPT, delay, NULL);
                break;
            }
            g.scriptActive = false;
            if (!g.secondsGiven || g.timeUp) FinishRun(EXIT_OK);
            break;
        }
        SetTimer(hwnd, IDT_SCRIPT, delay ? delay : USER_TIMER_MINIMUM, NULL);
        break;
    }
    }
}

// Without --interactive the stylus is the script alone: real pointer events
// (the X pointer resting over the item, windows appearing under it) must not
// reach the item or its popup menus, so they are dropped here. Messages the
// script sends are not affected.
static LRESULT CALLBACK BlockRealMouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) return 1;
    return CallNextHookEx(g.mouseBlock, code, wParam, lParam);
}

static void OnTodayClose(HWND hwnd)
{
    g.closeRequested = true;
    if (Busy())
        SetTimer(hwnd, IDT_QUIT, 50, NULL);
    else
        FinishRun(EXIT_OK);
}

static LRESULT CALLBACK TodayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;                           // WM_PAINT covers everything
    case WM_PAINT:
        OnTodayPaint(hwnd);
        return 0;
    case WM_TIMER:
        OnTodayTimer(hwnd, wParam);
        return 0;
    case TODAYM_GETCOLOR:
        return OnTodayGetColor(wParam);
    case TODAYM_DRAWWATERMARK:
        return OnTodayDrawWatermark(hwnd, (const TODAYDRAWWATERMARKINFO *)lParam);
    case WM_ACTIVATE:
        // Coming back to the Today screen (from a program the item started)
        // redraws the item, as the device's shell does.
        if (LOWORD(wParam) != WA_INACTIVE && g.item && IsWindow(g.item))
            InvalidateRect(g.item, nullptr, TRUE);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && g.interactive) OnTodayClose(hwnd);
        return 0;
    case WM_CLOSE:
        OnTodayClose(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(g.exitCode);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// run

static void Usage()
{
    fputs("usage: today_host install DLLPATH\n"
          "       today_host dump-key OUTFILE\n"
          "       today_host run [--seconds S] [--poll-ms N] [--text-color R,G,B] [--header N]\n"
          "                      [--screenshot FILE.png] [--script FILE] [--interactive]\n",
          stderr);
}

static bool ParseRunOptions(int argc, wchar_t **argv)
{
    for (int i = 2; i < argc; i++) {
        std::wstring opt = argv[i];
        bool hasValue = i + 1 < argc;
        long v = 0;
        if (opt == L"--interactive") {
            g.interactive = true;
        } else if (opt == L"--seconds" && hasValue) {
            double s = wcstod(argv[++i], NULL);
            if (s < 0) return false;
            g.secondsMs = (DWORD)(s * 1000.0 + 0.5);
            g.secondsGiven = true;
        } else if (opt == L"--poll-ms" && hasValue) {
            if (!ParseInt(argv[++i], &v) || v <= 0) return false;
            g.pollMs = (DWORD)v;
        } else if (opt == L"--header" && hasValue) {
            if (!ParseInt(argv[++i], &v) || v < 0) return false;
            g.headerHeight = (int)v;
        } else if (opt == L"--text-color" && hasValue) {
            int r, gr, b;
            if (swscanf(argv[++i], L"%d,%d,%d", &r, &gr, &b) != 3 ||
                r < 0 || r > 255 || gr < 0 || gr > 255 || b < 0 || b > 255)
                return false;
            g.textColor = RGB(r, gr, b);
        } else if (opt == L"--screenshot" && hasValue) {
            g.screenshotPath = ResolvePath(argv[++i]);
        } else if (opt == L"--script" && hasValue) {
            g.scriptPath = ResolvePath(argv[++i]);
        } else if (opt == L"--shot-every" && hasValue) {
            ++i;                            // accepted, not used
        } else {
            ErrorOut(L"unknown or incomplete option %ls", opt.c_str());
            return false;
        }
    }
    return true;
}

static int RunToday(int argc, wchar_t **argv)
{
    if (!ParseRunOptions(argc, argv)) {
        Usage();
        return EXIT_USAGE;
    }
    if (!g.scriptPath.empty()) {
        std::wstring error;
        if (!LoadScript(g.scriptPath, &error)) {
            ErrorOut(L"%ls", error.c_str());
            return EXIT_SCRIPT_FAILED;
        }
        g.scriptActive = true;
    }
    if (!g.secondsGiven && g.scriptPath.empty() && !g.interactive) g.secondsGiven = true;

    SetCurrentDirectoryW(L"C:\\");
    if (!g.interactive)
        g.mouseBlock = SetWindowsHookExW(WH_MOUSE, BlockRealMouseProc, NULL, GetCurrentThreadId());
    g.shellReady = CreateEventW(NULL, TRUE, TRUE, kShellReadyEvent);
    if (g.shellReady) SetEvent(g.shellReady);
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);

    g.screenW = GetSystemMetrics(SM_CXSCREEN);
    g.screenH = GetSystemMetrics(SM_CYSCREEN);

    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = TodayWndProc;
    wc.hInstance = g.instance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = kTodayClass;
    RegisterClassW(&wc);
    g.today = CreateWindowExW(0, kTodayClass, L"Today", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                              0, 0, g.screenW, g.screenH, NULL, NULL, g.instance, NULL);
    if (!g.today) {
        ErrorOut(L"cannot create the Today window");
        return EXIT_USAGE;
    }
    UpdateWindow(g.today);

    int code = LoadItem();
    if (code != EXIT_OK) {
        g.finishing = true;
        UnloadItem();
        DestroyWindow(g.today);
        if (g.mouseBlock) UnhookWindowsHookEx(g.mouseBlock);
        CloseHandle(g.shellReady);
        CoUninitialize();
        return code;
    }

    SetTimer(g.today, IDT_POLL, g.pollMs, NULL);
    if (g.secondsGiven) SetTimer(g.today, IDT_QUIT, g.secondsMs ? g.secondsMs : USER_TIMER_MINIMUM, NULL);
    if (g.scriptActive) SetTimer(g.today, IDT_SCRIPT, USER_TIMER_MINIMUM, NULL);

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DropMenuJob();
    if (g.mouseBlock) UnhookWindowsHookEx(g.mouseBlock);
    CloseHandle(g.shellReady);
    CoUninitialize();
    return g.exitCode;
}

int wmain(int argc, wchar_t **argv)
{
    g.instance = GetModuleHandleW(NULL);
    g.pollMs = 2000;
    g.secondsMs = 10000;
    g.headerHeight = 20;
    g.textColor = RGB(0, 0, 128);
    wchar_t cwd[MAX_PATH];
    if (GetCurrentDirectoryW(MAX_PATH, cwd)) g.startDir = cwd;

    if (argc == 3 && wcscmp(argv[1], L"install") == 0)
        return InstallItem(argv[2]);
    if (argc == 3 && wcscmp(argv[1], L"dump-key") == 0)
        return DumpKey(ResolvePath(argv[2]));
    if (argc >= 2 && wcscmp(argv[1], L"run") == 0)
        return RunToday(argc, argv);
    Usage();
    return EXIT_USAGE;
}
