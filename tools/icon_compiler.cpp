// icon_compiler: turns text pixel maps into a 16-colour Windows .ico file,
// one image per map.
//
// Usage: icon_compiler INPUT.txt [INPUT.txt ...] OUTPUT.ico
//
// Each map is one image of the icon: the same picture drawn for each size
// the system may ask for (16, 32 and 64 pixels). The sizes of the maps must
// differ; the images follow in the order of the maps.
//
// Input format
//   - A line whose first character is '#' is a comment. Blank lines (empty or
//     only spaces, tabs and a carriage return) are ignored. Both may appear
//     anywhere in the file.
//   - Every other line is one row of pixels, top row first. Trailing spaces,
//     tabs and a carriage return are dropped; anything else counts.
//   - The first row sets the size N, which must be 16, 32 or 64. The map must have
//     exactly N rows of exactly N characters each (square).
//   - One character per pixel:
//       .  transparent
//       k  black       000000      l  light grey  C0C0C0
//       r  dark red    800000      d  dark grey   808080
//       g  dark green  008000      R  red         FF0000
//       y  olive       808000      G  green       00FF00
//       b  navy        000080      Y  yellow      FFFF00
//       m  purple      800080      B  blue        0000FF
//       c  teal        008080      M  magenta     FF00FF
//       C  cyan        00FFFF      W  white       FFFFFF
//     The colour table of the output lists these 16 colours in exactly that
//     order, k first (index 0) and W last (index 15): the standard VGA palette.
//
// Output
//   The icon directory with one entry per map (width and height N, 16
//   colours, 1 plane, 4 bits per pixel), then the images in the same order,
//   each one: BITMAPINFOHEADER (biHeight = 2N,
//   4 bits per pixel, no compression), the 16-entry colour table, the XOR
//   bitmap (rows bottom-up, two pixels per byte, high nibble first, each row
//   padded to 4 bytes), then the 1-bit AND mask (1 = transparent, rows
//   bottom-up, most significant bit first, each row padded to 4 bytes).
//   A transparent pixel gets XOR index 0 (black): with the mask bit set, a
//   non-zero XOR value would invert the screen pixel instead of leaving it.
//
// Errors (unreadable input, wrong row length, unknown character, row count
// other than 16, 32 or 64, a size that an earlier map already has) are
// reported on stderr as FILE:LINE: message; the exit code is 1 and no output
// file is written. Bad usage exits with 2.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Palette characters in colour-table order.
const char kPaletteChars[] = "krgybmcldRGYBMCW";

// Colour table in the same order, as 0xRRGGBB. The two grey entries sit at
// their VGA places: 'l' (C0C0C0) is index 7, 'd' (808080) index 8.
const std::uint32_t kPaletteRgb[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

constexpr int kTransparent = -1;

struct ParseError {
    int line;
    std::string message;
};

// Returns the palette index of c, kTransparent for '.', or -2 when c is not
// a pixel character.
int PixelValue(char c) {
    if (c == '.') return kTransparent;
    for (int i = 0; i < 16; ++i) {
        if (kPaletteChars[i] == c) return i;
    }
    return -2;
}

std::string Describe(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    char buf[32];
    if (u >= 0x21 && u < 0x7F) {
        std::snprintf(buf, sizeof buf, "'%c'", c);
    } else {
        std::snprintf(buf, sizeof buf, "byte 0x%02X", u);
    }
    return buf;
}

using Rows = std::vector<std::vector<int>>;

// One parsed map: its rows of pixel values (top row first) and the line of
// its first row.
struct Map {
    Rows rows;
    int firstRowLine = 0;
};

// Parses the map text.
Map ParseMap(std::istream& in) {
    Map map;
    Rows& rows = map.rows;
    std::size_t size = 0;
    int lineNo = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++lineNo;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') continue;

        if (rows.empty()) {
            size = line.size();
            map.firstRowLine = lineNo;
            if (size != 16 && size != 32 && size != 64) {
                throw ParseError{lineNo, "first row is " + std::to_string(size) +
                                             " characters long; rows must be 16, 32 or 64 characters"};
            }
        } else if (rows.size() == size) {
            throw ParseError{lineNo, "extra row: the map already has " + std::to_string(size) + " rows"};
        }
        if (line.size() != size) {
            throw ParseError{lineNo, "row is " + std::to_string(line.size()) + " characters long, expected " +
                                         std::to_string(size)};
        }

        std::vector<int> row(size);
        for (std::size_t x = 0; x < size; ++x) {
            int v = PixelValue(line[x]);
            if (v == -2) {
                throw ParseError{lineNo, "column " + std::to_string(x + 1) + ": unknown pixel character " +
                                             Describe(line[x])};
            }
            row[x] = v;
        }
        rows.push_back(std::move(row));
    }
    if (in.bad()) throw ParseError{lineNo, "read error"};
    if (rows.empty()) throw ParseError{lineNo, "no pixel rows found"};
    if (rows.size() != size) {
        throw ParseError{lineNo, "map has " + std::to_string(rows.size()) + " rows, expected " +
                                     std::to_string(size) + " (as many as the row length)"};
    }
    return map;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::size_t Padded4(std::size_t bytes) { return (bytes + 3) / 4 * 4; }

const std::size_t kHeaderSize = 40;
const std::size_t kPaletteSize = 16 * 4;

std::size_t XorStride(std::size_t n) { return Padded4((n * 4 + 7) / 8); }
std::size_t AndStride(std::size_t n) { return Padded4((n + 7) / 8); }

// Bytes of one image of an N x N map: header, colour table, XOR and AND.
std::size_t ImageSize(std::size_t n) {
    return kHeaderSize + kPaletteSize + (XorStride(n) + AndStride(n)) * n;
}

// Appends the image of one map (what an ICONDIRENTRY points at).
void PutImage(std::vector<std::uint8_t>& out, const Rows& rows) {
    const std::size_t n = rows.size();
    const std::size_t xorStride = XorStride(n);
    const std::size_t andStride = AndStride(n);
    const std::size_t xorSize = xorStride * n;
    const std::size_t andSize = andStride * n;

    // BITMAPINFOHEADER
    Put32(out, static_cast<std::uint32_t>(kHeaderSize));
    Put32(out, static_cast<std::uint32_t>(n));      // biWidth
    Put32(out, static_cast<std::uint32_t>(2 * n));  // biHeight: XOR and AND halves
    Put16(out, 1);                                  // biPlanes
    Put16(out, 4);                                  // biBitCount
    Put32(out, 0);                                  // biCompression: BI_RGB
    Put32(out, static_cast<std::uint32_t>(xorSize + andSize));
    Put32(out, 0);  // biXPelsPerMeter
    Put32(out, 0);  // biYPelsPerMeter
    Put32(out, 0);  // biClrUsed: 0 = all 16
    Put32(out, 0);  // biClrImportant

    // Colour table as RGBQUAD (blue, green, red, 0).
    for (std::uint32_t rgb : kPaletteRgb) {
        out.push_back(static_cast<std::uint8_t>(rgb & 0xFF));
        out.push_back(static_cast<std::uint8_t>((rgb >> 8) & 0xFF));
        out.push_back(static_cast<std::uint8_t>((rgb >> 16) & 0xFF));
        out.push_back(0);
    }

    // XOR bitmap, bottom row first.
    for (std::size_t r = n; r-- > 0;) {
        std::vector<std::uint8_t> line(xorStride, 0);
        for (std::size_t x = 0; x < n; ++x) {
            int v = rows[r][x];
            std::uint8_t index = v == kTransparent ? 0 : static_cast<std::uint8_t>(v);
            line[x / 2] |= (x % 2 == 0) ? static_cast<std::uint8_t>(index << 4) : index;
        }
        out.insert(out.end(), line.begin(), line.end());
    }

    // AND mask, bottom row first; a set bit leaves the screen pixel as it is.
    for (std::size_t r = n; r-- > 0;) {
        std::vector<std::uint8_t> line(andStride, 0);
        for (std::size_t x = 0; x < n; ++x) {
            if (rows[r][x] == kTransparent) line[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), line.begin(), line.end());
    }
}

std::vector<std::uint8_t> BuildIco(const std::vector<Map>& maps) {
    std::vector<std::uint8_t> out;

    // ICONDIR
    Put16(out, 0);  // reserved
    Put16(out, 1);  // type: icon
    Put16(out, static_cast<std::uint32_t>(maps.size()));  // image count

    // One ICONDIRENTRY per map; the images follow the directory in order.
    std::size_t imageOffset = 6 + 16 * maps.size();
    for (const Map& map : maps) {
        const std::size_t n = map.rows.size();
        out.push_back(static_cast<std::uint8_t>(n));  // width
        out.push_back(static_cast<std::uint8_t>(n));  // height
        out.push_back(16);                             // colour count
        out.push_back(0);                              // reserved
        Put16(out, 1);                                 // planes
        Put16(out, 4);                                 // bits per pixel
        Put32(out, static_cast<std::uint32_t>(ImageSize(n)));
        Put32(out, static_cast<std::uint32_t>(imageOffset));
        imageOffset += ImageSize(n);
    }
    for (const Map& map : maps) PutImage(out, map.rows);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "icon_compiler")
                  << " INPUT.txt [INPUT.txt ...] OUTPUT.ico\n";
        return 2;
    }
    const std::string outPath = argv[argc - 1];

    std::vector<Map> maps;
    std::vector<std::string> inPaths;
    for (int a = 1; a < argc - 1; ++a) {
        const std::string inPath = argv[a];
        std::ifstream in(inPath, std::ios::binary);
        if (!in) {
            std::cerr << inPath << ": cannot open for reading\n";
            return 1;
        }
        Map map;
        try {
            map = ParseMap(in);
        } catch (const ParseError& e) {
            std::cerr << inPath << ":" << e.line << ": " << e.message << "\n";
            return 1;
        }
        for (std::size_t i = 0; i < maps.size(); ++i) {
            if (maps[i].rows.size() == map.rows.size()) {
                const std::string n = std::to_string(map.rows.size());
                std::cerr << inPath << ":" << map.firstRowLine << ": the map is " << n << " x " << n
                          << ", as " << inPaths[i] << " is; each image needs a size of its own\n";
                return 1;
            }
        }
        maps.push_back(std::move(map));
        inPaths.push_back(inPath);
    }

    const std::vector<std::uint8_t> ico = BuildIco(maps);
    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::cerr << outPath << ": cannot open for writing\n";
        return 1;
    }
    out.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
    out.close();
    if (!out) {
        std::cerr << outPath << ": write failed\n";
        std::remove(outPath.c_str());
        return 1;
    }
    return 0;
}
