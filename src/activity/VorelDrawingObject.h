#pragma once
// The items of a picture: a placed object cut from a sheet, and the
// background. Each keeps its own 8-bit image (transparent colour 217 for
// objects), its place in the picture and its copy of the region-map entry,
// in which it records the current colour of every region after each change.

#include "activity/PictureRecord.h"
#include "activity/RegionMap.h"
#include "foundation/Geometry.h"
#include "foundation/KelList.h"

#include <cstdint>
#include <memory>
#include <vector>

class THotImage;
class TZQ5ImageData;

class TVorelDrawingObject : public TKelNode {
public:
    static constexpr uint8_t ClassIdValue = 15;

    // Cuts source out of the sheet at position. With randomColours every
    // region gets a random colour; otherwise the sheet's colours stay.
    TVorelDrawingObject(TZQ5ImageData& sheet, bool randomColours, std::unique_ptr<TRegionEntry> entry,
                        TPoint position, const TRect& source);
    ~TVorelDrawingObject() override;

    void SetPosition(TPoint point);
    // Mirrors the image left to right (transparent pixels included) and the seeds.
    void SetMirrored(bool on);
    // A new image from source on sheet, placed at topLeft, with the colours of
    // the old regions carried over to the new entry; mirroring is re-applied.
    void Rebuild(TZQ5ImageData& sheet, const TRect& source, bool half, std::unique_ptr<TRegionEntry> newEntry,
                 TPoint topLeft);
    // Copies the image (217 left out) to origin + Position; a selected item
    // is outlined in index 125.
    void Draw(TZQ5ImageData* target, TPoint origin);
    // Flood-fills the item's image at a picture point and records the colours
    // of all regions; returns the changed rectangle in picture coordinates
    // (empty when nothing changed).
    TRect FillRegion(TPoint point, uint8_t colour);
    // A private copy of the image, transparency included.
    std::unique_ptr<THotImage> DuplicateImage();

    // Reads the record written by SaveToStream, class id first; a wrong class
    // id raises "Saved game is damaged." and nothing more is read.
    void LoadFromStream(ByteStream& stream) override;
    void SaveToStream(ByteStream& stream) const override;
    // What SaveToStream writes, as values.
    TItemRecord Record() const;
    // Takes the place, mirroring, size flag and colours of a record, as
    // reading it does (the size flag is only stored: the picture applies it).
    void Apply(const TItemRecord& record);
    // Fills the regions whose colour differs from colours (one per region);
    // returns the changed rectangle in picture coordinates.
    TRect Recolour(const std::vector<uint8_t>& colours);

    TZQ5ImageData& Surface();
    const TRegionEntry& Entry() const { return *RegionEntry; }
    uint8_t MapIndex() const { return RegionEntry->MapIndex; }
    TPoint Position() const { return Origin; }
    const TRect& Bounds() const { return Box; }
    // The box of the drawn (not transparent) pixels, relative to the
    // top-left; empty for an image drawn wholly transparent. Objects only.
    const TRect& DrawnBox() const { return Drawn; }
    // How many drawn pixels lie in rect (relative to the top-left), and in all.
    int32_t DrawnPixelsIn(TRect rect) const;
    int32_t DrawnPixelCount() const;
    // Changes whenever the item changes its pixels; no two images share one.
    uint64_t PixelStamp() const { return Stamp; }
    bool Mirrored() const { return IsMirrored; }
    bool Half() const { return IsHalf; }
    bool Selected() const { return IsSelected; }
    void SetSelected(bool on) { IsSelected = on; }

protected:
    // For the background: the item takes an image made by the caller.
    TVorelDrawingObject(std::unique_ptr<THotImage> image, std::unique_ptr<TRegionEntry> entry);
    // Fills each region with a random colour and records it.
    void ColourRandomly();
    void RecordRegionColours();
    void RecordAllRegions(uint8_t colour);
    // Fills at a seed of the image when the seed lies inside it; returns
    // the changed rectangle of the image.
    TRect FillAtSeed(TPoint seed, uint8_t colour);

private:
    // A new image holding source cut out of the sheet, 217 transparent.
    void CutFromSheet(TZQ5ImageData& sheet, const TRect& source);
    void MeasureDrawn();
    // What MeasureDrawn finds once the image is mirrored, worked out from what it found.
    void MirrorDrawn();

    std::unique_ptr<TRegionEntry> RegionEntry;
    TPoint Origin;
    TRect Box;
    TRect Drawn;
    std::vector<int32_t> DrawnSums; // (Width + 1) x (Height + 1) sums of the drawn mask
    bool IsMirrored = false;
    bool IsHalf = false;
    bool IsSelected = false;
    std::unique_ptr<THotImage> Image;
    uint64_t Stamp = NewPixelStamp();

    static uint64_t NewPixelStamp();
};

class TVorelBG : public TVorelDrawingObject {
public:
    // Background index 0..7 (above 7 raises SHException "Vorel background
    // range error"). The blank variant starts uncoloured, every region
    // recorded as 217; the other variant colours every region at random.
    TVorelBG(uint8_t index, std::unique_ptr<TRegionEntry> entry, bool blank);
    // Another background with this one's pixels, place and colours.
    std::unique_ptr<TVorelBG> Copy();

private:
    TVorelBG(std::unique_ptr<THotImage> image, std::unique_ptr<TRegionEntry> entry);
    static std::unique_ptr<THotImage> LoadBackgroundCopy(uint8_t index, bool blank);
};

// Raises KelException "Saved game is damaged." (a record that cannot be read).
[[noreturn]] void RaiseSavedGameDamaged();

// Raises SHException "Vorel background range error" for an index above 7.
void CheckBackgroundIndex(uint8_t index);
