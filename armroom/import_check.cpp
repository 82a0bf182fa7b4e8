// import_check: the ARM room's table of bindings (arm_imports.h) against
// what the device's files import and what platform/device_functions.txt
// allows them to call. Built for this machine; no Win32 in it.
//   import_check DEVICE_FUNCTIONS.txt FILE...
// Prints each disagreement and exits 1 when there is one.
#include "armroom/arm_imports.h"
#include "emulator/pe_loader.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>

namespace {

struct Row { std::string dll, name; uint32_t ordinal; };
#define TABLE_ROW(dll, name, ordinal, words, kind) {#dll ".DLL", #name, ordinal},
const Row kTable[] = {ARM_IMPORTS(TABLE_ROW)};

std::string Upper(std::string text)
{
    for (char &c : text)
        c = (char)toupper((unsigned char)c);
    return text;
}

// "DLL!name" or "DLL#ordinal", as the loader sees an import.
std::string Key(const std::string &dll, const std::string &name, uint32_t ordinal)
{
    return Upper(dll) + (name.empty() ? "#" + std::to_string(ordinal) : "!" + name);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::cerr << "usage: import_check DEVICE_FUNCTIONS.txt FILE...\n";
        return 2;
    }
    std::set<std::string> table, table_names, imported;
    for (const Row &row : kTable) {
        table.insert(Key(row.dll, row.ordinal ? "" : row.name, row.ordinal));
        table_names.insert(row.name);
    }
    int problems = 0;
    for (int k = 2; k < argc; k++) {
        std::ifstream in(argv[k], std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Cpu cpu;
        LoadedImage image;
        std::string error;
        ImportBinder record = [&](const std::string &dll, const std::string &name, uint32_t ordinal) {
            imported.insert(Key(dll, name, ordinal));
            return 0u;
        };
        if (LoadPeImage(cpu, bytes, record, image, error) != kPeLoaded) {
            std::cerr << argv[k] << ": " << error << "\n";
            return 2;
        }
    }
    for (const std::string &key : imported)
        if (!table.count(key))
            std::cout << "imported but not bound: " << key << "\n", problems++;
    std::ifstream list(argv[1]);
    std::string line, name;
    std::set<std::string> allowed;
    while (std::getline(list, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        while (words >> name) {
            allowed.insert(name);
            if (!table_names.count(name))
                std::cout << "allowed but not bound: " << name << "\n", problems++;
        }
    }
    for (const Row &row : kTable)
        if (!imported.count(Key(row.dll, row.ordinal ? "" : row.name, row.ordinal)) && !allowed.count(row.name))
            std::cout << "bound but neither imported nor allowed: " << row.name << "\n", problems++;
    std::cout << "import_check: " << imported.size() << " imports, " << table.size() << " bindings, "
              << allowed.size() << " allowed functions: " << (problems ? std::to_string(problems) + " disagreements" : "all agree")
              << "\n";
    return problems ? 1 : 0;
}
