// The Today stand-in's ARM item: the device's DLL mapped and run in the
// room, its entry called as the system calls a DLL's, ordinal 240 called
// with the host's TODAYLISTITEM and parent window.
#include "armroom/arm_item.h"
#include "armroom/layouts32.h"
#include "armroom/room.h"

namespace {

class ArmItemLibrary : public ItemLibrary {
public:
    ArmItemLibrary(const ArmModule *module, uint32_t initialize) : module_(module), initialize_(initialize) {}
    ~ArmItemLibrary()
    {
        if (module_->image.entry)
            ArmRoom::Get().Call(module_->image.entry, {module_->image.base, DLL_PROCESS_DETACH, 0},
                                "the item's DLL entry (detach)");
    }
    // The host's name of the module: the bytes the room mapped it into,
    // which the boundary gives the guest as its image base.
    HINSTANCE Instance() const { return (HINSTANCE)module_->host; }
    // The item gets a copy of INFO in its own layout; the height it sets
    // there comes back.
    HWND Initialize(TODAYLISTITEM *info, HWND parent)
    {
        ArmRoom &room = ArmRoom::Get();
        const char *what = "InitializeCustomItem (#240)";
        ArmRoom::ScratchFrame frame(room);
        uint32_t copy = GuestCopyOf(room.boundary, info, what);
        uint32_t window = room.Call(initialize_, {copy, room.boundary.GuestHandle(parent, what)}, what);
        if (info)
            info->cyp = room.boundary.HostObject<guest32::TODAYLISTITEM>(copy, what)->cyp;
        return (HWND)Boundary::HostHandle(window);
    }

private:
    const ArmModule *module_;
    uint32_t initialize_;
};

}  // namespace

ItemLibrary *OpenArmItem(const std::wstring &path, std::wstring *error)
{
    // The stand-in links what the item's desktop build does: the bitmap
    // loader and the transparent blit; its CreateWindowExW and
    // SetForegroundWindow are Wine's own. (LoadStringW is the room's own,
    // as the device means it.)
    RegisterCoredllPlatformFunctions();
    ArmRoom &room = ArmRoom::Get();
    const ArmModule *module = room.Load(path, error);
    if (!module)
        return NULL;
    uint32_t initialize = 0;
    if (!FindExport(module->image, "#240", initialize)) {
        *error = path + L" has no export ordinal 240";
        return NULL;
    }
    if (module->image.entry &&
        !room.Call(module->image.entry, {module->image.base, DLL_PROCESS_ATTACH, 0}, "the item's DLL entry (attach)")) {
        *error = path + L": its DLL entry refused DLL_PROCESS_ATTACH";
        return NULL;
    }
    return new ArmItemLibrary(module, initialize);
}
