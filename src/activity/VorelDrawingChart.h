#pragma once
// A hidden picture-sized surface on which the regions of every item are
// painted with the item's chart slot (0..15), so that the item under a point
// is found by reading one pixel. Other values (line art, outlines, free
// slots) name no item.

#include "foundation/Geometry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class THotImage;
class TZQ5ImageData;
class TVorelDrawingObject;

class TVorelDrawingChart {
public:
    static constexpr uint8_t SlotCount = 16;
    static constexpr uint8_t NoSlot = 255;

    TVorelDrawingChart(uint16_t width, uint16_t height);
    ~TVorelDrawingChart();
    TVorelDrawingChart(const TVorelDrawingChart&) = delete;
    TVorelDrawingChart& operator=(const TVorelDrawingChart&) = delete;

    // Frees every slot; the surface keeps its pixels (the opaque background,
    // charted first, covers them).
    void Reset();
    struct SlotAndCount {
        uint8_t Slot; // the first free slot, or NoSlot
        uint8_t Used;
    };
    SlotAndCount FreeSlot() const;
    // Charts the item's regions with the next free slot; its number is the
    // count of items charted before it. Past 16 items the regions get 255.
    // The item's image with its regions filled is kept while the item's
    // pixels and slot stay the same, so that charting a picture again after
    // objects moved or were restacked fills nothing anew.
    void Add(TVorelDrawingObject& item);
    // Charts the items (all of them, in the order they were added, each
    // keeping its slot) again inside area only: what a new charting would
    // leave there after items moved or turned without changing their order.
    void RechartArea(const TRect& area, const std::vector<TVorelDrawingObject*>& items);

    // The item number under the point, or -1 for none (also outside the chart).
    int ItemAt(TPoint point);

private:
    uint8_t TakeSlot();
    // The item's image with its regions filled with slot, transparency kept.
    TZQ5ImageData& Charted(TVorelDrawingObject& item, uint8_t slot);

    struct ChartedItem {
        uint64_t Stamp; // the item's pixels
        uint8_t Slot;
        unsigned LastUse; // the charting that last used it
        std::unique_ptr<THotImage> Pixels;
    };

    std::array<uint8_t, SlotCount> ItemOfSlot{};
    std::unique_ptr<THotImage> Surface;
    // Kept while one of the last two chartings (or the current one) used
    // them, so that going back and forth between two stackings finds every
    // item charted.
    std::vector<ChartedItem> Kept;
    unsigned Charting = 0;
};
