// board_corpus: writes a corpus of board files, good and malformed, for the
// loader's tests and as seeds for fuzzing.
//   board_corpus OUTDIR [small]
// "small" leaves out the 640 x 640 files.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;

void Put16(Bytes &f, size_t at, unsigned v) { f[at] = v & 0xFF; f[at + 1] = (v >> 8) & 0xFF; }
void Put32(Bytes &f, size_t at, uint32_t v) { Put16(f, at, v & 0xFFFF); Put16(f, at + 2, v >> 16); }

// A BMP of width x height at `bits` per pixel with a colour table where
// needed, rows padded as loaders expect unless `unpadded`.
Bytes Bitmap(int width, int height, int bits, bool unpadded = false)
{
    size_t table = bits <= 8 ? (4u << bits) : 0;
    size_t row = unpadded ? (size_t)width * bits / 8 : ((size_t)width * bits + 31) / 32 * 4;
    size_t pixels = row * (size_t)(height < 0 ? -height : height);
    Bytes f(54 + table + pixels, 0);
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 2, (uint32_t)f.size());
    Put32(f, 10, (uint32_t)(54 + table));
    Put32(f, 14, 40);
    Put32(f, 18, (uint32_t)width);
    Put32(f, 22, (uint32_t)height);
    Put16(f, 26, 1);
    Put16(f, 28, (unsigned)bits);
    Put32(f, 34, (uint32_t)pixels);
    for (size_t i = 54 + table; i < f.size(); i++)
        f[i] = (uint8_t)(i * 7);
    return f;
}

bool Write(const std::string &dir, const std::string &name, const Bytes &bytes)
{
    FILE *file = std::fopen((dir + "/" + name).c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: board_corpus OUTDIR [small]\n");
        return 2;
    }
    std::string dir = argv[1];
    bool small = argc > 2 && std::string(argv[2]) == "small";
    bool ok = true;
    const Bytes good = Bitmap(8, 4, 24);
    ok &= Write(dir, "good_8x4.bmp", good);
    ok &= Write(dir, "good_top_down_8x4.bmp", Bitmap(8, -4, 24));
    for (size_t cut = 0; cut < good.size(); cut += (cut < 60 ? 1 : 17))
        ok &= Write(dir, "cut_at_" + std::to_string(cut) + ".bmp", Bytes(good.begin(), good.begin() + cut));
    for (int bits : {1, 4, 8, 16, 32})
        ok &= Write(dir, "bits_" + std::to_string(bits) + ".bmp", Bitmap(8, 4, bits));
    ok &= Write(dir, "width_5_padded.bmp", Bitmap(5, 4, 24));
    ok &= Write(dir, "width_5_unpadded.bmp", Bitmap(5, 4, 24, true));
    // Every header field out of range, one at a time.
    struct Field { const char *name; size_t at; uint32_t value; int size; };
    const Field fields[] = {
        {"magic", 0, 0x5858, 2},          {"file_size", 2, 0xFFFFFFFF, 4},
        {"offset_huge", 10, 0x7FFFFFFF, 4}, {"offset_inside", 10, 20, 4},
        {"info_size_12", 14, 12, 4},      {"info_size_huge", 14, 0xFFFFFF00, 4},
        {"width_zero", 18, 0, 4},         {"width_negative", 18, 0xFFFFFFF8, 4},
        {"width_huge", 18, 0x00100000, 4}, {"height_zero", 22, 0, 4},
        {"height_huge", 22, 0x7FFFFFFF, 4}, {"height_min", 22, 0x80000000, 4},
        {"planes", 26, 3, 2},             {"bits_7", 28, 7, 2},
        {"bits_zero", 28, 0, 2},          {"rle8", 30, 1, 4},
        {"rle4", 30, 2, 4},               {"bitfields_24", 30, 3, 4},
        {"jpeg", 30, 4, 4},               {"colors_used_huge", 46, 0xFFFFFFFF, 4},
    };
    for (const Field &f : fields) {
        Bytes bytes = good;
        if (f.size == 2)
            Put16(bytes, f.at, f.value);
        else
            Put32(bytes, f.at, f.value);
        ok &= Write(dir, std::string("field_") + f.name + ".bmp", bytes);
    }
    if (!small) {
        ok &= Write(dir, "good_640.bmp", Bitmap(640, 640, 24));
        ok &= Write(dir, "width_641.bmp", Bitmap(641, 640, 24));
        ok &= Write(dir, "top_down_640.bmp", Bitmap(640, -640, 24));
        ok &= Write(dir, "bits_32_640.bmp", Bitmap(640, 640, 32));
        Bytes short640 = Bitmap(640, 640, 24);
        short640.resize(short640.size() - 1);
        ok &= Write(dir, "short_by_one_640.bmp", short640);
        ok &= Write(dir, "bits_8_640.bmp", Bitmap(640, 640, 8));
    }
    if (!ok) {
        std::fprintf(stderr, "board_corpus: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
