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
    TZQ5ImageData& chart = Surface->ImageData();
    const TRect& bounds = item.Bounds();
    if (IntersectRect(bounds, chart.BoundsRect()) == bounds && !IsRectEmpty(bounds))
        AddInside(item, TakeSlot());
    else
        AddOverlapping(item, TakeSlot());
}

void TVorelDrawingChart::AddFirst(TVorelDrawingObject& item, std::vector<uint8_t> key) {
    TZQ5ImageData& chart = Surface->ImageData();
    TZQ5ImageData& pixels = item.Surface();
    const bool coversAll = FreeSlot().Used == 0 && !pixels.Transparent &&
                           IntersectRect(item.Bounds(), chart.BoundsRect()) == chart.BoundsRect();
    if (!coversAll) {
        Add(item);
        return;
    }
    if (FirstItemPixels && key == FirstItemKey) {
        TakeSlot();
        chart.CopyFrom({0, 0}, FirstItemPixels->ImageData(), chart.BoundsRect());
        return;
    }
    Add(item);
    if (!FirstItemPixels) FirstItemPixels = THotImage::CreateBlank(static_cast<uint16_t>(chart.Width), static_cast<uint16_t>(chart.Height));
    FirstItemPixels->ImageData().CopyFrom({0, 0}, chart, chart.BoundsRect());
    FirstItemKey = std::move(key);
}

void TVorelDrawingChart::AddInside(TVorelDrawingObject& item, uint8_t slot) {
    TZQ5ImageData& chart = Surface->ImageData();
    item.Draw(&chart, {0, 0});
    for (const TRegion& region : item.Entry().Regions) {
        TPoint at = PtAdd(region.Seed, item.Position());
        if (Inside(chart, at) && PtInRect(item.Bounds(), at)) chart.FloodFill(at, slot);
    }
}

// An item that sticks out of the picture is charted on a copy of its image,
// which is then copied (217 left out) and clipped by the chart.
void TVorelDrawingChart::AddOverlapping(TVorelDrawingObject& item, uint8_t slot) {
    std::unique_ptr<THotImage> copy = item.DuplicateImage();
    TZQ5ImageData& pixels = copy->ImageData();
    for (const TRegion& region : item.Entry().Regions)
        if (Inside(pixels, region.Seed)) pixels.FloodFill(region.Seed, slot);
    Surface->ImageData().CopyFrom(item.Position(), pixels, pixels.BoundsRect());
}

int TVorelDrawingChart::ItemAt(TPoint point) {
    TZQ5ImageData& chart = Surface->ImageData();
    if (!Inside(chart, point)) return -1;
    uint8_t value = chart.GetPixel(point);
    if (value >= SlotCount || ItemOfSlot[value] == NoSlot) return -1;
    return ItemOfSlot[value];
}
