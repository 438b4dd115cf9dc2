// zq5 info, export and pack: inspect an image library, take one picture out
// as a PNG, and build a library from palettised PNGs.

#include "ToolCommand.h"

#include "common/IndexedPng.h"
#include "common/PaletteFile.h"
#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "image/LibraryImage.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5Library.h"
#include "image/ZQ5Record.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>
#include <stdexcept>

namespace {
int Usage(const std::string& text) {
    std::cerr << "usage: vorel-tool zq5 " << text << "\n";
    return 2;
}

std::array<uint8_t, ZQ5PaletteSize> PaletteOf(MemoryStream& file) {
    std::array<uint8_t, ZQ5PaletteSize> palette{};
    file.Seek(ZQ5FileHeaderSize);
    if (file.Read(palette.data(), palette.size()) != palette.size())
        throw ZQ5Exception("Load: palette incomplete");
    return palette;
}

// Checks the file header and returns the file in memory.
MemoryStream OpenLibraryFile(const std::string& path) {
    MemoryStream file;
    file.LoadFromFile(path);
    uint8_t header[ZQ5FileHeaderSize] = {};
    if (file.Read(header, sizeof header) != sizeof header)
        throw ZQ5Exception("ValidateZQ5FileHeader: header invalid");
    TZQ5Library::ValidateZQ5FileHeader(header);
    return file;
}

void PrintRecord(const TZQ5ImageHeader& h, uint32_t size) {
    std::printf("%-8s %5u %6u %8u %4u %11u %4u %8u\n", h.NameText().c_str(), h.Width, h.Height,
                h.SegmentCount, h.State, h.TransparentIndex, h.Transparent, size);
}

int Info(const std::vector<std::string>& args) {
    if (args.size() != 1) return Usage("info FILE.zq5");
    MemoryStream file = OpenLibraryFile(args[0]);
    PaletteOf(file);
    const std::vector<uint8_t>& bytes = file.Data();
    std::printf("signature: %c%c %u\nrevision: %u\nfile size: %lld\n", bytes[0], bytes[1], bytes[2],
                bytes[4] | (bytes[5] << 8), static_cast<long long>(file.Size()));
    std::printf("name     width height segments kind transparent flag     size\n");
    int64_t offset = ZQ5FirstRecordOffset;
    unsigned records = 0;
    while (offset < file.Size()) {
        // Every record is decoded, so that info also proves the file sound.
        file.Seek(offset);
        TZQ5Image image;
        image.Read(file);
        image.DecodeAll();
        file.Seek(offset);
        ZQ5RecordLayout layout = ReadRecordLayout(file, file.Size() - offset);
        PrintRecord(layout.Header, layout.RecordSize());
        offset += layout.RecordSize();
        ++records;
    }
    std::printf("records: %u\n", records);
    return 0;
}

std::vector<uint8_t> StoredPixels(TZQ5Image& image) {
    std::vector<uint8_t> lines;
    for (auto& segment : image.Segments) {
        const uint8_t* data = segment->Lock();
        lines.insert(lines.end(), data, data + SegmentBytes(image.Width(), image.Height(), segment->Index));
        segment->Unlock();
    }
    return lines;
}

int Export(const std::vector<std::string>& args) {
    if (args.size() != 3) return Usage("export FILE.zq5 NAME OUT.png");
    MemoryStream file = OpenLibraryFile(args[0]);
    PaletteColours palette = FromLibraryPalette(PaletteOf(file));
    TZQ5Library library;
    library.Load(args[0], true);
    const TLibraryImage taken = TLibraryImage::Take(library, args[1]);
    TZQ5Image& image = *taken.Node()->Image;
    WriteIndexedPng(args[2], FromStoredLines(StoredPixels(image), image.Width(), image.Height()), palette);
    return 0;
}

struct PackItem {
    std::string Path;
    std::string Name;
    int Transparent = -1;
};

int ParseIndex(const std::string& text) {
    size_t used = 0;
    int value = -1;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
    }
    if (used != text.size() || value < 0 || value > 255)
        throw std::runtime_error("--transparent " + text + ": a palette index from 0 to 255 is needed");
    return value;
}

// Names keep their case in the record but, as everywhere, only their first 8
// characters count.
std::string CheckedName(const std::string& name) {
    if (name.empty()) throw std::runtime_error("--name: a name is needed");
    for (char c : name)
        if (c <= ' ' || c > '~')
            throw std::runtime_error("--name " + name + ": only printable ASCII is allowed");
    return name.substr(0, 8);
}

std::vector<PackItem> ParsePackItems(const std::vector<std::string>& args) {
    std::vector<PackItem> items;
    PackItem next;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool takesValue = arg == "--name" || arg == "--transparent";
        if (takesValue && i + 1 == args.size()) throw std::runtime_error(arg + ": a value is needed");
        if (arg == "--name")
            next.Name = CheckedName(args[++i]);
        else if (arg == "--transparent")
            next.Transparent = ParseIndex(args[++i]);
        else if (arg.starts_with("--"))
            throw std::runtime_error(arg + ": unknown option");
        else {
            next.Path = arg;
            if (next.Name.empty()) next.Name = ImageKey(std::filesystem::path(arg).stem().string());
            items.push_back(next);
            next = PackItem{};
        }
    }
    if (!next.Name.empty() || next.Transparent >= 0)
        throw std::runtime_error("an option at the end applies to no image");
    return items;
}

std::vector<uint8_t> PackRecord(const PackItem& item) {
    IndexedPicture picture = ReadIndexedPng(item.Path);
    if (picture.Width > 65535 || picture.Height > 65535)
        throw std::runtime_error(item.Path + ": pictures are at most 65535 pixels wide and high");
    MemoryStream source(ToStoredLines(picture));
    TZQ5Image image;
    try {
        image.Init(item.Name, &source, static_cast<uint16_t>(picture.Width),
                   static_cast<uint16_t>(picture.Height));
    } catch (const ZQ5Exception& error) {
        throw std::runtime_error(item.Path + ": " + error.what());
    }
    if (item.Transparent >= 0) {
        image.Header.TransparentIndex = static_cast<uint8_t>(item.Transparent);
        image.Header.Transparent = 1;
    }
    return image.RecordBytes();
}

int Pack(const std::vector<std::string>& args) {
    if (args.size() < 3)
        return Usage("pack OUT.zq5 PALETTE.txt [--name NAME] [--transparent N] IMAGE.png...");
    PaletteColours palette = ReadPaletteFile(args[1]);
    std::vector<PackItem> items = ParsePackItems(std::vector<std::string>(args.begin() + 2, args.end()));
    if (items.empty()) return Usage("pack OUT.zq5 PALETTE.txt [--name NAME] [--transparent N] IMAGE.png...");
    std::vector<std::vector<uint8_t>> records;
    std::set<std::string> names;
    for (const PackItem& item : items) {
        if (!names.insert(ImageKey(item.Name)).second)
            throw std::runtime_error(item.Path + ": the image name \"" + item.Name + "\" is used twice");
        records.push_back(PackRecord(item));
    }
    MemoryStream out;
    WriteZQ5Library(out, ToLibraryPalette(palette), records);
    out.SaveToFile(args[0]);
    return 0;
}

const ToolCommand InfoCommand("zq5", "info", "FILE.zq5", Info);
const ToolCommand ExportCommand("zq5", "export", "FILE.zq5 NAME OUT.png", Export);
const ToolCommand PackCommand("zq5", "pack",
                              "OUT.zq5 PALETTE.txt [--name NAME] [--transparent N] IMAGE.png...", Pack);
} // namespace
