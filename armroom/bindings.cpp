// The bindings of the ARM files' imports (arm_imports.h) to host functions.
// Each bound import is a trap: the guest's call reads its argument words
// (r0-r3, then the caller's stack), makes of each what the host function's
// parameter type says (armroom/crossing.h), calls it, and returns its
// result, crossed back, in r0.
#include "armroom/arm_imports.h"
#include "armroom/crossing.h"
#include "armroom/device_calls.h"
#include "armroom/fail_calls.h"
#include "armroom/room.h"
#include "platform/device.h"

#include <map>
#include <string.h>
#include <tuple>
#include <type_traits>
#include <utility>

namespace {

// A host function's result and parameter types, whichever its calling
// convention (platform/'s desktop stand-ins of device functions are cdecl).
template <class F>
struct Signature;
template <class R, class... A>
struct Signature<R(WINAPI *)(A...)> {
    typedef R Result;
    typedef std::tuple<A...> Parameters;
};
#ifndef _WIN64
template <class R, class... A>
struct Signature<R(__cdecl *)(A...)> {
    typedef R Result;
    typedef std::tuple<A...> Parameters;
};
#endif

template <class F>
constexpr size_t Arity()
{
    return std::tuple_size<typename Signature<F>::Parameters>::value;
}

// Calls F with the words W, each crossed as its parameter's type says;
// what the call changed in structures is written back as the arguments
// go (at the end of the statement that made them).
template <class F, size_t... I>
uint32_t Invoke(Boundary &b, F f, const uint32_t *w, const char *what, std::index_sequence<I...>)
{
    typedef typename Signature<F>::Parameters Parameters;
    typedef typename Signature<F>::Result R;
    std::tuple<Arg<std::tuple_element_t<I, Parameters>>...> args{Crossing{b, w[I], what}...};
    (void)w;
    if constexpr (std::is_void_v<R>) {
        f(std::get<I>(args).Get()...);
        return 0;
    } else {
        return Result<R>::Word(b, f(std::get<I>(args).Get()...), what);
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
Trap Typed(const std::string &label, F f)
{
    static_assert(Arity<F>() == Words, "the table's argument words are the prototype's");
    return Trap{kStopNone, label, [f, label](Cpu &cpu) {
        uint32_t w[Words ? Words : 1];
        if (!ReadArguments(cpu, Words, w))
            return;
        cpu.r[0] = Invoke(ArmRoom::Get().boundary, f, w, label.c_str(), std::make_index_sequence<Words>());
    }};
}

// The same, for a function the room gives in place of the system's NAME:
// both prototypes take the table's words.
template <unsigned Words, class Real, class F>
Trap Replacing(const std::string &label, F f)
{
    static_assert(Arity<Real>() == Words, "the table's argument words are the real prototype's");
    return Typed<Words>(label, f);
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

template <unsigned Words>
Trap Variadic(const std::string &label, uint32_t (*format)(Cpu &, Boundary &, const char *))
{
    return Trap{kStopNone, label, [format, label](Cpu &cpu) {
        cpu.r[0] = format(cpu, ArmRoom::Get().boundary, label.c_str());
    }};
}

// TRAP, or where its import can fail, TRAP behind the room's failing of
// calls on request (armroom/fail_calls.h).
Trap Failable(Trap trap, const char *name)
{
    const FailableCall *failable = FindFailableCall(name);
    if (!failable || !trap.function)
        return trap;
    std::function<void(Cpu &)> call = trap.function;
    std::string label = trap.name;
    trap.function = [call, failable, label](Cpu &cpu) {
        if (!FailThisCall(*failable, label))
            return call(cpu);
        SetLastError(failable->error);
        cpu.r[0] = failable->result;
    };
    return trap;
}

}  // namespace

void RegisterPlatformFunction(const char *name, void *function)
{
    PlatformFunctions()[name] = function;
}

void RegisterCoredllPlatformFunctions()
{
    RegisterPlatformFunction("SHLoadDIBitmap", (void *)&SHLoadDIBitmap);
    RegisterPlatformFunction("TransparentImage", (void *)&TransparentImage);
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
#define Wine_TRAP(name, words) Typed<words>(label, &::name)
#define Platform_TRAP(name, words) Platform<words, decltype(&::name)>(label, #name)
#define Device_TRAP(name, words) Replacing<words, decltype(&::name)>(label, &device::name)
#define Standin_TRAP(name, words) Replacing<words, decltype(&::name)>(label, &standin::name)
#define Runtime_TRAP(name, words) Typed<words>(label, &runtime::name)
#define Variadic_TRAP(name, words) Variadic<words>(label, &runtime::Format_##name)
#define ROW(dll, name, ordinal, words, kind) \
    {#dll ".dll", #name, ordinal, [](const std::string &label) -> Trap { return kind##_TRAP(name, words); }},
    static const Row rows[] = {ARM_IMPORTS(ROW)};
#undef ROW
#undef Wine_TRAP
#undef Platform_TRAP
#undef Device_TRAP
#undef Standin_TRAP
#undef Runtime_TRAP
#undef Variadic_TRAP
    for (const Row &row : rows) {
        bool same_dll = _stricmp(row.dll, dll.c_str()) == 0;
        bool same = name.empty() ? row.ordinal != 0 && row.ordinal == ordinal : name == row.name;
        if (!same_dll || !same)
            continue;
        std::string label = dll + "!" + row.name;
        uint32_t address = NewTrapAddress(cpu);
        cpu.traps[address] = Failable(row.make(label), row.name);
        return address;
    }
    return 0;   // the loader binds it to a stop that names it
}
