// inkpad_app: edits the text of one page of the Inkleaf Today item. The
// item starts it with the page number (1..5) as the command line.
#include "app_start.h"

#ifdef UNDER_CE
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
#else
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
#endif
{
    return RunEditor(instance, commandLine, showCommand);
}
