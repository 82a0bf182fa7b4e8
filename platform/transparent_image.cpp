// TransparentImage: a colour-keyed copy between DCs (or from a bitmap).
#include "device.h"

extern "C" BOOL TransparentImage(HDC dest, LONG destX, LONG destY, LONG destWidth, LONG destHeight,
                                 HANDLE source, LONG sourceX, LONG sourceY, LONG sourceWidth,
                                 LONG sourceHeight, COLORREF transparent)
{
    if (GetObjectType(source) == OBJ_BITMAP) {
        HDC memory = CreateCompatibleDC(dest);
        HGDIOBJ previous = SelectObject(memory, source);
        BOOL ok = TransparentBlt(dest, destX, destY, destWidth, destHeight, memory, sourceX, sourceY,
                                 sourceWidth, sourceHeight, transparent);
        SelectObject(memory, previous);
        DeleteDC(memory);
        return ok;
    }
    return TransparentBlt(dest, destX, destY, destWidth, destHeight, (HDC)source, sourceX, sourceY,
                          sourceWidth, sourceHeight, transparent);
}
