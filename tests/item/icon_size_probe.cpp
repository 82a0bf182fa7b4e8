// Loads the item library's state in a fresh process and exits with the
// width of its first icon, so a test can see the size the screen DPI gives.
#include "item/library.h"

int main()
{
    LibraryAttach(GetModuleHandleW(nullptr));
    int width = 0;
    ICONINFO info;
    if (g_item.icons[ICON_CORNER][1] && GetIconInfo(g_item.icons[ICON_CORNER][1], &info)) {
        BITMAP bm;
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
        width = bm.bmWidth;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    LibraryDetach();
    return width;
}
