// Feeds arbitrary bytes to the image record reader, checker and decoder. An input that
// starts with the library signature is walked as a library file from its first
// record; any other input is taken as records from its first byte.
//
// Built plainly it replays the files named on the command line, or with
// --generate N corrupts N copies of a sound library and replays those;
// --seed FILE writes that sound library, as a start for a fuzzing corpus.

#define VOREL_FUZZ_OWN_MAIN
#include "../FuzzMain.h"
#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5Library.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {
// Touches every byte the surfaces may read, so that a band smaller than its
// geometry shows up under the address sanitizer.
unsigned TouchPixels(TZQ5Image& image) {
    unsigned sum = 0;
    for (auto& segment : image.Segments) {
        const uint8_t* data = segment->Lock();
        uint32_t bytes = SegmentBytes(image.Width(), image.Height(), segment->Index);
        for (uint32_t i = 0; i < bytes; ++i)
            sum += data[i];
        segment->Unlock();
    }
    return sum;
}

template <class Step> std::string ErrorOf(Step step) {
    try {
        step();
    } catch (const KelException& error) {
        return error.what();
    }
    return {};
}

void ReadRecords(MemoryStream& stream, int64_t offset) {
    while (offset < stream.Size()) {
        stream.Seek(offset);
        TZQ5Image image;
        image.Read(stream);
        offset = stream.Position(); // a read record leaves the stream just past it
        // The check alone must refuse exactly what decoding refuses.
        std::string checked = ErrorOf([&] { image.CheckAll(); });
        std::string decoded = ErrorOf([&] { image.DecodeAll(); });
        if (checked != decoded) {
            std::fprintf(stderr, "check \"%s\" but decode \"%s\"\n", checked.c_str(), decoded.c_str());
            std::abort();
        }
        if (!decoded.empty()) throw ZQ5Exception(decoded);
        TouchPixels(image);
        image.RecordBytes();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryStream stream(std::vector<uint8_t>(data, data + size));
    bool library = size >= 3 && data[0] == 0x5A && data[1] == 0x51 && data[2] == 5;
    try {
        ReadRecords(stream, library ? ZQ5FirstRecordOffset : 0);
    } catch (const KelException&) {
        // Refused input is the expected outcome.
    }
    return 0;
}

#ifndef VOREL_LIBFUZZER
namespace {
std::vector<uint8_t> SoundLibrary() {
    std::vector<std::vector<uint8_t>> records;
    std::mt19937 random(11);
    auto add = [&](uint16_t w, uint16_t h, auto pixel) {
        std::vector<uint8_t> lines(ImageBytes(w, h));
        for (unsigned s = 0; s < h; ++s)
            for (unsigned x = 0; x < w; ++x)
                lines[s * Stride(w) + x] = pixel(x, s);
        MemoryStream source(lines);
        TZQ5Image image;
        image.Init("img" + std::to_string(records.size()), &source, w, h);
        records.push_back(image.RecordBytes());
    };
    add(61, 40, [](unsigned x, unsigned s) { return static_cast<uint8_t>((x / 9 + s / 7) % 4 + 1); });
    add(300, 230,
        [](unsigned x, unsigned s) { return static_cast<uint8_t>(x * x + s * s < 20000 ? 40 : 217); });
    add(20, 30, [&](unsigned, unsigned) { return static_cast<uint8_t>(random()); });
    add(4, 40, [](unsigned x, unsigned s) { return static_cast<uint8_t>(10 + (x + 2 * s) / 4); });
    TZQ5Image blank;
    blank.Init("plain", nullptr, 9, 5);
    records.push_back(blank.RecordBytes());
    MemoryStream out;
    WriteZQ5Library(out, {}, records);
    return out.Data();
}

std::vector<uint8_t> Corrupt(const std::vector<uint8_t>& sound, std::mt19937& random) {
    std::vector<uint8_t> bytes = sound;
    unsigned edits = 1 + random() % 8;
    for (unsigned i = 0; i < edits; ++i) {
        // Most edits land in the records' headers, tables and first codes.
        size_t span = random() % 2 ? 400 : bytes.size() - ZQ5FirstRecordOffset;
        size_t at = ZQ5FirstRecordOffset + random() % span;
        if (at < bytes.size()) bytes[at] = static_cast<uint8_t>(random());
    }
    if (random() % 5 == 0)
        bytes.resize(ZQ5FirstRecordOffset + random() % (bytes.size() - ZQ5FirstRecordOffset));
    return bytes;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--seed") == 0) {
        MemoryStream(SoundLibrary()).SaveToFile(argv[2]);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--generate") == 0) {
        std::vector<uint8_t> sound = SoundLibrary();
        MemoryStream check(sound);
        ReadRecords(check, ZQ5FirstRecordOffset); // the sound library must read without error
        std::mt19937 random(1234);
        int count = std::stoi(argv[2]);
        for (int i = 0; i < count; ++i) {
            std::vector<uint8_t> input = Corrupt(sound, random);
            LLVMFuzzerTestOneInput(input.data(), input.size());
        }
        std::printf("%d corrupted libraries replayed\n", count);
        return 0;
    }
    int count = 0;
    for (int i = 1; i < argc; ++i)
        if (std::filesystem::exists(argv[i])) count += fuzzmain::Replay(argv[i]);
    std::printf("%d inputs replayed\n", count);
    return 0;
}
#endif
