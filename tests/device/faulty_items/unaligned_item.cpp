// A Today item that faults as soon as it starts: InitializeCustomItem reads
// a 32-bit word at an odd address, which the device's ARM core refuses
// (datatype misalignment). For the fault report's checks.
#include <windows.h>
#include <todaycmn.h>

static unsigned char g_bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
// Read at run time, so that the compiler cannot see the address is odd and
// split the read into byte loads.
static volatile unsigned int g_offset = 1;

extern "C" HWND WINAPI InitializeCustomItem(TODAYLISTITEM *, HWND)
{
    unsigned long address = (unsigned long)g_bytes + g_offset;
    unsigned int word = *(volatile unsigned int *)address;
    return word ? (HWND)0 : (HWND)1;
}
