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
    void Add(TVorelDrawingObject& item);
    // Charts the first item after Reset. An opaque item covering the whole
    // chart leaves it the same whatever was there, so its charted pixels are
    // kept and copied back the next time an item of the same look (key) comes
    // first, instead of being worked out again.
    void AddFirst(TVorelDrawingObject& item, std::vector<uint8_t> key);
    // The item number under the point, or -1 for none (also outside the chart).
    int ItemAt(TPoint point);

private:
    uint8_t TakeSlot();
    void AddInside(TVorelDrawingObject& item, uint8_t slot);
    void AddOverlapping(TVorelDrawingObject& item, uint8_t slot);

    std::array<uint8_t, SlotCount> ItemOfSlot{};
    std::unique_ptr<THotImage> Surface;
    std::unique_ptr<THotImage> FirstItemPixels;
    std::vector<uint8_t> FirstItemKey;
};
