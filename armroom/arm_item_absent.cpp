// The stand-in without the ARM room: the 64-bit build (the interpreter's
// guest addresses are host addresses, which a 64-bit process cannot give
// it), or a 32-bit build of a tree that has no room yet. An ARM item is
// refused with the reason.
#include "armroom/arm_item.h"

ItemLibrary *OpenArmItem(const std::wstring &path, std::wstring *error)
{
#ifdef _WIN64
    *error = L"an ARM item runs only in the 32-bit stand-in (this build is 64-bit)";
#else
    *error = L"cannot run the ARM item " + path + L": this stand-in was built without the ARM room";
#endif
    return NULL;
}
