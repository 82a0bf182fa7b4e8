// The bindings of the ARM files' imports (arm_imports.h) to host functions,
// and the calls that give the device's meaning where the desktop's differs.
// Each bound import is a trap: the guest's call reads its argument words
// (r0-r3, then the caller's stack), calls the host function with them as
// the function's own parameter types, and returns its result in r0.
#include "armroom/arm_imports.h"
#include "armroom/pe_machine.h"
#include "armroom/room.h"
#include "platform/device.h"

#include <map>
#include <string.h>
#include <tuple>
#include <type_traits>
#include <utility>

namespace {

template <class T>
T FromWord(uint32_t word)
{
    static_assert(sizeof(T) <= 4, "every parameter of a bound function is one word");
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<T>((uintptr_t)word);
    else
        return (T)word;
}

template <class R>
uint32_t ToWord(R result)
{
    if constexpr (std::is_pointer_v<R>)
        return (uint32_t)(uintptr_t)result;
    else
        return (uint32_t)result;
}

// A host function's result and parameter types, whichever its calling
// convention (platform/'s desktop stand-ins of device functions are cdecl).
template <class F>
struct Signature;
template <class R, class... A>
struct Signature<R(WINAPI *)(A...)> {
    typedef R Result;
    typedef std::tuple<A...> Parameters;
};
template <class R, class... A>
struct Signature<R(__cdecl *)(A...)> {
    typedef R Result;
    typedef std::tuple<A...> Parameters;
};

// Calls F with the words W, each as its parameter's type.
template <class F, size_t... I>
uint32_t Invoke(F f, const uint32_t *w, std::index_sequence<I...>)
{
    typedef typename Signature<F>::Parameters Parameters;
    if constexpr (std::is_void_v<typename Signature<F>::Result>) {
        f(FromWord<std::tuple_element_t<I, Parameters>>(w[I])...);
        return 0;
    } else {
        return ToWord(f(FromWord<std::tuple_element_t<I, Parameters>>(w[I])...));
    }
}

// Reads WORDS argument words of the call the trap answers; a stack word
// that cannot be read stops the run.
bool ReadArguments(Cpu &cpu, unsigned words, uint32_t *w)
{
    for (unsigned k = 0; k < words; k++) {
        if (!ArgumentWord(cpu, k, w[k])) {
            cpu.AccessFault(cpu.r[13] + 4 * (k - 4), "read of a call's argument words");
            return false;
        }
    }
    return true;
}

// A trap calling F, a function of the host's with its own prototype; the
// table's count of argument words must be the prototype's.
template <unsigned Words, class F>
Trap Typed(const std::string &name, F f)
{
    static_assert(std::tuple_size_v<typename Signature<F>::Parameters> == Words,
                  "the table's argument words are the prototype's");
    return Trap{kStopNone, name, [f](Cpu &cpu) {
        uint32_t w[Words ? Words : 1];
        if (!ReadArguments(cpu, Words, w))
            return;
        uint32_t result = Invoke(f, w, std::make_index_sequence<Words>());
        cpu.memory.ForgetOutside();   // the call may have freed host memory
        cpu.r[0] = result;
    }};
}

// A C runtime function (cdecl, word arguments), called with WORDS words,
// or, for a variadic one, with as many as a call of the item's could pass.
typedef uint32_t(__cdecl *RuntimeFunction)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                           uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
const unsigned kRuntimeWords = 12;

Trap Runtime(const std::string &name, const char *dll, const char *export_name, unsigned words, bool variadic)
{
    RuntimeFunction f = (RuntimeFunction)(void *)GetProcAddress(LoadLibraryA(dll), export_name);
    if (!f)
        return Trap{kStopUnboundImport, name + " (not in the host's " + dll + ")", nullptr};
    return Trap{kStopNone, name, [f, words, variadic](Cpu &cpu) {
        uint32_t w[kRuntimeWords] = {};
        unsigned count = variadic ? kRuntimeWords : words;
        for (unsigned k = 0; k < count; k++)
            if (!ArgumentWord(cpu, k, w[k]) && k < words)
                return cpu.AccessFault(cpu.r[13] + 4 * (k - 4), "read of a call's argument words");
        uint32_t result = f(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8], w[9], w[10], w[11]);
        cpu.memory.ForgetOutside();
        cpu.r[0] = result;
    }};
}

std::map<std::string, void *> &PlatformFunctions()
{
    static std::map<std::string, void *> functions;
    return functions;
}

template <unsigned Words, class F>
Trap Platform(const std::string &name, const char *function)
{
    auto found = PlatformFunctions().find(function);
    if (found == PlatformFunctions().end())
        return Trap{kStopUnboundImport, name + " (not offered by this program)", nullptr};
    return Typed<Words>(name, (F)found->second);
}

}  // namespace

// What the device gives where the desktop's function means something else.
namespace device {

// The device finds a module by its instance, and the room's modules are
// not the system's: their paths are the files the room mapped.
DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR name, DWORD size)
{
    ArmRoom &room = ArmRoom::Get();
    const ArmModule *mapped = room.ModuleAt((uint32_t)(uintptr_t)module);
    const std::wstring *path = mapped ? &mapped->path : NULL;
    if (!module && !room.programPath.empty())
        path = &room.programPath;
    if (!path)
        return ::GetModuleFileNameW(module, name, size);
    if (!size)
        return 0;
    DWORD length = (DWORD)path->size() < size ? (DWORD)path->size() : size - 1;
    memcpy(name, path->c_str(), length * sizeof(wchar_t));
    name[length] = 0;
    return length;
}

// A device block is its own address: there are no moveable blocks.
HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes)
{
    return ::LocalAlloc(flags & ~LMEM_MOVEABLE, bytes);
}

// The device hands out the clipboard's memory itself, a block the caller
// reads directly and sizes with LocalSize. Wine gives a moveable global
// block: its bytes are copied into a fixed one, kept until the next call.
HANDLE WINAPI GetClipboardData(UINT format)
{
    static HLOCAL copy;
    if (copy)
        ::LocalFree(copy);
    copy = NULL;
    HANDLE data = ::GetClipboardData(format);
    const void *bytes = data ? GlobalLock(data) : NULL;
    if (!bytes)
        return NULL;
    SIZE_T size = GlobalSize(data);
    copy = ::LocalAlloc(LMEM_FIXED, size ? size : 1);
    if (copy)
        memcpy(copy, bytes, size);
    GlobalUnlock(data);
    return copy;
}

// The device's handle of the current process is 0x42; the desktop's is -1.
BOOL WINAPI TerminateProcess(HANDLE process, UINT code)
{
    return ::TerminateProcess(process == (HANDLE)0x42 ? GetCurrentProcess() : process, code);
}

// The window procedure in the class is guest code: the system gets a host
// procedure that runs it.
ATOM WINAPI RegisterClassW(const WNDCLASSW *guest_class)
{
    WNDCLASSW copy = *guest_class;
    copy.lpfnWndProc = (WNDPROC)ArmRoom::Get().HostProcedure((uint32_t)(uintptr_t)guest_class->lpfnWndProc);
    return ::RegisterClassW(&copy);
}

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialog, HWND parent, DLGPROC procedure,
                                       LPARAM parameter)
{
    DLGPROC host = (DLGPROC)ArmRoom::Get().HostProcedure((uint32_t)(uintptr_t)procedure);
    return ::DialogBoxIndirectParamW(instance, dialog, parent, host, parameter);
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

void RegisterPlatformFunction(const char *name, void *function)
{
    PlatformFunctions()[name] = function;
}

void RegisterCoredllPlatformFunctions()
{
    RegisterPlatformFunction("SHLoadDIBitmap", (void *)&SHLoadDIBitmap);
    RegisterPlatformFunction("TransparentImage", (void *)&TransparentImage);
    RegisterPlatformFunction("LoadStringW", (void *)&LoadStringW);
    RegisterPlatformFunction("CreateWindowExW", (void *)&CreateWindowExW);
    RegisterPlatformFunction("SetForegroundWindow", (void *)&SetForegroundWindow);
}

uint32_t BindArmImport(Cpu &cpu, const std::string &dll, const std::string &name, uint32_t ordinal)
{
    struct Row {
        const char *dll, *name;
        uint32_t ordinal;
        Trap (*make)(const std::string &label);
    };
#define WINE_TRAP(name, words) Typed<words>(label, &::name)
#define PLATFORM_TRAP(name, words) Platform<words, decltype(&::name)>(label, #name)
#define DEVICE_TRAP(name, words) Typed<words>(label, &device::name)
#define STANDIN_TRAP(name, words) Typed<words>(label, &standin::name)
#define RUNTIME_TRAP(name, words) Runtime(label, "msvcrt.dll", #name, words, false)
#define VARIADIC_TRAP(name, words) \
    Runtime(label, strcmp(#name, "wsprintfW") == 0 ? "user32.dll" : "msvcrt.dll", #name, words, true)
#define ROW(dll, name, ordinal, words, kind) \
    {#dll ".dll", #name, ordinal, [](const std::string &label) -> Trap { return kind##_TRAP_OF(name, words); }},
#define Wine_TRAP_OF WINE_TRAP
#define Platform_TRAP_OF PLATFORM_TRAP
#define Device_TRAP_OF DEVICE_TRAP
#define Standin_TRAP_OF STANDIN_TRAP
#define Runtime_TRAP_OF RUNTIME_TRAP
#define Variadic_TRAP_OF VARIADIC_TRAP
    static const Row rows[] = {ARM_IMPORTS(ROW)};
    for (const Row &row : rows) {
        bool same_dll = _stricmp(row.dll, dll.c_str()) == 0;
        bool same = name.empty() ? row.ordinal != 0 && row.ordinal == ordinal : name == row.name;
        if (!same_dll || !same)
            continue;
        std::string label = dll + "!" + row.name;
        uint32_t address = NewTrapAddress(cpu);
        cpu.traps[address] = row.make(label);
        return address;
    }
    return 0;   // the loader binds it to a stop that names it
}
