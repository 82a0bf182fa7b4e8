// The page editor's command line, any text: the page number read from it.
#include "editor/command_line.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    size_t units = size / sizeof(TextUnit);
    TextUnit *line = (TextUnit *)malloc((units + 1) * sizeof(TextUnit));
    memcpy(line, data, units * sizeof(TextUnit));
    line[units] = 0;
    // A command line that is all digits, 1 to 5, names that page.
    int page = PageFromCommandLine(line);
    if (units == 1 && line[0] >= '1' && line[0] <= '5' && page != line[0] - '0')
        __builtin_trap();
    free(line);
    return 0;
}
