// The page editor's command line, free of Win32 calls.
#pragma once
#include "../common/text_units.h"

// The page number the editor is started with: the command line read as a
// decimal number (leading white space, a sign, digits up to the first
// other character); 0 when it holds none or does not fit in 32 bits.
int PageFromCommandLine(const TextUnit *commandLine);
