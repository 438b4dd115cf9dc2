#pragma once
// Lets a libFuzzer target also build as a plain program: without
// -fsanitize=fuzzer, main() replays the files named on the command line, or
// a number of pseudo-random inputs when given "--random N".

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

#ifndef VOREL_LIBFUZZER
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
    for (const std::string& path : args) {
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    return 0;
}
#endif
