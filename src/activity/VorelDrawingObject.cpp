#include "activity/VorelDrawingObject.h"

#include "activity/ObjectTable.h"
#include "activity/RandomColour.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/ResStrings.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"

#include <algorithm>

TVorelDrawingObject::TVorelDrawingObject(TZQ5ImageData& sheet, bool randomColours,
                                         std::unique_ptr<TRegionEntry> entry, TPoint position,
                                         const TRect& source)
    : RegionEntry(std::move(entry)) {
    ClassId = ClassIdValue;
    CutFromSheet(sheet, source);
    SetPosition(position);
    if (randomColours) ColourRandomly();
}

TVorelDrawingObject::TVorelDrawingObject(std::unique_ptr<THotImage> image,
                                         std::unique_ptr<TRegionEntry> entry)
    : RegionEntry(std::move(entry)), Image(std::move(image)) {
    ClassId = ClassIdValue;
    SetPosition({0, 0});
}

TVorelDrawingObject::~TVorelDrawingObject() = default;

uint64_t TVorelDrawingObject::NewPixelStamp() {
    static uint64_t last = 0;
    return ++last;
}

void TVorelDrawingObject::CutFromSheet(TZQ5ImageData& sheet, const TRect& source) {
    Stamp = NewPixelStamp();
    Image = THotImage::CreateBlank(static_cast<uint16_t>(RectWidth(source)),
                                   static_cast<uint16_t>(RectHeight(source)));
    Surface().CopyFrom({0, 0}, sheet, source);
    Surface().SetTransparent(BlankBackgroundColour, true);
    MeasureDrawn();
}

void TVorelDrawingObject::MeasureDrawn() {
    TZQ5ImageData& surface = Surface();
    const int32_t w = surface.Width, h = surface.Height;
    const size_t stride = static_cast<size_t>(w + 1);
    TRect box{w, h, 0, 0};
    // A table of sums over the drawn mask answers "how many drawn pixels in
    // this rectangle" at once, however often a drag asks.
    DrawnSums.assign(stride * static_cast<size_t>(h + 1), 0);
    for (int32_t y = 0; y < h && w > 0; ++y) {
        // A whole line at a time: this runs for every object a picture builds.
        const uint8_t* line = surface.StartLine(0, y);
        const int32_t* above = DrawnSums.data() + static_cast<size_t>(y) * stride;
        int32_t* sums = DrawnSums.data() + static_cast<size_t>(y + 1) * stride;
        int32_t row = 0;
        for (int32_t x = 0; x < w; ++x) {
            if (line[x] != BlankBackgroundColour) {
                ++row;
                box.Left = std::min(box.Left, x);
                box.Right = std::max(box.Right, x + 1);
                box.Top = std::min(box.Top, y);
                box.Bottom = y + 1;
            }
            sums[x + 1] = above[x + 1] + row;
        }
        surface.UnlockSegment(0, y);
    }
    Drawn = IsRectEmpty(box) ? TRect{} : box;
}

// The drawn pixels turn with the image: in the mirrored sums, the pixels left
// of column x are those of the last x columns before.
void TVorelDrawingObject::MirrorDrawn() {
    const int32_t w = Surface().Width;
    const size_t stride = static_cast<size_t>(w + 1);
    std::vector<int32_t> mirrored(DrawnSums.size());
    for (size_t top = 0; top + stride <= DrawnSums.size(); top += stride) {
        const int32_t* sums = DrawnSums.data() + top;
        for (int32_t x = 0; x <= w; ++x)
            mirrored[top + static_cast<size_t>(x)] = sums[w] - sums[w - x];
    }
    DrawnSums = std::move(mirrored);
    if (!IsRectEmpty(Drawn)) Drawn = {w - Drawn.Right, Drawn.Top, w - Drawn.Left, Drawn.Bottom};
}

int32_t TVorelDrawingObject::DrawnPixelsIn(TRect rect) const {
    const TZQ5ImageData& surface = Image->ImageData();
    rect = IntersectRect(rect, surface.BoundsRect());
    if (IsRectEmpty(rect) || DrawnSums.empty()) return 0;
    auto sum = [&](int32_t x, int32_t y) {
        return DrawnSums[static_cast<size_t>(y) * static_cast<size_t>(surface.Width + 1) + static_cast<size_t>(x)];
    };
    return sum(rect.Right, rect.Bottom) - sum(rect.Left, rect.Bottom) - sum(rect.Right, rect.Top) +
           sum(rect.Left, rect.Top);
}

int32_t TVorelDrawingObject::DrawnPixelCount() const {
    return DrawnSums.empty() ? 0 : DrawnSums.back();
}

TZQ5ImageData& TVorelDrawingObject::Surface() {
    return Image->ImageData();
}

void TVorelDrawingObject::SetPosition(TPoint point) {
    Origin = point;
    TZQ5ImageData& surface = Surface();
    Box = MakeBounds(point.X, point.Y, surface.Width, surface.Height);
}

TRect TVorelDrawingObject::FillAtSeed(TPoint seed, uint8_t colour) {
    TZQ5ImageData& surface = Surface();
    if (!PtInRect(surface.BoundsRect(), seed)) return {};
    Stamp = NewPixelStamp();
    TRect changed = surface.FloodFill(seed, colour);
    return IsRectEmpty(changed) ? TRect{} : changed;
}

void TVorelDrawingObject::RecordRegionColours() {
    TZQ5ImageData& surface = Surface();
    for (TRegion& region : RegionEntry->Regions)
        if (PtInRect(surface.BoundsRect(), region.Seed)) region.Colour = surface.GetPixel(region.Seed);
}

void TVorelDrawingObject::RecordAllRegions(uint8_t colour) {
    for (TRegion& region : RegionEntry->Regions)
        region.Colour = colour;
}

void TVorelDrawingObject::ColourRandomly() {
    for (TRegion& region : RegionEntry->Regions) {
        region.Colour = RandomColour();
        FillAtSeed(region.Seed, region.Colour);
    }
}

void TVorelDrawingObject::SetMirrored(bool on) {
    if (on == IsMirrored) return;
    TZQ5ImageData& surface = Surface();
    // Every pixel, the transparent ones too, moves to its mirrored place.
    for (int32_t y = 0; y < surface.Height && surface.Width > 0; ++y) {
        uint8_t* line = surface.StartLine(0, y);
        std::reverse(line, line + surface.Width);
        surface.UnlockSegment(0, y);
    }
    surface.Changed(surface.BoundsRect());
    IsMirrored = on;
    Stamp = NewPixelStamp();
    MirrorDrawn();
    for (TRegion& region : RegionEntry->Regions)
        region.Seed.X = surface.Width - region.Seed.X - 1;
}

void TVorelDrawingObject::Rebuild(TZQ5ImageData& sheet, const TRect& source, bool half,
                                  std::unique_ptr<TRegionEntry> newEntry, TPoint topLeft) {
    CutFromSheet(sheet, source);
    SetPosition(topLeft);
    IsHalf = half;

    const std::vector<TRegion>& old = RegionEntry->Regions;
    std::vector<TRegion>& regions = newEntry->Regions;
    for (size_t i = 0; i < regions.size(); ++i) {
        // Both entries come from the same map index; should the counts ever
        // differ, a region without an old colour keeps the sheet's.
        if (i < old.size()) regions[i].Colour = old[i].Colour;
        if (half) regions[i].Seed = {regions[i].Seed.X / 2, regions[i].Seed.Y / 2};
        FillAtSeed(regions[i].Seed, regions[i].Colour);
    }
    RegionEntry = std::move(newEntry);

    if (IsMirrored) {
        IsMirrored = false;
        SetMirrored(true);
    }
}

void TVorelDrawingObject::Draw(TZQ5ImageData* target, TPoint origin) {
    if (!Image || !target) return;
    TZQ5ImageData& surface = Surface();
    TPoint at = PtAdd(origin, Origin);
    target->CopyFrom(at, surface, surface.BoundsRect());
    if (IsSelected) target->FrameRect(MakeBounds(at.X, at.Y, surface.Width, surface.Height), SelectionColour);
}

TRect TVorelDrawingObject::FillRegion(TPoint point, uint8_t colour) {
    TZQ5ImageData& surface = Surface();
    TPoint local = PtSub(point, Origin);
    if (!PtInRect(surface.BoundsRect(), local)) return {};
    // A transparent pixel is no region: filling it would make the item's
    // surroundings opaque.
    if (surface.Transparent && surface.GetPixel(local) == surface.TransparentIndex) return {};
    Stamp = NewPixelStamp();
    TRect changed = surface.FloodFill(local, colour);
    RecordRegionColours();
    if (IsRectEmpty(changed)) return {};
    return RectAddPt(changed, Origin);
}

std::unique_ptr<THotImage> TVorelDrawingObject::DuplicateImage() {
    return THotImage::CreateCopy(Surface());
}

void TVorelDrawingObject::LoadFromStream(ByteStream& stream) {
    Apply(ReadItemRecord(stream, MapIndex(), RegionEntry->Regions.size()));
}

void TVorelDrawingObject::Apply(const TItemRecord& record) {
    SetPosition(record.Position);
    SetMirrored(record.Mirrored);
    IsHalf = record.Half;
    std::vector<TRegion>& regions = RegionEntry->Regions;
    for (size_t i = 0; i < regions.size() && i < record.Colours.size(); ++i) {
        FillAtSeed(regions[i].Seed, record.Colours[i]);
        regions[i].Colour = record.Colours[i];
    }
}

TItemRecord TVorelDrawingObject::Record() const {
    TItemRecord record{MapIndex(), Origin, IsMirrored, IsHalf, {}};
    record.Colours.reserve(RegionEntry->Regions.size());
    for (const TRegion& region : RegionEntry->Regions)
        record.Colours.push_back(region.Colour);
    return record;
}

TRect TVorelDrawingObject::Recolour(const std::vector<uint8_t>& colours) {
    TZQ5ImageData& surface = Surface();
    std::vector<TRegion>& regions = RegionEntry->Regions;
    TRect changed;
    for (size_t i = 0; i < regions.size() && i < colours.size(); ++i) {
        TRegion& region = regions[i];
        // The pixel is asked too, so that the image ends as reading the record
        // would leave it even where a recorded colour was never drawn.
        bool inside = PtInRect(surface.BoundsRect(), region.Seed);
        if (region.Colour == colours[i] && (!inside || surface.GetPixel(region.Seed) == colours[i])) continue;
        changed = UnionRect(changed, FillAtSeed(region.Seed, colours[i]));
        region.Colour = colours[i];
    }
    return IsRectEmpty(changed) ? TRect{} : RectAddPt(changed, Origin);
}

void TVorelDrawingObject::SaveToStream(ByteStream& stream) const {
    TKelNode::SaveToStream(stream);
    WritePoint(stream, Origin);
    WriteBoolean(stream, IsMirrored);
    WriteBoolean(stream, IsHalf);
    for (const TRegion& region : RegionEntry->Regions)
        WriteByte(stream, region.Colour);
}

TVorelBG::TVorelBG(std::unique_ptr<THotImage> image, std::unique_ptr<TRegionEntry> entry)
    : TVorelDrawingObject(std::move(image), std::move(entry)) {}

std::unique_ptr<TVorelBG> TVorelBG::Copy() {
    std::unique_ptr<TVorelBG> copy(new TVorelBG(DuplicateImage(), std::make_unique<TRegionEntry>(Entry())));
    copy->SetPosition(Position());
    return copy;
}

TVorelBG::TVorelBG(uint8_t index, std::unique_ptr<TRegionEntry> entry, bool blank)
    : TVorelDrawingObject(LoadBackgroundCopy(index, blank), std::move(entry)) {
    if (!blank) {
        ColourRandomly();
        return;
    }
    // The blank variant is drawn uncoloured.
    RecordAllRegions(BlankBackgroundColour);
}

std::unique_ptr<THotImage> TVorelBG::LoadBackgroundCopy(uint8_t index, bool blank) {
    CheckBackgroundIndex(index);
    std::unique_ptr<THotImage> loaded = THotImage::Create(BackgroundImageName(index, blank));
    return THotImage::CreateCopy(loaded->ImageData());
}

void RaiseSavedGameDamaged() {
    throw KelException(LoadResString(SSavedGameDamaged));
}

void CheckBackgroundIndex(uint8_t index) {
    if (index >= BackgroundCount) throw SHException("Vorel background range error");
}
