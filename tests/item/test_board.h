// A Board in plain memory for the pixel and stamp tests: every pixel one
// grey to begin with, guard bytes on both sides to catch writes outside it.
#pragma once
#include "item/board_pixels.h"
#include <set>
#include <utility>
#include <vector>

typedef std::pair<int, int> Pixel;   // (column, stored row) or (dx, dr)
typedef std::set<Pixel> PixelSet;

struct TestBoard {
    enum { GUARD = 96 };
    std::vector<unsigned char> memory;
    BoardPixels board;
    unsigned char background;
    TestBoard(int w, int h, unsigned char grey = 0)
        : memory((size_t)w * h * 3 + 2 * GUARD, 0xAB), background(grey)
    {
        board = BoardPixels{w, h, memory.data() + GUARD};
        for (size_t i = 0; i < (size_t)w * h * 3; i++)
            board.bits[i] = grey;
    }
    bool GuardsIntact() const
    {
        for (int i = 0; i < GUARD; i++)
            if (memory[i] != 0xAB || memory[memory.size() - 1 - i] != 0xAB)
                return false;
        return true;
    }
    const unsigned char *At(int column, int row) const
    {
        return board.bits + BoardPixelOffset(board, column, row);
    }
    // Every pixel that no longer holds the starting grey.
    PixelSet Written() const
    {
        PixelSet out;
        for (int r = 0; r < board.height; r++)
            for (int c = 0; c < board.width; c++) {
                const unsigned char *p = At(c, r);
                if (p[0] != background || p[1] != background || p[2] != background)
                    out.insert({c, r});
            }
        return out;
    }
};
