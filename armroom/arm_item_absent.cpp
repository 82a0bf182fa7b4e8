// The 64-bit stand-in has no ARM room: the interpreter's guest addresses
// are host addresses, which a 64-bit process cannot give it. An ARM item is
// refused with the reason.
#include "armroom/arm_item.h"

ItemLibrary *OpenArmItem(const std::wstring &, std::wstring *error)
{
    *error = L"an ARM item runs only in the 32-bit stand-in (this build is 64-bit)";
    return NULL;
}
