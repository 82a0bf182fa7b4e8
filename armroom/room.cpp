// The room's processor, its memory in the host's address space, the files
// it maps, the calls from the host into guest code and their reports.
#include "armroom/room.h"

#include <stdio.h>
#include <utility>

static_assert(sizeof(void *) == 4, "guest addresses are host addresses only in a 32-bit process");

namespace {

// A device thread's stack; the guard below it catches a runaway recursion.
const uint32_t kStackSize = 64 * 1024, kStackGuard = 64 * 1024;
const unsigned kProcedureSlots = 16;

bool ReadWholeFile(const std::wstring &path, std::vector<uint8_t> &bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(file, NULL), got = 0;
    bool ok = size != INVALID_FILE_SIZE && size < (64u << 20);
    if (ok) {
        bytes.resize(size);
        ok = size == 0 || (ReadFile(file, bytes.data(), size, &got, NULL) && got == size);
    }
    CloseHandle(file);
    return ok;
}

// The host's committed memory around GUEST, as a region of the guest's.
bool HostRange(uint32_t guest, MemoryRegion &region)
{
    MEMORY_BASIC_INFORMATION info;
    if (!VirtualQuery((void *)(uintptr_t)guest, &info, sizeof info) || info.State != MEM_COMMIT ||
        (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)))
        return false;
    const DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    uint32_t base = (uint32_t)(uintptr_t)info.BaseAddress;
    uint64_t end = (uint64_t)base + info.RegionSize;
    region.guest = base;
    region.size = (uint32_t)((end > (uint64_t)kGuestLimit ? (uint64_t)kGuestLimit : end) - base);
    region.host = (uint8_t *)info.BaseAddress;
    region.writable = (info.Protect & writable) != 0;
    return region.size != 0;
}

std::string Narrow(const std::wstring &text)
{
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? (char)c : '?';
    return out;
}

}  // namespace

ArmRoom &ArmRoom::Get()
{
    static ArmRoom room;
    return room;
}

ArmRoom::ArmRoom()
{
    cpu.memory.outside = HostRange;
    cpu.memory.allocate = [](uint32_t guest, uint32_t size) {
        return (uint8_t *)VirtualAlloc((void *)(uintptr_t)guest, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    };
    uint8_t *stack = (uint8_t *)VirtualAlloc(NULL, kStackGuard + kStackSize, MEM_RESERVE, PAGE_NOACCESS);
    if (stack && VirtualAlloc(stack + kStackGuard, kStackSize, MEM_COMMIT, PAGE_READWRITE) &&
        cpu.memory.MapAtHostAddress(stack + kStackGuard, kStackSize, true)) {
        cpu.stack_low = (uint32_t)(uintptr_t)stack + kStackGuard;
        cpu.stack_high = cpu.stack_low + kStackSize;
    }
}

const ArmModule *ArmRoom::Load(const std::wstring &path, std::wstring *error)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        *error = L"cannot read " + path;
        return NULL;
    }
    if (!cpu.stack_high) {
        *error = L"no room for the ARM stack";
        return NULL;
    }
    ArmModule *module = new ArmModule;
    module->path = path;
    std::string why;
    ImportBinder binder = [this](const std::string &dll, const std::string &name, uint32_t ordinal) {
        return BindArmImport(cpu, dll, name, ordinal);
    };
    bool loaded = LoadPeImage(cpu, bytes, binder, module->image, why);
    if (!loaded && why.find("no room") == 0) {
        // The image base is taken in this process: relocate to a free range.
        uint32_t pe = *(const uint32_t *)&bytes[0x3C], size = *(const uint32_t *)&bytes[pe + 24 + 56];
        void *free_range = VirtualAlloc(NULL, size, MEM_RESERVE, PAGE_NOACCESS);
        if (free_range) {
            VirtualFree(free_range, 0, MEM_RELEASE);
            loaded = LoadPeImage(cpu, bytes, binder, module->image, why, (uint32_t)(uintptr_t)free_range);
        }
    }
    if (!loaded) {
        *error = path + L": " + std::wstring(why.begin(), why.end());
        delete module;
        return NULL;
    }
    std::wstring map = path.substr(0, path.find_last_of(L'.')) + L".map";
    if (GetFileAttributesW(map.c_str()) == INVALID_FILE_ATTRIBUTES)
        map.clear();
    symbols_.AddImage(cpu, module->image, Narrow(path), Narrow(map));
    modules_.push_back(module);
    return module;
}

const ArmModule *ArmRoom::ModuleAt(uint32_t base) const
{
    for (const ArmModule *module : modules_)
        if (module->image.base == base)
            return module;
    return NULL;
}

uint32_t ArmRoom::Call(uint32_t address, const std::vector<uint32_t> &args, const std::string &what)
{
    entries_.push_back(Entry{what, cpu.runs ? cpu.r[13] : cpu.stack_high});
    StopKind kind = CallNested(cpu, address, args);
    if (kind != kStopReturned)
        Fault("");
    entries_.pop_back();
    cpu.memory.ForgetOutside();
    return cpu.r[0];
}

void ArmRoom::Fault(const std::string &context)
{
    uint32_t top = entries_.empty() ? cpu.stack_high : entries_.back().stack_top;
    fprintf(stderr, "ARM room: %s%s", context.empty() ? "" : (context + ": ").c_str(),
            FaultReport(cpu, top, symbols_).c_str());
    for (size_t k = entries_.size(); k-- > 0;)
        fprintf(stderr, "entered from the host by %s\n", entries_[k].what.c_str());
    for (const ArmModule *module : modules_)
        fprintf(stderr, "%s mapped at 0x%08X\n", Narrow(module->path).c_str(), module->image.base);
    fflush(stderr);
    ExitProcess(kArmFaultExit);
}

// The host procedures that run guest ones: one per slot, each knowing its
// slot by its template argument.
template <unsigned N>
LRESULT CALLBACK GuestProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (LRESULT)ArmRoom::Get().CallProcedure(N, (uint32_t)(uintptr_t)window, message, (uint32_t)wParam,
                                                 (uint32_t)lParam);
}

template <unsigned... N>
static const WNDPROC *ProcedureTable(std::integer_sequence<unsigned, N...>)
{
    static const WNDPROC table[] = {GuestProcedure<N>...};
    return table;
}

uint32_t ArmRoom::CallProcedure(unsigned slot, uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    char what[96];
    snprintf(what, sizeof what, "the procedure at 0x%08X (window 0x%X, message 0x%04X)", procedures_[slot], a, b);
    return Call(procedures_[slot], {a, b, c, d}, what);
}

void *ArmRoom::HostProcedure(uint32_t address)
{
    if (!address || cpu.memory.IsFree(address & ~1u, 4))
        return (void *)(uintptr_t)address;   // not guest code: the host's own
    const WNDPROC *table = ProcedureTable(std::make_integer_sequence<unsigned, kProcedureSlots>());
    for (unsigned k = 0; k < procedures_.size(); k++)
        if (procedures_[k] == address)
            return (void *)table[k];
    if (procedures_.size() == kProcedureSlots) {
        cpu.stop = StopReport();
        cpu.stop.kind = kStopHostCall;
        cpu.stop.address = address;
        cpu.stop.detail = "more guest procedures than the room's slots";
        Fault("handing a procedure to the host");
    }
    procedures_.push_back(address);
    return (void *)table[procedures_.size() - 1];
}
