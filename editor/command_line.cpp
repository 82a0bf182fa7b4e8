#include "command_line.h"
#include "../common/registry_text.h"

int PageFromCommandLine(const TextUnit *commandLine)
{
    int page = 0;
    if (!commandLine || !ParseDecimal(commandLine, &page))
        return 0;
    return page;
}
