// The room's meter and the run's operation marks.
#include "armroom/meter.h"
#include "emulator/cpu.h"

#include <windows.h>
#include <algorithm>
#include <stdio.h>

namespace {

// The section every process of a run shares: the operation in progress,
// behind a sequence that is odd while the name is being written.
struct SharedOperation {
    volatile LONG sequence;
    char name[252];
};

SharedOperation *Shared()
{
    static SharedOperation *shared =
        (SharedOperation *)RunSection(L"InkleafMeterOperation", sizeof(SharedOperation));
    return shared;
}

std::string ImportName(const Cpu &cpu, uint32_t trap)
{
    auto found = cpu.traps.find(trap);
    if (found == cpu.traps.end())
        return "?";
    const std::string &label = found->second.name;
    return label.substr(label.find('!') + 1);
}

}  // namespace

void MarkOperation(const std::string &name)
{
    SharedOperation *shared = Shared();
    if (!shared)
        return;
    InterlockedIncrement(&shared->sequence);
    size_t length = std::min(name.size(), sizeof shared->name - 1);
    memcpy(shared->name, name.data(), length);
    shared->name[length] = 0;
    InterlockedIncrement(&shared->sequence);
}

std::pair<uint32_t, std::string> CurrentOperation()
{
    SharedOperation *shared = Shared();
    if (!shared)
        return {0, ""};
    for (;;) {
        LONG before = shared->sequence;
        std::string name(shared->name);
        if (!(before & 1) && before == shared->sequence)
            return {(uint32_t)before / 2, name};
        Sleep(0);
    }
}

void *RunSection(const wchar_t *name, uint32_t size)
{
    HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, size, name);
    return section ? MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, 0) : NULL;
}

std::wstring RunFile(const wchar_t *variable)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(variable, path, MAX_PATH);
    return length && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

std::wstring MeterFile()
{
    return RunFile(L"INKLEAF_METER");
}

bool AppendToMeterFile(const std::string &text)
{
    return AppendToFile(MeterFile(), text);
}

bool AppendToFile(const std::wstring &path, const std::string &text)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL) && written == text.size();
    CloseHandle(file);
    return ok;
}

void Meter::Start(Cpu &cpu, const std::string &program)
{
    cpu_ = &cpu;
    program_ = program;
    instructions_seen_ = instructions_start_ = cpu.count;
    moved_seen_ = moved_start_ = moved_;
    std::pair<uint32_t, std::string> now = CurrentOperation();
    mark_ = now.first;
    operations_[mark_] = now.second;
    operations_[kIdleMark] = "idle";
}

Meter::Count &Meter::Open()
{
    return counts_[Key(open_.back().second ? kIdleMark : mark_, open_.back().first)];
}

void Meter::Account()
{
    if (!open_.empty()) {
        Count &count = Open();
        count.instructions += cpu_->count - instructions_seen_;
        count.moved += moved_ - moved_seen_;
    }
    instructions_seen_ = cpu_->count;
    moved_seen_ = moved_;
    std::pair<uint32_t, std::string> now = CurrentOperation();
    if (now.first != mark_) {
        mark_ = now.first;
        operations_[mark_] = now.second;
    }
}

void Meter::Enter(const std::string &entry, bool idle)
{
    Account();
    open_.push_back(std::make_pair(entry, idle));
    cpu_->trap_calls = &Open().calls;
}

void Meter::Leave()
{
    Account();
    open_.pop_back();
    cpu_->trap_calls = open_.empty() ? nullptr : &Open().calls;
}

std::string Meter::Lines() const
{
    std::string lines;
    char number[64];
    uint64_t calls = 0;
    for (const auto &item : counts_) {
        const Count &count = item.second;
        snprintf(number, sizeof number, "%u\t", item.first.first);
        lines += "call\t" + std::string(number) + operations_.at(item.first.first) + "\t" + item.first.second;
        snprintf(number, sizeof number, "\t%llu\t%llu\t", (unsigned long long)count.instructions,
                 (unsigned long long)count.moved);
        lines += number;
        std::map<std::string, uint64_t> named;
        for (const auto &call : count.calls)
            named[ImportName(*cpu_, call.first)] += call.second;
        for (const auto &call : named) {
            snprintf(number, sizeof number, "=%llu ", (unsigned long long)call.second);
            lines += call.first + number;
            calls += call.second;
        }
        lines += "\n";
    }
    // The processor's and the runtime's own totals, not the lines' sums.
    snprintf(number, sizeof number, "\t%llu\t%llu\t%llu\n", (unsigned long long)(cpu_->count - instructions_start_),
             (unsigned long long)(moved_ - moved_start_), (unsigned long long)calls);
    return lines + "total\t" + program_ + number;
}

void Meter::Write()
{
    if (!On() || written_)
        return;
    Account();
    written_ = AppendToMeterFile(Lines());
}
