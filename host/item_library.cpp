// Opening the item's file: its PE header's machine field says who runs it.
// A desktop DLL (x86 or x64) is loaded by the system, an ARM file goes to
// the ARM room (armroom/), which runs it in the interpreter.
#include "item_library.h"
#include "text_and_paths.h"
#include "armroom/arm_item.h"
#include "armroom/pe_machine.h"

#include <cwchar>

namespace {

// A DLL of the stand-in's own processor, loaded by the system.
class DesktopItemLibrary : public ItemLibrary {
public:
    DesktopItemLibrary(HMODULE module, PFNCUSTOMINITIALIZEITEM initialize)
        : module_(module), initialize_(initialize) {}
    ~DesktopItemLibrary() override { FreeLibrary(module_); }
    HINSTANCE Instance() const override { return module_; }
    HWND Initialize(TODAYLISTITEM *info, HWND parent) override { return initialize_(info, parent); }

private:
    HMODULE module_;
    PFNCUSTOMINITIALIZEITEM initialize_;
};

// Loads PATH, or, when that fails for a Unix path, the file Wine maps it to.
ItemLibrary *OpenDesktopItem(std::wstring path, std::wstring *error)
{
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module && path[0] == L'/') {
        path = ResolvePath(path);
        module = LoadLibraryW(path.c_str());
    }
    wchar_t text[MAX_PATH + 64];
    if (!module) {
        swprintf(text, sizeof(text) / sizeof(text[0]), L"cannot load %ls (error %lu)", path.c_str(),
                 (unsigned long)GetLastError());
        *error = text;
        return NULL;
    }
    PFNCUSTOMINITIALIZEITEM initialize =
        (PFNCUSTOMINITIALIZEITEM)(void *)GetProcAddress(module, MAKEINTRESOURCEA(240));
    if (!initialize) {
        *error = path + L" has no export ordinal 240";
        FreeLibrary(module);
        return NULL;
    }
    return new DesktopItemLibrary(module, initialize);
}

}   // namespace

ItemLibrary *OpenItemLibrary(const std::wstring &path, std::wstring *error)
{
    // The header is read at the path, or, for a Unix path that does not
    // open, in the file Wine maps it to. A file whose header cannot be read
    // is left to LoadLibraryW, whose error the message then gives.
    std::wstring file = path;
    WORD machine = 0;
    bool read = ReadPeMachine(file.c_str(), &machine);
    if (!read && path[0] == L'/') {
        file = ResolvePath(path);
        read = ReadPeMachine(file.c_str(), &machine);
    }
    if (read && IsArmMachine(machine))
        return OpenArmItem(file, error);
    return OpenDesktopItem(path, error);
}
