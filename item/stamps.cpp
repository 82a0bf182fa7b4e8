#include "board_primitives.h"

// Shape stamps arrive with the stamp tool; until then a stamp writes nothing.
void StampShape(const BoardPixels &, int, int)
{
}
