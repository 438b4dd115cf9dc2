#include "activity/VorelDrawingChart.h"

#include "activity/VorelDrawingObject.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"

namespace {
// Seeds come from the region map and are checked before any pixel is touched.
bool Inside(const TZQ5ImageData& surface, TPoint point) {
    return PtInRect(surface.BoundsRect(), point);
}
} // namespace

TVorelDrawingChart::TVorelDrawingChart(uint16_t width, uint16_t height)
    : Surface(THotImage::CreateBlank(width, height)) {
    Reset();
}

TVorelDrawingChart::~TVorelDrawingChart() = default;

void TVorelDrawingChart::Reset() {
    ItemOfSlot.fill(NoSlot);
    ++Charting;
    std::erase_if(Kept, [this](const ChartedItem& kept) { return Charting - kept.LastUse > 2; });
}

TVorelDrawingChart::SlotAndCount TVorelDrawingChart::FreeSlot() const {
    SlotAndCount result{NoSlot, 0};
    for (uint8_t slot = 0; slot < SlotCount; ++slot) {
        if (ItemOfSlot[slot] != NoSlot)
            ++result.Used;
        else if (result.Slot == NoSlot)
            result.Slot = slot;
    }
    return result;
}

uint8_t TVorelDrawingChart::TakeSlot() {
    SlotAndCount free = FreeSlot();
    if (free.Slot != NoSlot) ItemOfSlot[free.Slot] = free.Used;
    return free.Slot;
}

void TVorelDrawingChart::Add(TVorelDrawingObject& item) {
    TZQ5ImageData& pixels = Charted(item, TakeSlot());
    // Copied with the item's transparency, clipped by the chart.
    Surface->ImageData().CopyFrom(item.Position(), pixels, pixels.BoundsRect());
}

void TVorelDrawingChart::RechartArea(const TRect& area, const std::vector<TVorelDrawingObject*>& items) {
    TZQ5ImageData& chart = Surface->ImageData();
    const TRect whole = chart.ClipRect;
    chart.SetClipRect(area);
    for (size_t number = 0; number < items.size(); ++number) {
        uint8_t slot = NoSlot;
        for (uint8_t s = 0; s < SlotCount; ++s)
            if (ItemOfSlot[s] == number) slot = s;
        TZQ5ImageData& pixels = Charted(*items[number], slot);
        chart.CopyFrom(items[number]->Position(), pixels, pixels.BoundsRect());
    }
    chart.SetClipRect(whole);
}

// Regions are filled on a copy of the item's image, so that a fill never
// reaches what lies under the item.
TZQ5ImageData& TVorelDrawingChart::Charted(TVorelDrawingObject& item, uint8_t slot) {
    for (ChartedItem& kept : Kept)
        if (kept.Stamp == item.PixelStamp() && kept.Slot == slot) {
            kept.LastUse = Charting;
            return kept.Pixels->ImageData();
        }
    std::unique_ptr<THotImage> copy = item.DuplicateImage();
    TZQ5ImageData& pixels = copy->ImageData();
    for (const TRegion& region : item.Entry().Regions)
        if (Inside(pixels, region.Seed)) pixels.FloodFill(region.Seed, slot);
    Kept.push_back({item.PixelStamp(), slot, Charting, std::move(copy)});
    return pixels;
}

int TVorelDrawingChart::ItemAt(TPoint point) {
    TZQ5ImageData& chart = Surface->ImageData();
    if (!Inside(chart, point)) return -1;
    uint8_t value = chart.GetPixel(point);
    if (value >= SlotCount || ItemOfSlot[value] == NoSlot) return -1;
    return ItemOfSlot[value];
}
