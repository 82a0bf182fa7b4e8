// compare_runs: compares what two runs of the Today stand-in's sessions left
// (out/demo/ and out/demo-arm/, say), file by file.
//
// Usage: compare_runs DIR_A DIR_B
//
// Every file and folder under DIR_A must be under DIR_B at the same relative
// path, and the other way round. A PNG image (a name ending in .png) is
// compared pixel by pixel, decoded to 8-bit RGBA by ImageMagick's convert:
// the same width and height, the same colour at every pixel, whatever the
// encoder's choices. Any other file is compared byte by byte. Files with
// the same bytes are equal without being decoded.
//
// Output: one line per difference, in the order of the relative paths:
//   PATH: only in A                      (or B)
//   PATH: a folder in A, a file in B     (or the reverse)
//   PATH: size WxH in A, WxH in B
//   PATH: pixel (X, Y): A (R, G, B, ALPHA), B (R, G, B, ALPHA)
//   PATH: byte OFFSET: A 0xHH, B 0xHH    (a file that ended there: "end of file")
//   PATH: not a readable PNG in A        (or B)
// where (X, Y) is the first differing pixel in row order and OFFSET the
// first differing byte; then one line naming both folders and the verdict.
// Exit code 0 when the two are equal, 1 when they differ, 2 on bad usage or
// when a file cannot be read.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct CannotRead {
    std::string path;
};

enum class Kind { kFile, kFolder };

// Every file and folder under ROOT, by path relative to it.
std::map<std::string, Kind> Listing(const fs::path& root) {
    std::map<std::string, Kind> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).generic_string();
        entries[relative] = entry.is_directory() ? Kind::kFolder : Kind::kFile;
    }
    return entries;
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CannotRead{path.string()};
    Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw CannotRead{path.string()};
    return data;
}

bool IsPng(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ending = name.substr(name.size() - 4);
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == ".png";
}

struct Image {
    std::uint32_t width = 0, height = 0;
    Bytes rgba;  // width * height pixels, 4 bytes each, row by row from the top
};

// The standard output of PROGRAM ARGS..., or nothing when it cannot be run
// or exits with a failure. Started without a shell: file names pass as they are.
std::optional<Bytes> Output(const std::vector<std::string>& command) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t child;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    Bytes out;
    if (spawned == 0) {
        std::uint8_t buffer[65536];
        ssize_t count;
        while ((count = read(pipe_ends[0], buffer, sizeof buffer)) > 0) out.insert(out.end(), buffer, buffer + count);
    }
    close(pipe_ends[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return out;
}

std::uint32_t BigEndian32(const Bytes& data, std::size_t at) {
    return std::uint32_t(data[at]) << 24 | std::uint32_t(data[at + 1]) << 16 | std::uint32_t(data[at + 2]) << 8 |
           data[at + 3];
}

// The pixels of a PNG file whose bytes are FILE: its size from the IHDR
// chunk, which a PNG has first, and its colours from convert.
std::optional<Image> DecodePng(const fs::path& path, const Bytes& file) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    static const char kHeader[4] = {'I', 'H', 'D', 'R'};
    if (file.size() < 24 || !std::equal(kSignature, kSignature + 8, file.begin()) ||
        !std::equal(kHeader, kHeader + 4, file.begin() + 12)) {
        return std::nullopt;
    }
    Image image;
    image.width = BigEndian32(file, 16);
    image.height = BigEndian32(file, 20);
    // "png:" makes convert read the file as a PNG, whatever its name holds.
    std::optional<Bytes> pixels = Output({"convert", "png:" + path.string(), "-depth", "8", "rgba:-"});
    if (!pixels || pixels->size() != std::uint64_t(image.width) * image.height * 4) return std::nullopt;
    image.rgba = std::move(*pixels);
    return image;
}

std::string Colour(const std::uint8_t* pixel) {
    std::ostringstream text;
    text << "(" << int(pixel[0]) << ", " << int(pixel[1]) << ", " << int(pixel[2]) << ", " << int(pixel[3]) << ")";
    return text.str();
}

std::string ByteAt(const Bytes& data, std::size_t offset) {
    if (offset >= data.size()) return "end of file";
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", data[offset]);
    return text;
}

// What differs between the two PNG images, or nothing.
std::optional<std::string> ImageDifference(const fs::path& a, const Bytes& a_bytes, const fs::path& b,
                                           const Bytes& b_bytes) {
    const std::optional<Image> image_a = DecodePng(a, a_bytes), image_b = DecodePng(b, b_bytes);
    if (!image_a || !image_b) return std::string("not a readable PNG in ") + (image_a ? "B" : "A");
    if (image_a->width != image_b->width || image_a->height != image_b->height) {
        std::ostringstream text;
        text << "size " << image_a->width << "x" << image_a->height << " in A, " << image_b->width << "x"
             << image_b->height << " in B";
        return text.str();
    }
    for (std::size_t at = 0; at < image_a->rgba.size(); at += 4) {
        const std::uint8_t* pixel_a = &image_a->rgba[at];
        const std::uint8_t* pixel_b = &image_b->rgba[at];
        if (!std::equal(pixel_a, pixel_a + 4, pixel_b)) {
            const std::size_t index = at / 4;
            std::ostringstream text;
            text << "pixel (" << index % image_a->width << ", " << index / image_a->width << "): A "
                 << Colour(pixel_a) << ", B " << Colour(pixel_b);
            return text.str();
        }
    }
    return std::nullopt;
}

// What differs between the files at A and B, or nothing.
std::optional<std::string> FileDifference(const fs::path& a, const fs::path& b) {
    const Bytes a_bytes = ReadFile(a), b_bytes = ReadFile(b);
    if (a_bytes == b_bytes) return std::nullopt;
    if (IsPng(a.filename().string())) return ImageDifference(a, a_bytes, b, b_bytes);
    std::size_t offset = 0;
    while (offset < a_bytes.size() && offset < b_bytes.size() && a_bytes[offset] == b_bytes[offset]) ++offset;
    return "byte " + std::to_string(offset) + ": A " + ByteAt(a_bytes, offset) + ", B " + ByteAt(b_bytes, offset);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || !fs::is_directory(argv[1]) || !fs::is_directory(argv[2])) {
        std::cerr << "usage: compare_runs DIR_A DIR_B (two folders)\n";
        return 2;
    }
    const fs::path root_a = argv[1], root_b = argv[2];
    try {
        const std::map<std::string, Kind> listing_a = Listing(root_a), listing_b = Listing(root_b);
        std::map<std::string, std::string> differences;
        std::size_t files = 0;
        for (const auto& [path, kind] : listing_a) {
            const auto in_b = listing_b.find(path);
            if (in_b == listing_b.end()) {
                differences[path] = "only in A";
            } else if (kind != in_b->second) {
                differences[path] = kind == Kind::kFolder ? "a folder in A, a file in B" : "a file in A, a folder in B";
            } else if (kind == Kind::kFile) {
                ++files;
                if (std::optional<std::string> difference = FileDifference(root_a / path, root_b / path)) {
                    differences[path] = *difference;
                }
            }
        }
        for (const auto& entry : listing_b) {
            if (!listing_a.count(entry.first)) differences[entry.first] = "only in B";
        }
        for (const auto& [path, difference] : differences) std::cout << path << ": " << difference << "\n";
        std::cout << "compare_runs: A " << root_a.string() << ", B " << root_b.string() << ": ";
        if (differences.empty()) {
            std::cout << "equal, " << files << " files\n";
            return 0;
        }
        std::cout << differences.size() << (differences.size() == 1 ? " path differs\n" : " paths differ\n");
        return 1;
    } catch (const CannotRead& e) {
        std::cerr << "compare_runs: cannot read " << e.path << "\n";
    } catch (const fs::filesystem_error& e) {
        std::cerr << "compare_runs: " << e.what() << "\n";
    }
    return 2;
}
