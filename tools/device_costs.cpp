// The device's cost table, from the meter's files (armroom/meter.h,
// host/operation_clock.h): one row per operation a user does, with its ARM
// instructions and their time at 416 MHz, the platform calls it makes, the
// same operation's wall time in the desktop build under wine, and the limit
// its kind of operation is held to.
//
//   device_costs table SCREEN ARM.meter DESKTOP.meter   the table, as Markdown
//   device_costs check ARM.meter [ARM2.meter]           every process's rows add
//       up to its room's totals; with a second run, both counted the same
// Exit status 1 when a check fails, 2 on bad input.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double kHz = 416e6;

std::vector<std::string> Split(const std::string &line, char separator)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, separator);)
        fields.push_back(field);
    return fields;
}

struct Operation {
    std::string name;
    uint64_t instructions = 0, moved = 0;
    std::map<std::string, uint64_t> calls;     // by import
    std::map<std::string, uint64_t> entries;   // instructions by host call
    double desktop = -1;                       // seconds, or -1: not timed
};

struct Meter {
    std::vector<std::string> order;            // operation names, as first marked
    std::map<std::string, Operation> operations;
    std::vector<std::string> failures;         // rows that do not add up to a total
    std::multiset<std::string> rows;           // every row but the idle ones, to compare runs
};

Operation &Named(Meter &m, const std::string &name)
{
    if (!m.operations.count(name))
        m.order.push_back(name);
    Operation &op = m.operations[name];
    op.name = name;
    return op;
}

bool Read(const std::string &path, Meter &m)
{
    std::ifstream in(path);
    if (!in) {
        fprintf(stderr, "device_costs: cannot read %s\n", path.c_str());
        return false;
    }
    uint64_t instructions = 0, moved = 0;      // the rows of the process being read
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> f = Split(line, '\t');
        if (f.size() >= 4 && f[0] == "time") {
            Operation &op = Named(m, f[2]);
            op.desktop = std::max(op.desktop, 0.0) + atof(f[3].c_str());
        } else if (f.size() >= 6 && f[0] == "call") {
            uint64_t n = strtoull(f[4].c_str(), NULL, 10), bytes = strtoull(f[5].c_str(), NULL, 10);
            Operation &op = Named(m, f[2]);
            op.instructions += n;
            op.moved += bytes;
            op.entries[f[3]] += n;
            for (const std::string &call : Split(f.size() > 6 ? f[6] : "", ' ')) {
                size_t equals = call.rfind('=');
                if (equals != std::string::npos)
                    op.calls[call.substr(0, equals)] += strtoull(call.c_str() + equals + 1, NULL, 10);
            }
            instructions += n;
            moved += bytes;
            if (f[2] != "idle")
                m.rows.insert(line.substr(line.find('\t', 5)));   // without the mark's number
        } else if (f.size() >= 4 && f[0] == "total") {
            uint64_t total = strtoull(f[2].c_str(), NULL, 10), total_moved = strtoull(f[3].c_str(), NULL, 10);
            if (total != instructions || total_moved != moved) {
                char text[200];
                snprintf(text, sizeof text, "%s: rows %llu instructions, %llu bytes; room %llu, %llu", f[1].c_str(),
                         (unsigned long long)instructions, (unsigned long long)moved, (unsigned long long)total,
                         (unsigned long long)total_moved);
                m.failures.push_back(text);
            }
            instructions = moved = 0;
        } else if (!line.empty()) {
            fprintf(stderr, "device_costs: %s: not a meter line: %s\n", path.c_str(), line.c_str());
            return false;
        }
    }
    return true;
}

std::string Grouped(uint64_t n)
{
    std::string digits = std::to_string(n), out;
    for (size_t k = 0; k < digits.size(); k++) {
        if (k && (digits.size() - k) % 3 == 0)
            out += ',';
        out += digits[k];
    }
    return out;
}

// The limit of an operation, by the kind its name starts with ("frame: ...";
// "stroke" is thirty moves):
// seconds, or 0 for the refresh query, held to its cost over a day.
double LimitOf(const std::string &name, std::string *label)
{
    std::string kind = name.substr(0, name.find(':'));
    if (kind == "frame") { *label = "16 ms (a frame)"; return 0.016; }
    if (kind == "tap") { *label = "100 ms (a tap's answer)"; return 0.1; }
    if (kind == "start") { *label = "1 s (a start)"; return 1.0; }
    if (kind == "stroke") { *label = "480 ms (30 frames)"; return 0.48; }
    *label = "its day: one query every 2 s";
    return 0;
}

std::string CallList(const Operation &op)
{
    std::vector<std::pair<uint64_t, std::string> > calls;
    for (const auto &call : op.calls)
        calls.push_back({call.second, call.first});
    std::sort(calls.begin(), calls.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::string list;
    for (const auto &call : calls)
        list += (list.empty() ? "" : ", ") + call.second + " " + std::to_string(call.first);
    return list;
}

// Where an operation's instructions go: its costliest host calls.
std::string Where(const Operation &op)
{
    std::vector<std::pair<uint64_t, std::string> > entries;
    for (const auto &entry : op.entries)
        entries.push_back({entry.second, entry.first});
    std::sort(entries.rbegin(), entries.rend());
    std::string text;
    for (size_t k = 0; k < entries.size() && k < 2; k++) {
        char share[32];
        snprintf(share, sizeof share, " (%.0f%%)", op.instructions ? 100.0 * entries[k].first / op.instructions : 0.0);
        text += (text.empty() ? "" : ", ") + entries[k].second + share;
    }
    return text;
}

int Table(const std::string &screen, const Meter &arm, const Meter &desktop)
{
    printf("| Operation (%s screen) | ARM instructions | ms at 416 MHz | Bytes moved | Desktop under wine (ms) | Limit | Over on the device | Platform calls |\n",
           screen.c_str());
    printf("|---|---:|---:|---:|---:|---|---|---|\n");
    std::vector<std::string> notes, wine_notes;
    for (const std::string &name : arm.order) {
        if (name == "idle")
            continue;
        const Operation &op = arm.operations.at(name);
        auto timed = desktop.operations.find(name);
        double wine = timed == desktop.operations.end() ? -1 : timed->second.desktop;
        std::string label, over;
        double limit = LimitOf(name, &label), device = op.instructions / kHz;
        if (limit > 0) {
            if (device > limit) {
                over = "yes";
                notes.push_back(name + ": " + Grouped(op.instructions) + " instructions (" +
                                std::to_string(device * 1000).substr(0, 5) + " ms at 416 MHz); they go to " +
                                Where(op) + "; its calls: " + CallList(op) + ".");
            }
            if (wine > limit)
                wine_notes.push_back(name.substr(name.find(':') + 2) + " (" + std::to_string(wine * 1000).substr(0, 5) +
                                     " ms)");
        } else {
            char day[160];
            snprintf(day, sizeof day, "%s instructions a day, %.4f%% of the core",
                     Grouped(op.instructions * 43200).c_str(), 100.0 * op.instructions / 2 / kHz);
            label += std::string(": ") + day;
        }
        char wine_ms[32] = "-";
        if (wine >= 0)
            snprintf(wine_ms, sizeof wine_ms, "%.2f", wine * 1000);
        printf("| %s | %s | %.3f | %s | %s | %s | %s | %s |\n", name.substr(name.find(':') + 2).c_str(),
               Grouped(op.instructions).c_str(), device * 1000, Grouped(op.moved).c_str(), wine_ms, label.c_str(),
               over.empty() ? "no" : over.c_str(), CallList(op).c_str());
    }
    auto idle = arm.operations.find("idle");
    if (idle != arm.operations.end())
        printf("\nApart from the rows: %s instructions in the popup menus' WM_ENTERIDLE calls while they wait for "
               "the stylus (as many as the wait is long).\n",
               Grouped(idle->second.instructions).c_str());
    printf("\nOver their limit on the device, on the %s screen:%s\n", screen.c_str(), notes.empty() ? " none." : "");
    for (const std::string &note : notes)
        printf("- %s\n", note.c_str());
    if (!wine_notes.empty()) {
        printf("\nOver their limit in the desktop build under wine on this machine (its platform calls, not the "
               "device's):");
        for (size_t k = 0; k < wine_notes.size(); k++)
            printf("%s %s", k ? ";" : "", wine_notes[k].c_str());
        printf(".\n");
    }
    return 0;
}

int Check(const Meter &first, const Meter *second)
{
    int status = 0;
    for (const std::string &failure : first.failures) {
        fprintf(stderr, "device_costs: the rows do not add up: %s\n", failure.c_str());
        status = 1;
    }
    if (second && second->rows != first.rows) {
        size_t differ = 0;
        for (const std::string &row : first.rows)
            differ += !second->rows.count(row);
        fprintf(stderr, "device_costs: the two runs counted differently (%zu rows of %zu)\n", differ, first.rows.size());
        status = 1;
    }
    if (!status)
        printf("device_costs: %zu rows add up to their rooms' totals%s\n", first.rows.size(),
               second ? "; both runs counted the same" : "");
    return status;
}

}  // namespace

int main(int argc, char **argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    Meter a, b;
    if (command == "table" && argc == 5 && Read(argv[3], a) && Read(argv[4], b))
        return Table(argv[2], a, b);
    if (command == "check" && (argc == 3 || argc == 4) && Read(argv[2], a) && (argc == 3 || Read(argv[3], b)))
        return Check(a, argc == 4 ? &b : NULL);
    fprintf(stderr, "usage: device_costs table SCREEN ARM.meter DESKTOP.meter | check ARM.meter [ARM2.meter]\n");
    return 2;
}
