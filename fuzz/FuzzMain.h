#pragma once
// Lets a libFuzzer target also build as a plain program: without
// -fsanitize=fuzzer, main() replays the files named on the command line (a
// folder stands for every file in it, so that a corpus replays as a test), or
// a number of pseudo-random inputs when given "--random N". A driver with
// modes of its own defines VOREL_FUZZ_OWN_MAIN and calls fuzzmain::Replay.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fuzzmain {
inline std::vector<uint8_t> ReadInput(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Replays the file, or every file below the folder; returns how many.
inline int Replay(const std::filesystem::path& path) {
    if (!std::filesystem::is_directory(path)) {
        std::vector<uint8_t> bytes = ReadInput(path);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        return 1;
    }
    int count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
        if (entry.is_regular_file()) count += Replay(entry.path());
    return count;
}
} // namespace fuzzmain

#if !defined(VOREL_LIBFUZZER) && !defined(VOREL_FUZZ_OWN_MAIN)
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--random") {
        std::mt19937 random(12345);
        int runs = std::stoi(args[1]);
        for (int i = 0; i < runs; ++i) {
            std::vector<uint8_t> bytes(random() % 512);
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(random() % 4 == 0 ? random() : random() % 8);
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        }
        return 0;
    }
    int count = 0;
    for (const std::string& path : args) {
        if (!std::filesystem::exists(path)) continue; // a corpus without reproducers yet
        count += fuzzmain::Replay(path);
    }
    std::printf("%d inputs replayed\n", count);
    return 0;
}
#endif
