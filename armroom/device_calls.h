// The room's own functions for imports whose device meaning differs from
// the desktop's, or whose arguments cross as more than their types say
// (arm_imports.h's Device, Runtime, Variadic and Standin rows). Each takes
// the table's argument words; GuestWord is a guest word the function
// interprets itself.
#pragma once
#include <windows.h>

#include "armroom/boundary.h"
#include "armroom/crossing.h"
#include "emulator/cpu.h"

namespace device {
DWORD WINAPI GetModuleFileNameW(GuestWord module, LPWSTR name, DWORD size);
BOOL WINAPI DisableThreadLibraryCalls(GuestWord module);
GuestWord WINAPI LocalAlloc(UINT flags, UINT bytes);
GuestWord WINAPI LocalFree(GuestWord block);
UINT WINAPI LocalSize(GuestWord block);
GuestWord WINAPI GetClipboardData(UINT format);
GuestWord WINAPI SetClipboardData(UINT format, GuestWord block);
BOOL WINAPI TerminateProcess(HANDLE process, UINT code);
ATOM WINAPI RegisterClassW(const WNDCLASSW *guest_class);
INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialog, HWND parent, GuestWord procedure,
                                       LPARAM parameter);
int WINAPI LoadStringW(HINSTANCE instance, UINT id, GuestWord buffer, int size);
const BYTE *WINAPI LoadResource(HMODULE module, HRSRC resource);
int WINAPI GetObjectW(HANDLE object, int size, GuestWord buffer);
BOOL WINAPI DeleteObject(HGDIOBJ object);
BOOL WINAPI ReadFile(HANDLE file, GuestWord buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WINAPI WriteFile(HANDLE file, GuestWord buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
BOOL WINAPI VirtualProtect(GuestWord address, DWORD size, DWORD protection, PDWORD old);
DWORD WINAPI VirtualQuery(GuestWord address, GuestWord info, DWORD size);
GuestWord WINAPI DefWindowProcW(GuestWord window, UINT message, GuestWord wParam, GuestWord lParam);
GuestWord WINAPI SendMessageW(GuestWord window, UINT message, GuestWord wParam, GuestWord lParam);
BOOL WINAPI PostMessageW(GuestWord window, UINT message, GuestWord wParam, GuestWord lParam);
GuestWord WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT message, GuestWord wParam, GuestWord lParam);
BOOL WINAPI AppendMenuW(HMENU menu, UINT flags, GuestWord id, GuestWord item);
}  // namespace device

namespace standin {
BOOL WINAPI ShellExecuteEx(SHELLEXECUTEINFOW *info);
}  // namespace standin

// The C runtime on guest memory.
namespace runtime {
GuestWord WINAPI malloc(UINT size);
GuestWord WINAPI realloc(GuestWord block, UINT size);
void WINAPI free(GuestWord block);
GuestWord WINAPI memcpy(GuestWord to, GuestWord from, UINT size);
GuestWord WINAPI memset(GuestWord to, int value, UINT size);
int WINAPI memcmp(GuestWord a, GuestWord b, UINT size);
UINT WINAPI strlen(GuestWord text);
UINT WINAPI wcslen(const wchar_t *text);
GuestWord WINAPI wcscat(GuestWord to, const wchar_t *from);
GuestWord WINAPI wcsrchr(GuestWord text, UINT character);
int WINAPI _wcsicmp(const wchar_t *a, const wchar_t *b);
UINT WINAPI mbstowcs(GuestWord to, GuestWord from, UINT size);
int WINAPI fflush(GuestWord stream);
int WINAPI _fcloseall();
void WINAPI _fpreset();
// The variadic ones read their words as the format asks.
uint32_t Format__snwprintf(Cpu &cpu, Boundary &b, const char *what);
uint32_t Format_wsprintfW(Cpu &cpu, Boundary &b, const char *what);
}  // namespace runtime
