// The room's processor and guest address space, the files it maps, the
// calls from the host into guest code and their reports.
#include "armroom/room.h"
#include "armroom/messages.h"

#include <cxxabi.h>
#include <stdlib.h>
#include <stdio.h>
#include <utility>

namespace {

// The guest's address space: images at their bases (the item's 0x10000000,
// the editor's 0x10000), the heap, host bytes mapped for the guest
// (boundary.cpp), and a device thread's stack below 0x7FFF0000 with an
// unmapped guard under it.
const uint32_t kHeapBase = 0x40000000u, kHeapSize = 64u << 20;
const uint32_t kStackSize = 64 * 1024;
const unsigned kProcedureSlots = 16;
// The most scratch space one push may take below the guest's stack
// pointer, and what it leaves at least to the guest code it calls.
const uint32_t kScratchLimit = 16 * 1024;

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

ArmRoom::ArmRoom() : boundary(cpu.memory)
{
    // Page-aligned host bytes, as Wine's resource functions want an image.
    cpu.memory.allocate = [](uint32_t size) {
        return (uint8_t *)VirtualAlloc(NULL, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    };
    SetUpStack(cpu, kStackSize);
    heap.Create(cpu.memory, kHeapBase, kHeapSize);
    boundary.refuse = [this](const std::string &why) {
        cpu.Stop(kStopHostCall, cpu.pc, cpu.pc, why);
        Fault("at the boundary");
    };
    boundary.scratch = [this](uint32_t size) { return Scratch(size); };
}

const ArmModule *ArmRoom::Load(const std::wstring &path, std::wstring *error)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        *error = L"cannot read " + path;
        return NULL;
    }
    if (!cpu.stack_high || !cpu.memory.RegionAt(kHeapBase)) {
        *error = L"no room for the guest's stack and heap";
        return NULL;
    }
    ArmModule *module = new ArmModule;
    module->path = path;
    std::string why;
    ImportBinder binder = [this](const std::string &dll, const std::string &name, uint32_t ordinal) {
        return BindArmImport(cpu, dll, name, ordinal);
    };
    if (LoadPeImage(cpu, bytes, binder, module->image, why) != kPeLoaded) {
        *error = path + L": " + std::wstring(why.begin(), why.end());
        delete module;
        return NULL;
    }
    if (modules_.empty() && !MeterFile().empty()) {
        // The first file is the program: the meter counts from its entry on
        // and writes when the process exits.
        std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
        meter.Start(cpu, Narrow(name.substr(0, name.find_last_of(L'.'))));
        atexit([] { ArmRoom::Get().meter.Write(); });
    }
    module->host = cpu.memory.RegionAt(module->image.base)->host;
    boundary.AddModule(module->image.base, module->host);
    std::wstring map = path.substr(0, path.find_last_of(L'.')) + L".map";
    if (GetFileAttributesW(map.c_str()) == INVALID_FILE_ATTRIBUTES)
        map.clear();
    symbols_.AddImage(module->image, Narrow(path), Narrow(map));
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

uint32_t ArmRoom::Scratch(uint32_t size)
{
    uint32_t top = StackTop();
    uint32_t low = (top - size) & ~7u;
    if (size > kScratchLimit || top < size || low < cpu.stack_low + kScratchLimit)
        return 0;
    scratch_low_ = low;
    return low;
}

uint32_t ArmRoom::Call(uint32_t address, const std::vector<uint32_t> &args, const char *what)
{
    return Enter(Entry{what, 0, 0, 0, 0}, address, args);
}

uint32_t ArmRoom::Enter(Entry entry, uint32_t address, const std::vector<uint32_t> &args)
{
    uint32_t top = StackTop();
    entry.stack_top = top;
    entries_.push_back(entry);
    if (meter.On())
        meter.Enter(MeterName(entry), entry.procedure && entry.message == WM_ENTERIDLE);
    uint32_t saved = scratch_low_;
    scratch_low_ = 0;   // the guest's own calls push below its stack pointer
    StopKind kind = CallNested(cpu, address, args, top);
    if (kind != kStopReturned)
        Fault("");
    if (meter.On())
        meter.Leave();
    scratch_low_ = saved;
    entries_.pop_back();
    return cpu.r[0];
}

std::string ArmRoom::MeterName(const Entry &entry) const
{
    if (!entry.procedure)
        return entry.what;
    // "ItemWindowProc" of "_Z14ItemWindowProcP6HWND__jjl+0x0 (inkleaf_item.dll)".
    std::string procedure = symbols_.Describe(entry.procedure);
    procedure = procedure.substr(0, procedure.find_first_of("+ "));
    if (char *plain = abi::__cxa_demangle(procedure.c_str(), NULL, NULL, NULL)) {
        procedure = std::string(plain).substr(0, std::string(plain).find('('));
        ::free(plain);
    }
    const char *name = MessageName(entry.message);
    char number[16];
    snprintf(number, sizeof number, "0x%04X", entry.message);
    return procedure + " " + (name ? name : number);
}

void ArmRoom::Fault(const std::string &context)
{
    uint32_t top = entries_.empty() ? cpu.stack_high : entries_.back().stack_top;
    std::string report = "ARM room: " + (context.empty() ? "" : context + ": ") + FaultReport(cpu, top, symbols_);
    char line[160];
    for (size_t k = entries_.size(); k-- > 0;) {
        const Entry &e = entries_[k];
        if (e.procedure)
            snprintf(line, sizeof line,
                     "entered from the host by the procedure at 0x%08X (window 0x%llX, message 0x%04X)\n",
                     e.procedure, (unsigned long long)e.window, e.message);
        else
            snprintf(line, sizeof line, "entered from the host by %s\n", e.what);
        report += line;
    }
    for (const ArmModule *module : modules_) {
        snprintf(line, sizeof line, " mapped at 0x%08X\n", module->image.base);
        report += Narrow(module->path) + line;
    }
    RoomLog(report);
    ExitProcess(kArmFaultExit);
}

void RoomLog(const std::string &text)
{
    fputs(text.c_str(), stderr);
    fflush(stderr);
    std::wstring path = RunFile(L"INKLEAF_ROOM_LOG");
    if (!path.empty())
        AppendToFile(path, text);
}

// The host procedures that run guest ones: one per slot, each knowing its
// slot by its template argument.
template <unsigned N>
LRESULT CALLBACK GuestProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ArmRoom::Get().CallProcedure(N, window, message, wParam, lParam);
}

template <unsigned... N>
static const WNDPROC *ProcedureTable(std::integer_sequence<unsigned, N...>)
{
    static const WNDPROC table[] = {GuestProcedure<N>...};
    return table;
}

static const WNDPROC *Procedures()
{
    return ProcedureTable(std::make_integer_sequence<unsigned, kProcedureSlots>());
}

LRESULT ArmRoom::CallProcedure(unsigned slot, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ScratchFrame frame(*this);
    MessageToGuest in(boundary, window, message, wParam, lParam, "a message to a guest procedure");
    Entry entry = {NULL, procedures_[slot], (uintptr_t)window, message, 0};
    return in.Finish(Enter(entry, procedures_[slot], {in.window, message, in.wParam, in.lParam}));
}

void *ArmRoom::HostProcedure(uint32_t address)
{
    if (!address)
        return NULL;
    if (cpu.memory.IsFree(address & ~1u, 4)) {
        // A host procedure the guest was handed and hands back (through a
        // truncated word, so only one that fits it).
        return (void *)(intptr_t)(int32_t)address;
    }
    for (unsigned k = 0; k < procedures_.size(); k++)
        if (procedures_[k] == address)
            return (void *)Procedures()[k];
    if (procedures_.size() == kProcedureSlots) {
        cpu.Stop(kStopHostCall, 0, address, "more guest procedures than the room's slots");
        Fault("handing a procedure to the host");
    }
    procedures_.push_back(address);
    return (void *)Procedures()[procedures_.size() - 1];
}

uint32_t ArmRoom::GuestProcedureOf(const void *host) const
{
    for (unsigned k = 0; k < procedures_.size(); k++)
        if ((const void *)Procedures()[k] == host)
            return procedures_[k];
    return 0;
}
