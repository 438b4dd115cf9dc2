#pragma once
// The image library: one read-only file holding a 256-colour palette and
// named, compressed images, loaded on demand and shared by use counts.

#include "foundation/Geometry.h"
#include "foundation/KelList.h"
#include "platform/DisplayTarget.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ByteStream;
class TZQ5Image;
class TZQ5ImageData;

// The bitmap header shared by every library surface when it is shown: the
// size of the band being shown and the index table (identity) of a blit.
struct TDisplayHeader {
    int32_t Width = 0;
    int32_t Height = 0;
    uint32_t ImageSize = 0;
    std::array<uint16_t, 256> Colors{};
};
extern TDisplayHeader DisplayHeader;
void InitDisplayHeader(TDisplayHeader& header);

constexpr size_t ZQ5FileHeaderSize = 6;
constexpr size_t ZQ5PaletteSize = 1024;
constexpr int64_t ZQ5FirstRecordOffset = 1030;

// One image in memory.
class TImageNode : public TKelNode {
public:
    TImageNode();
    ~TImageNode() override;

    std::string Name; // lower-cased, at most 8 characters
    int32_t UseCount = 0;
    int32_t DataUseCount = 0;
    std::unique_ptr<TZQ5ImageData> Data;
    std::unique_ptr<TZQ5Image> Image;
};

class TImageList : public TKelListOf<TImageNode> {};

class TZQ5Library {
public:
    TZQ5Library();
    ~TZQ5Library();
    TZQ5Library(const TZQ5Library&) = delete;
    TZQ5Library& operator=(const TZQ5Library&) = delete;

    // Opens and indexes a library file, replacing any open one. On failure the
    // library is left closed and the error passes on.
    int Load(const std::string& fileName, bool readOnly);
    // Frees everything loaded; users must have forgotten their nodes.
    void Close();
    bool IsOpen() const;

    static void ValidateZQ5FileHeader(const uint8_t header[ZQ5FileHeaderSize]);
    // The file offset of the named record, or 0 when there is none.
    int64_t ImageOffset(const std::string& name) const;
    bool ImageExists(const std::string& name) const;
    void CheckImageName(const std::string& name, bool mustExist) const;

    // The loaded image of that name (loading it when needed), one more use.
    TImageNode* GetImage(const std::string& name);
    // One use fewer; the node is freed when none is left.
    void ReleaseImage(TImageNode* node);
    // Raises what GetImage would raise for that name, loading nothing.
    void CheckImage(const std::string& name);
    // A new zero-filled image in memory with UseCount 0: one release frees it.
    TImageNode* CreateImage(const std::string& name, uint16_t width, uint16_t height);

    TZQ5ImageData* GetImageData(TImageNode* node);
    void ReleaseImageData(TImageNode* node);

    // Shows the whole image, opaque and unclipped, with its top-left at point.
    void DrawImage(DisplayTarget& target, TPoint point, TImageNode* node);

    // The logical palette through which everything is shown: entry 0 black,
    // 255 white, the file's colours between (a display without static colours).
    const RgbPalette& GetHPal();
    // The file's palette as read: 256 entries of blue, green, red, reserved.
    const std::array<uint8_t, ZQ5PaletteSize>& FilePalette() const;

    // Variables holding this library are set to nullptr when it is destroyed.
    void AddReference(TZQ5Library** variable);
    void RemoveReference(TZQ5Library** variable);

    const std::string& FileName() const { return Path; }
    const TImageList& Images() const { return LoadedImages; }
    // The lower-cased names of every record, in sorted order.
    std::vector<std::string> ImageNames() const;

private:
    void BuildNameIndex();
    TImageNode* FindLoaded(const std::string& key) const;
    // The named record read from the file, its bands not yet loaded.
    std::unique_ptr<TZQ5Image> ReadRecord(const std::string& name);

    std::string Path;
    TImageList LoadedImages;
    std::unique_ptr<std::array<uint8_t, ZQ5PaletteSize>> Palette;
    std::unique_ptr<RgbPalette> PaletteHandle;
    std::map<std::string, int64_t> NameIndex; // lower-cased name -> file offset
    std::unique_ptr<ByteStream> Stream;
    int64_t FileSize = 0;
    std::vector<TZQ5Library**> References;
    bool ReadOnly = true;
};

// Lower-cases A..Z and keeps the first 8 characters, as image names are compared.
std::string ImageKey(const std::string& name);

// Writes a library file: the header, the palette (256 x blue, green, red, 0)
// and the given records back to back.
void WriteZQ5Library(ByteStream& out, const std::array<uint8_t, ZQ5PaletteSize>& palette,
                     const std::vector<std::vector<uint8_t>>& records);
