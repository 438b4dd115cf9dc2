#include "image/ZQ5Library.h"

#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "foundation/Text.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Record.h"

#include <algorithm>
#include <filesystem>

TDisplayHeader DisplayHeader = [] {
    TDisplayHeader header;
    InitDisplayHeader(header);
    return header;
}();

void InitDisplayHeader(TDisplayHeader& header) {
    header.Width = 0;
    header.Height = 0;
    header.ImageSize = 0;
    for (size_t i = 0; i < header.Colors.size(); ++i)
        header.Colors[i] = static_cast<uint16_t>(i);
}

std::string ImageKey(const std::string& name) {
    return LowerCase(std::string_view(name).substr(0, 8));
}

TImageNode::TImageNode() = default;

TImageNode::~TImageNode() {
    // The surface lies over the image's segments: it goes first.
    Data.reset();
    Image.reset();
}

TZQ5Library::TZQ5Library() = default;

TZQ5Library::~TZQ5Library() {
    for (TZQ5Library** variable : References)
        if (*variable == this) *variable = nullptr;
    References.clear();
    Close();
}

namespace {
bool FileIsReadOnly(const std::string& path) {
    std::error_code error;
    auto permissions = std::filesystem::status(path, error).permissions();
    return !error && (permissions & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}
} // namespace

int TZQ5Library::Load(const std::string& fileName, bool readOnly) {
    Close();
    Path = fileName;
    try {
        ReadOnly = readOnly || FileIsReadOnly(fileName);
        Stream = std::make_unique<FileStream>(fileName, ReadOnly ? FileStream::Mode::Read
                                                                 : FileStream::Mode::ReadWrite);
        uint8_t header[ZQ5FileHeaderSize] = {};
        if (Stream->Read(header, sizeof header) != sizeof header)
            throw ZQ5Exception("ValidateZQ5FileHeader: header invalid");
        ValidateZQ5FileHeader(header);
        Palette = std::make_unique<std::array<uint8_t, ZQ5PaletteSize>>();
        if (Stream->Read(Palette->data(), Palette->size()) != Palette->size())
            throw ZQ5Exception("Load: palette incomplete");
        GetHPal();
        FileSize = Stream->Size();
        BuildNameIndex();
    } catch (...) {
        Close();
        throw;
    }
    return 0;
}

void TZQ5Library::BuildNameIndex() {
    NameIndex.clear();
    int64_t offset = ZQ5FirstRecordOffset;
    while (offset < FileSize) {
        Stream->Seek(offset);
        ZQ5RecordLayout layout = ReadRecordLayout(*Stream, FileSize - offset);
        NameIndex.emplace(ImageKey(layout.Header.NameText()), offset); // the first of a name wins
        offset += layout.RecordSize();
    }
}

void TZQ5Library::Close() {
    // Images may still reload segments from the stream: they go before it.
    LoadedImages.Clear();
    if (Stream) {
        Stream.reset();
        if (!ReadOnly && FileSize > 0) {
            // Anything appended since loading is dropped. Close also runs in
            // the destructor, so a failure here is not raised.
            std::error_code error;
            auto size = std::filesystem::file_size(Path, error);
            if (!error && static_cast<int64_t>(size) != FileSize)
                std::filesystem::resize_file(Path, static_cast<uintmax_t>(FileSize), error);
        }
    }
    NameIndex.clear();
    PaletteHandle.reset();
    Palette.reset();
    FileSize = 0;
}

bool TZQ5Library::IsOpen() const {
    return Stream != nullptr;
}

void TZQ5Library::ValidateZQ5FileHeader(const uint8_t header[ZQ5FileHeaderSize]) {
    bool valid = header[0] == 0x5A && header[1] == 0x51 && header[2] == 5 && header[4] == 2 && header[5] == 0;
    if (!valid) throw ZQ5Exception("ValidateZQ5FileHeader: header invalid");
}

int64_t TZQ5Library::ImageOffset(const std::string& name) const {
    if (!IsOpen()) throw ZQ5Exception("ImageOffset: no library loaded");
    auto found = NameIndex.find(ImageKey(name));
    return found == NameIndex.end() ? 0 : found->second;
}

bool TZQ5Library::ImageExists(const std::string& name) const {
    return ImageOffset(name) > 0;
}

void TZQ5Library::CheckImageName(const std::string& name, bool mustExist) const {
    if (ImageExists(name) == mustExist) return;
    std::string shown = name.substr(0, 8);
    if (mustExist) throw ZQ5Exception("Image \"" + shown + "\" does not exist");
    throw ZQ5Exception("Image name \"" + shown + "\" is already in use");
}

TImageNode* TZQ5Library::FindLoaded(const std::string& key) const {
    for (TImageNode* node : LoadedImages)
        if (node->Name == key) return node;
    return nullptr;
}

TImageNode* TZQ5Library::GetImage(const std::string& name) {
    std::string key = ImageKey(name);
    TImageNode* node = FindLoaded(key);
    if (!node) {
        auto made = std::make_unique<TImageNode>();
        made->Name = key;
        made->Image = ReadRecord(name);
        made->Image->DecodeAll();
        node = LoadedImages.AddTail(std::move(made));
    }
    ++node->UseCount;
    return node;
}

void TZQ5Library::CheckImage(const std::string& name) {
    ReadRecord(name)->CheckAll();
}

std::unique_ptr<TZQ5Image> TZQ5Library::ReadRecord(const std::string& name) {
    const int64_t offset = ImageOffset(name);
    if (offset == 0) CheckImageName(name, true);
    auto image = std::make_unique<TZQ5Image>();
    Stream->Seek(offset);
    image->Read(*Stream);
    return image;
}

void TZQ5Library::ReleaseImage(TImageNode* node) {
    if (!node) return;
    if (node->UseCount > 0) --node->UseCount;
    if (node->UseCount == 0 && LoadedImages.Contains(node)) LoadedImages.Remove(node);
}

TImageNode* TZQ5Library::CreateImage(const std::string& name, uint16_t width, uint16_t height) {
    auto made = std::make_unique<TImageNode>();
    made->Name = ImageKey(name);
    made->Image = std::make_unique<TZQ5Image>();
    made->Image->Init(name.substr(0, 8), nullptr, width, height);
    return LoadedImages.AddTail(std::move(made));
}

const RgbPalette& TZQ5Library::GetHPal() {
    if (PaletteHandle) return *PaletteHandle;
    if (!Palette) throw ZQ5Exception("GetHPal: global palette unavailable");
    // A display without static colours: black and white stand at the two
    // ends, in the library palette too, and the artwork's colours between.
    std::array<uint8_t, ZQ5PaletteSize>& file = *Palette;
    file[0] = file[1] = file[2] = 0;
    file[1020] = file[1021] = file[1022] = 255;
    auto palette = std::make_unique<RgbPalette>();
    for (size_t i = 0; i < palette->size(); ++i) {
        const uint8_t* entry = file.data() + 4 * i;
        (*palette)[i] = 0xFF000000u | (uint32_t{entry[2]} << 16) | (uint32_t{entry[1]} << 8) | entry[0];
    }
    PaletteHandle = std::move(palette);
    return *PaletteHandle;
}

const std::array<uint8_t, ZQ5PaletteSize>& TZQ5Library::FilePalette() const {
    if (!Palette) throw ZQ5Exception("GetHPal: global palette unavailable");
    return *Palette;
}

void TZQ5Library::AddReference(TZQ5Library** variable) {
    if (variable && *variable == this &&
        std::find(References.begin(), References.end(), variable) == References.end())
        References.push_back(variable);
}

void TZQ5Library::RemoveReference(TZQ5Library** variable) {
    std::erase(References, variable);
}

std::vector<std::string> TZQ5Library::ImageNames() const {
    std::vector<std::string> names;
    for (const auto& entry : NameIndex)
        names.push_back(entry.first);
    return names;
}

void WriteZQ5Library(ByteStream& out, const std::array<uint8_t, ZQ5PaletteSize>& palette,
                     const std::vector<std::vector<uint8_t>>& records) {
    const uint8_t header[ZQ5FileHeaderSize] = {0x5A, 0x51, 5, 0, 2, 0};
    out.Write(header, sizeof header);
    out.Write(palette.data(), palette.size());
    for (const auto& record : records)
        out.Write(record.data(), record.size());
}
