// Reaching clipboard memory on desktop Windows.
#include "device.h"

extern "C" void *LockClipboardMemory(HANDLE memory)
{
    return GlobalLock(memory);
}

extern "C" void UnlockClipboardMemory(HANDLE memory)
{
    GlobalUnlock(memory);
}

extern "C" SIZE_T ClipboardMemorySize(HANDLE memory)
{
    return GlobalSize(memory);
}
