// What the device gives where the desktop's function means something else,
// and the calls whose arguments need more than their types to cross.
#include "armroom/device_calls.h"
#include "armroom/fail_calls.h"
#include "armroom/messages.h"
#include "armroom/pe_machine.h"
#include "armroom/room.h"

#include <stdio.h>
#include <string.h>
#include <string>
#include <wchar.h>

namespace {

ArmRoom &Room() { return ArmRoom::Get(); }
Boundary &Cross() { return ArmRoom::Get().boundary; }

// SIZE guest bytes at ADDRESS, all in one region; NULL for a NULL address.
uint8_t *Bytes(GuestWord address, uint32_t size, bool write, const char *what)
{
    return (uint8_t *)Cross().Host(address.value, size, write, what);
}

// The same for bytes the runtime's own code reads or writes, where the
// device's would take an access fault on NULL: the run stops with a report.
uint8_t *Touched(GuestWord address, uint32_t size, bool write, const char *what)
{
    if (!address.value)
        Cross().Refuse(std::string(what) + ": NULL for " + std::to_string(size) + " bytes");
    return Bytes(address, size, write, what);
}
const wchar_t *Touched(const wchar_t *text, const char *what)
{
    if (!text)
        Cross().Refuse(std::string(what) + ": NULL for a string");
    return text;
}

uint32_t GuestLength(GuestWord text, uint32_t unit, const char *what)
{
    return Cross().StringLength(text.value, unit, what);
}

}  // namespace

namespace device {

// The device finds a module by its instance, and the room's modules are
// not the system's: their paths are the files the room mapped.
DWORD WINAPI GetModuleFileNameW(GuestWord module, LPWSTR name, DWORD size)
{
    ArmRoom &room = Room();
    const ArmModule *mapped = room.ModuleAt(module.value);
    const std::wstring *path = mapped ? &mapped->path : NULL;
    if (!module.value && !room.programPath.empty())
        path = &room.programPath;
    if (!path)
        return ::GetModuleFileNameW((HMODULE)Boundary::HostHandle(module.value), name, size);
    if (!size)
        return 0;
    DWORD length = (DWORD)path->size() < size ? (DWORD)path->size() : size - 1;
    memcpy(name, path->c_str(), length * sizeof(wchar_t));
    name[length] = 0;
    return length;
}

// The room's modules are not the system's: there are no thread calls to
// turn off, and the device says yes.
BOOL WINAPI DisableThreadLibraryCalls(GuestWord module)
{
    if (Room().ModuleAt(module.value))
        return TRUE;
    return ::DisableThreadLibraryCalls((HMODULE)Boundary::HostHandle(module.value));
}

// A device block is its own address, in the guest's heap: there are no
// moveable blocks.
GuestWord WINAPI LocalAlloc(UINT flags, UINT bytes)
{
    uint32_t block = Room().heap.Allocate(bytes, (flags & LMEM_ZEROINIT) != 0);
    if (!block)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return GuestWord{block};
}

// NULL when freed; the block itself, as the system answers, when it is none.
GuestWord WINAPI LocalFree(GuestWord block)
{
    if (Room().heap.Free(block.value))
        return GuestWord{0};
    SetLastError(ERROR_INVALID_HANDLE);
    return block;
}

UINT WINAPI LocalSize(GuestWord block)
{
    uint32_t size = 0;
    if (!Room().heap.SizeOf(block.value, &size))
        SetLastError(ERROR_INVALID_HANDLE);
    return size;
}

// The device hands out the clipboard's memory itself, a block the caller
// reads directly and sizes with LocalSize: the host's data is copied into
// a guest block, kept until the next call.
GuestWord WINAPI GetClipboardData(UINT format)
{
    static uint32_t copy;
    ArmRoom &room = Room();
    room.heap.Free(copy);
    copy = 0;
    HANDLE data = ::GetClipboardData(format);
    const void *bytes = data ? GlobalLock(data) : NULL;
    if (!bytes)
        return GuestWord{0};
    SIZE_T size = GlobalSize(data);
    copy = size <= 0x7FFFFFFF ? room.heap.Allocate((uint32_t)size, false) : 0;
    if (copy)
        memcpy(room.cpu.memory.Write(copy, size ? (uint32_t)size : 1), bytes, size);
    GlobalUnlock(data);
    return GuestWord{copy};
}

// The device's clipboard takes the caller's LocalAlloc block: the host's
// gets a copy, and the block, now the system's, leaves the guest's heap.
GuestWord WINAPI SetClipboardData(UINT format, GuestWord block)
{
    ArmRoom &room = Room();
    if (!block.value)
        return GuestWord{Cross().GuestHandle(::SetClipboardData(format, NULL), "SetClipboardData")};
    uint32_t size = 0;
    if (!room.heap.SizeOf(block.value, &size)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return GuestWord{0};
    }
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    void *bytes = copy ? GlobalLock(copy) : NULL;
    if (!bytes) {
        if (copy)
            GlobalFree(copy);
        return GuestWord{0};
    }
    memcpy(bytes, Bytes(block, size, false, "SetClipboardData"), size);
    GlobalUnlock(copy);
    if (!::SetClipboardData(format, copy)) {
        GlobalFree(copy);
        return GuestWord{0};
    }
    room.heap.Free(block.value);
    return block;
}

// The device's handle of the current process is 0x42; the desktop's is -1.
// A program that ends itself so (the device's runtime does, after WinMain)
// gets no exit handlers: the meter writes first, and the count of failable
// calls is reported.
BOOL WINAPI TerminateProcess(HANDLE process, UINT code)
{
    bool self = process == (HANDLE)0x42 || process == GetCurrentProcess();
    if (self) {
        Room().meter.Write();
        ReportFailableCalls();
    }
    return ::TerminateProcess(self ? GetCurrentProcess() : process, code);
}

// The window procedure in the class is guest code: the system gets a host
// procedure that runs it.
ATOM WINAPI RegisterClassW(const WNDCLASSW *guest_class)
{
    WNDCLASSW copy = *guest_class;
    copy.lpfnWndProc = (WNDPROC)Room().HostProcedure((uint32_t)(uintptr_t)guest_class->lpfnWndProc);
    return ::RegisterClassW(&copy);
}

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialog, HWND parent, GuestWord procedure,
                                       LPARAM parameter)
{
    DLGPROC host = (DLGPROC)Room().HostProcedure(procedure.value);
    return ::DialogBoxIndirectParamW(instance, dialog, parent, host, parameter);
}

// A NULL buffer with a length of 0 asks for the string resource itself:
// the address of its read-only text in the mapped image.
int WINAPI LoadStringW(HINSTANCE instance, UINT id, GuestWord buffer, int size)
{
    if (!buffer.value && size == 0) {
        const wchar_t *text = NULL;
        if (!::LoadStringW(instance, id, (LPWSTR)&text, 0) || !text)
            return 0;
        return (int)Cross().Guest(text, "LoadStringW");
    }
    LPWSTR host = (LPWSTR)Bytes(buffer, size > 0 ? (uint32_t)size * sizeof(wchar_t) : 1, true, "LoadStringW");
    return ::LoadStringW(instance, id, host, size);
}

// What LoadResource returns is the data itself (LockResource is a macro
// on the device): a place in the mapped image.
const BYTE *WINAPI LoadResource(HMODULE module, HRSRC resource)
{
    HGLOBAL loaded = ::LoadResource(module, resource);
    return loaded ? (const BYTE *)LockResource(loaded) : NULL;
}

// The caller's buffer is a BITMAP, a DIBSECTION or a LOGFONTW in the
// guest's layout, told apart by its size; a DIB section's bits are mapped
// into guest memory.
int WINAPI GetObjectW(HANDLE object, int size, GuestWord buffer)
{
    Boundary &b = Cross();
    const char *what = "GetObjectW";
    if (size == (int)sizeof(guest32::BITMAP) || size == (int)sizeof(guest32::DIBSECTION)) {
        DIBSECTION host;
        bool dib = size == (int)sizeof(guest32::DIBSECTION);
        int got = ::GetObjectW(object, dib ? sizeof(DIBSECTION) : sizeof(BITMAP), &host);
        if (!got || !buffer.value)
            return got ? size : 0;
        if (dib && got == (int)sizeof(DIBSECTION)) {
            ToGuest(b, host, *(guest32::DIBSECTION *)Bytes(buffer, size, true, what), what);
            return size;
        }
        ToGuest(b, host.dsBm, *(guest32::BITMAP *)Bytes(buffer, sizeof(guest32::BITMAP), true, what), what);
        return sizeof(guest32::BITMAP);
    }
    if (size < 0)
        return 0;
    return ::GetObjectW(object, size, buffer.value ? Bytes(buffer, (uint32_t)size, true, what) : NULL);
}

// A bitmap's bits mapped for the guest go with it.
BOOL WINAPI DeleteObject(HGDIOBJ object)
{
    BITMAP bitmap;
    void *bits = GetObjectType(object) == OBJ_BITMAP && ::GetObjectW(object, sizeof bitmap, &bitmap) ? bitmap.bmBits
                                                                                                     : NULL;
    BOOL deleted = ::DeleteObject(object);
    if (deleted && bits)
        Cross().ForgetHostBytes(bits);
    return deleted;
}

BOOL WINAPI ReadFile(HANDLE file, GuestWord buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped)
{
    return ::ReadFile(file, Bytes(buffer, size, true, "ReadFile"), size, read, overlapped);
}

BOOL WINAPI WriteFile(HANDLE file, GuestWord buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    return ::WriteFile(file, Bytes(buffer, size, false, "WriteFile"), size, written, overlapped);
}

// The guest's memory is the room's: all of it readable and writable.
BOOL WINAPI VirtualProtect(GuestWord address, DWORD size, DWORD, PDWORD old)
{
    if (!Cross().memory().Read(address.value, size ? size : 1)) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    if (old)
        *old = PAGE_EXECUTE_READWRITE;
    return TRUE;
}

DWORD WINAPI VirtualQuery(GuestWord address, GuestWord info, DWORD size)
{
    const MemoryRegion *region = Cross().memory().RegionAt(address.value);
    if (!region || size < sizeof(guest32::MEMORY_BASIC_INFORMATION)) {
        SetLastError(region ? ERROR_BAD_LENGTH : ERROR_INVALID_ADDRESS);
        return 0;
    }
    guest32::MEMORY_BASIC_INFORMATION *out = (guest32::MEMORY_BASIC_INFORMATION *)Bytes(
        info, sizeof(guest32::MEMORY_BASIC_INFORMATION), true, "VirtualQuery");
    memset(out, 0, sizeof *out);
    out->BaseAddress = address.value & ~0xFFFu;
    out->AllocationBase = region->guest;
    out->AllocationProtect = out->Protect = PAGE_EXECUTE_READWRITE;
    out->RegionSize = region->guest + region->size - out->BaseAddress;
    out->State = MEM_COMMIT;
    out->Type = MEM_PRIVATE;
    return sizeof *out;
}

GuestWord WINAPI DefWindowProcW(GuestWord window, UINT message, GuestWord wParam, GuestWord lParam)
{
    MessageToHost m(Cross(), window.value, message, wParam.value, lParam.value, "DefWindowProcW");
    return GuestWord{m.Finish(::DefWindowProcW(m.window, m.message, m.wParam, m.lParam))};
}

GuestWord WINAPI SendMessageW(GuestWord window, UINT message, GuestWord wParam, GuestWord lParam)
{
    MessageToHost m(Cross(), window.value, message, wParam.value, lParam.value, "SendMessageW");
    return GuestWord{m.Finish(::SendMessageW(m.window, m.message, m.wParam, m.lParam))};
}

BOOL WINAPI PostMessageW(GuestWord window, UINT message, GuestWord wParam, GuestWord lParam)
{
    MessageToHost m(Cross(), window.value, message, wParam.value, lParam.value, "PostMessageW");
    return ::PostMessageW(m.window, m.message, m.wParam, m.lParam);
}

GuestWord WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT message, GuestWord wParam, GuestWord lParam)
{
    uint32_t control = Cross().GuestHandle(GetDlgItem(dialog, id), "SendDlgItemMessageW");
    MessageToHost m(Cross(), control, message, wParam.value, lParam.value, "SendDlgItemMessageW");
    return GuestWord{m.Finish(::SendDlgItemMessageW(dialog, id, m.message, m.wParam, m.lParam))};
}

// A popup's id is its menu handle, and only a string entry has a string.
BOOL WINAPI AppendMenuW(HMENU menu, UINT flags, GuestWord id, GuestWord item)
{
    UINT_PTR host_id = flags & MF_POPUP ? (UINT_PTR)Boundary::HostHandle(id.value) : (UINT_PTR)id.value;
    bool text = !(flags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR));
    LPCWSTR host_item = text ? (item.value ? Cross().HostString(item.value, "AppendMenuW") : NULL)
                             : (LPCWSTR)Boundary::HostHandle(item.value);
    return ::AppendMenuW(menu, flags, host_id, host_item);
}

}  // namespace device

// What the stand-in intercepts.
namespace standin {

// The device's ShellExecuteEx takes the wide structure. A device program
// started this way is ARM code too: it runs in the room's launcher,
// armrun.exe beside the stand-in, as "armrun.exe FILE ARGUMENTS".
BOOL WINAPI ShellExecuteEx(SHELLEXECUTEINFOW *info)
{
    WORD machine = 0;
    if (!info || !info->lpFile || !ReadPeMachine(info->lpFile, &machine) || !IsArmMachine(machine))
        return ::ShellExecuteExW(info);
    wchar_t launcher[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(NULL, launcher, MAX_PATH);
    while (length && launcher[length - 1] != L'\\')
        length--;
    std::wstring path = std::wstring(launcher, length) + L"armrun.exe";
    std::wstring parameters = L"\"" + std::wstring(info->lpFile) + L"\"";
    if (info->lpParameters && *info->lpParameters)
        parameters += L" " + std::wstring(info->lpParameters);
    SHELLEXECUTEINFOW launch = *info;
    launch.lpFile = path.c_str();
    launch.lpParameters = parameters.c_str();
    BOOL started = ::ShellExecuteExW(&launch);
    info->hInstApp = launch.hInstApp;
    info->hProcess = launch.hProcess;
    return started;
}

}  // namespace standin

namespace runtime {

GuestWord WINAPI malloc(UINT size)
{
    return GuestWord{Room().heap.Allocate(size, false)};
}

GuestWord WINAPI realloc(GuestWord block, UINT size)
{
    bool refused = false;
    uint32_t moved = Room().heap.Resize(block.value, size, &refused);
    if (refused)
        Cross().Refuse("realloc of " + std::to_string(block.value) + ", which is no block of the guest's heap");
    return GuestWord{moved};
}

void WINAPI free(GuestWord block)
{
    if (!Room().heap.Free(block.value))
        Cross().Refuse("free of " + std::to_string(block.value) + ", which is no block of the guest's heap");
}

GuestWord WINAPI memcpy(GuestWord to, GuestWord from, UINT size)
{
    if (size)
        memmove(Touched(to, size, true, "memcpy"), Touched(from, size, false, "memcpy"), size);
    Room().meter.Moved(size);
    return to;
}

GuestWord WINAPI memset(GuestWord to, int value, UINT size)
{
    if (size)
        ::memset(Touched(to, size, true, "memset"), value, size);
    Room().meter.Moved(size);
    return to;
}

int WINAPI memcmp(GuestWord a, GuestWord b, UINT size)
{
    return size ? ::memcmp(Touched(a, size, false, "memcmp"), Touched(b, size, false, "memcmp"), size) : 0;
}

UINT WINAPI strlen(GuestWord text)
{
    return GuestLength(text, 1, "strlen");
}

UINT WINAPI wcslen(const wchar_t *text)
{
    return (UINT)::wcslen(Touched(text, "wcslen"));
}

GuestWord WINAPI wcscat(GuestWord to, const wchar_t *from)
{
    uint32_t length = GuestLength(to, sizeof(wchar_t), "wcscat"),
             added = (uint32_t)::wcslen(Touched(from, "wcscat")) + 1;
    ::memcpy(Bytes(GuestWord{to.value + length * 2}, added * 2, true, "wcscat"), from, added * 2);
    Room().meter.Moved(added * 2);
    return to;
}

GuestWord WINAPI wcsrchr(GuestWord text, UINT character)
{
    uint32_t length = GuestLength(text, sizeof(wchar_t), "wcsrchr");
    const wchar_t *host = (const wchar_t *)Bytes(text, (length + 1) * 2, false, "wcsrchr");
    for (uint32_t k = length + 1; k-- > 0;)
        if (host[k] == (wchar_t)character)
            return GuestWord{text.value + k * 2};
    return GuestWord{0};
}

int WINAPI _wcsicmp(const wchar_t *a, const wchar_t *b)
{
    return ::_wcsicmp(Touched(a, "_wcsicmp"), Touched(b, "_wcsicmp"));
}

UINT WINAPI mbstowcs(GuestWord to, GuestWord from, UINT size)
{
    uint32_t length = GuestLength(from, 1, "mbstowcs");
    const char *text = (const char *)Bytes(from, length + 1, false, "mbstowcs");
    wchar_t *out = to.value ? (wchar_t *)Bytes(to, size ? size * 2 : 1, true, "mbstowcs") : NULL;
    size_t converted = ::mbstowcs(out, text, out ? size : 0);
    if (out && converted != (size_t)-1)
        Room().meter.Moved(converted * 2);
    return (UINT)converted;
}

// The device's programs keep no streams open: nothing to flush or close.
int WINAPI fflush(GuestWord)
{
    return 0;
}

int WINAPI _fcloseall()
{
    return 0;
}

void WINAPI _fpreset() {}

// A wide format with its arguments as the guest's words: %s and %ls take a
// guest string, %c a character, the integer conversions a 32-bit word.
// FIRST is the number of the first variadic argument word.
static std::wstring FormatWords(Cpu &cpu, Boundary &b, const wchar_t *format, unsigned first, const char *what)
{
    std::wstring out;
    unsigned next = first;
    auto word = [&]() {
        uint32_t value = 0;
        if (!ArgumentWord(cpu, next++, value))
            b.Refuse(std::string(what) + ": an argument word cannot be read");
        return value;
    };
    for (const wchar_t *p = format; *p; p++) {
        if (*p != L'%') {
            out += *p;
            continue;
        }
        std::wstring conversion = L"%";
        p++;
        while (*p && wcschr(L"-+ #0123456789.", *p))
            conversion += *p++;
        while (*p == L'l' || *p == L'h' || *p == L'w')
            p++;
        wchar_t text[64];
        switch (*p) {
        case L'%':
            out += L'%';
            break;
        case L's': case L'S': {
            uint32_t at = word();
            out += at ? b.HostString(at, what) : L"(null)";
            break;
        }
        case L'c': case L'C':
            out += (wchar_t)word();
            break;
        case L'd': case L'i': case L'u': case L'x': case L'X': case L'o':
            conversion += *p;
            if (*p == L'd' || *p == L'i')
                swprintf(text, 64, conversion.c_str(), (int)word());
            else
                swprintf(text, 64, conversion.c_str(), (unsigned)word());
            out += text;
            break;
        default:
            b.Refuse(std::string(what) + ": a format conversion the room does not read");
        }
        if (!*p)
            break;
    }
    return out;
}

// _snwprintf(buffer, count, format, ...): at most COUNT characters, with no
// terminator when the text fills them; -1 when it does not fit.
uint32_t Format__snwprintf(Cpu &cpu, Boundary &b, const char *what)
{
    uint32_t buffer = cpu.r[0], count = cpu.r[1];
    std::wstring text = FormatWords(cpu, b, b.HostString(cpu.r[2], what), 3, what);
    if (!count)
        return text.empty() ? 0 : (uint32_t)-1;
    wchar_t *out = (wchar_t *)b.Host(buffer, count * 2, true, what);
    size_t length = text.size() < count ? text.size() : count;
    ::memcpy(out, text.c_str(), length * 2);
    if (length < count)
        out[length] = 0;
    Room().meter.Moved((length + (length < count)) * 2);
    return text.size() <= count ? (uint32_t)text.size() : (uint32_t)-1;
}

// wsprintfW(buffer, format, ...): the buffer holds at most 1024 characters.
uint32_t Format_wsprintfW(Cpu &cpu, Boundary &b, const char *what)
{
    uint32_t buffer = cpu.r[0];
    std::wstring text = FormatWords(cpu, b, b.HostString(cpu.r[1], what), 2, what);
    if (text.size() > 1023)
        text.resize(1023);
    ::memcpy(b.Host(buffer, (uint32_t)(text.size() + 1) * 2, true, what), text.c_str(), (text.size() + 1) * 2);
    Room().meter.Moved((text.size() + 1) * 2);
    return (uint32_t)text.size();
}

}  // namespace runtime
