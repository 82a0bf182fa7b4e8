// Fuzz driver for the dialog template walker, built natively with the
// address and undefined-behaviour sanitizers. Every input lies at the end of
// its own heap block, so any read past the template is reported.
//
//   dialog_template_fuzz [ROUNDS]      deterministic mutations of seed templates
//   (with -DINKLEAF_LIBFUZZER and clang -fsanitize=fuzzer: a libFuzzer target)
#include "editor/dialog_template.h"
#include "template_builder.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// Walks the input as RelayoutDialog does and checks what the walker reports.
static void Walk(const uint8_t *data, size_t size)
{
    uint8_t *copy = (uint8_t *)malloc(size ? size : 1);
    if (size)
        memcpy(copy, data, size);
    bool complete = DialogTemplateIsComplete(copy, size);
    DialogHeader header;
    if (ReadDialogHeader(copy, size, &header)) {
        size_t offset = header.itemsOffset;
        DialogItem item;
        int read = 0;
        while (read < header.itemCount && ReadDialogItem(copy, size, &offset, &item)) {
            if (offset > size || (!item.title.isNumber && item.title.textOffset + 2 * item.title.textLength + 2 > size) ||
                (!item.classField.isNumber &&
                 item.classField.textOffset + 2 * item.classField.textLength + 2 > size)) {
                fprintf(stderr, "field outside the template\n");
                abort();
            }
            read++;
        }
        if (complete != (read == header.itemCount)) {
            fprintf(stderr, "completeness disagrees with the walk\n");
            abort();
        }
    } else if (complete) {
        fprintf(stderr, "complete without a header\n");
        abort();
    }
    free(copy);
}

#ifdef INKLEAF_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Walk(data, size);
    return 0;
}
#else
static uint32_t g_state = 12345;
static uint32_t Next()
{
    g_state ^= g_state << 13;
    g_state ^= g_state >> 17;
    g_state ^= g_state << 5;
    return g_state;
}

static std::vector<uint8_t> Mutate(std::vector<uint8_t> t)
{
    int changes = 1 + Next() % 4;
    for (int i = 0; i < changes; i++) {
        switch (Next() % 6) {
        case 0:     // flip a bit
            if (!t.empty())
                t[Next() % t.size()] ^= (uint8_t)(1u << (Next() % 8));
            break;
        case 1:     // cut the end
            if (!t.empty())
                t.resize(Next() % t.size());
            break;
        case 2:     // a word that means "number follows" or "end of string"
            if (t.size() >= 2) {
                size_t at = (Next() % (t.size() - 1)) & ~(size_t)1;
                uint16_t w = (Next() & 1) ? 0xFFFF : 0;
                t[at] = (uint8_t)w;
                t[at + 1] = (uint8_t)(w >> 8);
            }
            break;
        case 3:     // a random byte
            if (!t.empty())
                t[Next() % t.size()] = (uint8_t)Next();
            break;
        case 4:     // insert bytes
            t.insert(t.begin() + (t.empty() ? 0 : Next() % t.size()), 1 + Next() % 6, (uint8_t)Next());
            break;
        case 5:     // a large item count or creation data size
            if (t.size() > 10) {
                t[8] = (uint8_t)Next();
                t[9] = (uint8_t)Next();
            }
            break;
        }
    }
    return t;
}

int main(int argc, char **argv)
{
    long rounds = argc > 1 ? atol(argv[1]) : 200000;
    std::vector<std::vector<uint8_t>> seeds = {AboutLikeTemplate()};
    TemplateBuilder b;
    b.Header(0x80C00000, 2, 100, 60).Word(0).Word(0).String(u"ab");
    b.Item(0x50000000, 1, 2, 3, 4, 7).Number(0x0082).String(u"xy").Word(6).Word(1).Word(2);
    b.Item(0x50000000, -10, -10, 6, 6, 0xFFFF).String(u"SIPPREF").Word(0).Word(0);
    seeds.push_back(b.bytes);
    for (const auto &seed : seeds)
        for (size_t size = 0; size <= seed.size(); size++)
            Walk(seed.data(), size);
    for (long i = 0; i < rounds; i++) {
        std::vector<uint8_t> input = Mutate(seeds[i % seeds.size()]);
        if (i % 3 == 0)
            input = Mutate(input);
        Walk(input.data(), input.size());
    }
    printf("%ld mutated templates walked\n", rounds);
    return 0;
}
#endif
