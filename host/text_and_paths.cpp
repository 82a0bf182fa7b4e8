// Small helpers of the Today stand-in: UTF-8 and UTF-16 text, error lines
// on stderr, number parsing and the mapping of command-line paths
// (relative ones are taken from the directory the stand-in was started in:
// the host itself moves to C:\ because the item opens root-relative paths).

#include "text_and_paths.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

std::string ToUtf8(const std::wstring &w)
{
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), NULL, 0, NULL, NULL);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &s[0], n, NULL, NULL);
    return s;
}

std::wstring FromUtf8(const std::string &s)
{
    if (s.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), NULL, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), &w[0], n);
    return w;
}

void ErrorOut(const wchar_t *fmt, ...)
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

std::wstring Trim(const std::wstring &s)
{
    size_t b = 0, e = s.size();
    while (b < e && iswspace(s[b])) b++;
    while (e > b && iswspace(s[e - 1])) e--;
    return s.substr(b, e - b);
}

bool ParseInt(const std::wstring &s, long *out)
{
    if (s.empty()) return false;
    wchar_t *end = NULL;
    long v = wcstol(s.c_str(), &end, 0);
    if (*end) return false;
    *out = v;
    return true;
}

static std::wstring s_startDir;             // directory we were started in

void RememberStartDirectory()
{
    wchar_t cwd[MAX_PATH];
    if (GetCurrentDirectoryW(MAX_PATH, cwd)) s_startDir = cwd;
}

typedef LPWSTR (CDECL *PFNWINEGETDOSFILENAME)(LPCSTR);

// A path as the host's Windows calls need it: Unix paths go through Wine's
// own mapping, relative paths are taken relative to the start directory.
std::wstring ResolvePath(const std::wstring &path)
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
    if (absolute || s_startDir.empty()) return path;
    std::wstring dir = s_startDir;
    if (dir[dir.size() - 1] != L'\\') dir += L'\\';
    return dir + path;
}
