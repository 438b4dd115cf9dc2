#pragma once
// The 8-bit drawing surface: a rectangle of palette indices over the segments
// of an image, with a clip rectangle that limits all drawing, a transparent
// index and mirror flags that apply when it is copied from, a damage list of
// changed rectangles, and layers (sprites) shown on it.
//
// Every drawing operation but ShrinkFrom reports its changed rectangle with
// Changed, which records damage, keeps the layers over it right and passes
// the change on to the surfaces that show this one as a layer.

#include "foundation/Geometry.h"
#include "foundation/KelList.h"
#include "foundation/PriList.h"
#include "foundation/TemporaryChange.h"

#include <cstdint>
#include <memory>
#include <vector>

class DisplayTarget;
class LineColours;
class TZQ5Image;
class TZQ5ImageSegment;
class TZQ5ImageData;
struct TDisplayHeader;

class TDamageNode : public TKelNode {
public:
    explicit TDamageNode(const TRect& rect) : Rect(rect) {}
    TRect Rect;
};

class TDamageList : public TKelListOf<TDamageNode> {};

// Rectangles must not be stacked as damage forever: a new rectangle lying
// within a listed one is dropped, and one holding a listed rectangle takes its
// place; partial overlaps stay side by side. One pass, first containment wins.
void MergeDamage(TDamageList& list, const TRect& rect);

// How a layer is made and read back. An explicit SourceRect is taken only
// with FrameIndex 0; otherwise the layer shows frame FrameIndex of its source
// (FrameHeight lines from FrameHeight x FrameIndex), ScaleX/ScaleDivisor
// times as wide and ScaleY/ScaleDivisor times as tall.
struct LayerParams {
    uint16_t Priority = 0;
    uint16_t FrameIndex = 0;
    uint16_t ScaleX = 1;
    uint16_t ScaleY = 1;
    uint16_t ScaleDivisor = 1;
    bool UseSourceRect = false;
    bool Hidden = false;
    int32_t X = 0;
    int32_t Y = 0;
    TRect SourceRect;
};

// One layer on a parent surface: Data is its source surface (not owned).
class TZQ5LayerNode : public TPriDataNode {
public:
    // Raises ZQ5Exception when ScaleDivisor is 0 or the scaled size exceeds
    // what an image can hold.
    TZQ5LayerNode(TZQ5ImageData* source, const LayerParams& params);
    ~TZQ5LayerNode() override;

    TZQ5ImageData* Source() const { return static_cast<TZQ5ImageData*>(Data); }
    void SetSourceRect(const TRect& rect);
    void FreeSave();
    // Shown at the size of its source rectangle.
    bool IsOneToOne() const { return ScaleX == ScaleDivisor && ScaleY == ScaleDivisor; }
    // The rectangle the layer covers on its parent.
    TRect Area() const;

    TPoint Position;
    bool Visible = false;
    bool UseSourceRect = false;
    std::unique_ptr<TZQ5Image> SaveImage;
    std::unique_ptr<TZQ5ImageData> SaveSurface;
    uint16_t ScaleX = 1;
    uint16_t ScaleY = 1;
    uint16_t ScaleDivisor = 1;
    uint16_t FrameIndex = 0;
    TRect ParentClip;
    TRect SourceRect;
};

class TZQ5ImageData {
public:
    TZQ5ImageData();
    // Leaves every parent (restoring their pixels) and drops its own layers.
    ~TZQ5ImageData();
    TZQ5ImageData(const TZQ5ImageData&) = delete;
    TZQ5ImageData& operator=(const TZQ5ImageData&) = delete;

    void Setup(uint16_t width, uint16_t height, TDisplayHeader* displayHeader, bool transparent,
               uint8_t transparentIndex, TZQ5ImageSegment* const* segments, uint8_t segmentCount);

    // Damage.
    void AddDamage(TRect rect);
    bool IsDirty() const { return !Damage.IsEmpty(); }
    void ClearDamage() { Damage.Clear(); }
    const TDamageList& DamageList() const { return Damage; }

    // Rectangles and attributes.
    TRect BoundsRect() const { return {0, 0, Width, Height}; }
    void SetClipRect(const TRect& rect);
    void ResetClipRect();
    void NormalizeRect(TRect& rect) const;
    void ClipToDrawable(TRect& rect) const;
    void SetTransparent(uint8_t index, bool enabled);
    int TransparentOrNone() const { return Transparent ? TransparentIndex : -1; }

    // Line access. Addresses stay valid until the segment is unlocked.
    uint8_t* StartLine(int32_t x, int32_t y);
    uint8_t* PrevStartLine(uint8_t* address, int32_t x, int32_t& y);
    uint8_t* NextStartLine(uint8_t* address, int32_t x, int32_t& y);
    void UnlockSegment(int32_t x, int32_t y);
    void LockAll();

    // Drawing.
    uint8_t GetPixel(TPoint point);
    void FillRect(TRect rect, uint8_t colour);
    void FrameRect(TRect rect, uint8_t colour);
    // Fills the 4-connected area of the seed's colour within ClipRect and
    // returns the bounding rectangle of what was filled, or the inverted
    // rectangle (Width, Height, 0, 0) when nothing was (also for a seed
    // outside ClipRect). A seed outside the surface raises.
    TRect FloodFill(TPoint seed, uint8_t colour);
    void CopyFrom(TPoint dest, TZQ5ImageData& source, TRect sourceRect);
    void CopyWithClip(TPoint dest, TZQ5ImageData& source, const TRect& clip, TRect sourceRect);
    void ScaledCopyFrom(TRect destRect, TZQ5ImageData& source, TRect sourceRect);
    // Step 0 copies nothing.
    void DitherFrom(TPoint dest, TZQ5ImageData& source, TRect sourceRect, uint8_t step);
    // Every factor-th pixel of every factor-th line; reports nothing. Raises,
    // writing nothing, when the source is smaller than factor times this.
    void ShrinkFrom(TZQ5ImageData& source, int factor);
    // Reduces sourceRect of source onto destRect of this surface at any ratio:
    // each pixel stands for a block of source pixels and is ink when the block
    // holds any, else the block's most frequent index, so that one-pixel line
    // art survives. Pixels of index ignore (-1: none) have no vote. Reports
    // nothing; raises, writing nothing, when a rectangle lies outside its
    // surface or the source is smaller than the destination.
    void InkShrinkFrom(TRect destRect, TZQ5ImageData& source, TRect sourceRect, uint8_t ink, int ignore);
    // The same reduction worked out again only for the pixels whose blocks
    // meet changed (source coordinates); the others keep what an earlier
    // reduction of the same rectangles left there. Returns the rectangle of
    // the pixels worked out (empty for none).
    TRect InkShrinkPart(TRect destRect, TZQ5ImageData& source, TRect sourceRect, uint8_t ink, int ignore,
                       TRect changed);

    // Display: shows rect with its top-left at dest through the target's
    // selected palette (a grey ramp when none is selected), one blit per
    // segment band, the lowest band first; transparent pixels leave the target
    // as it was. Returns the lines drawn. Raises "PBMInfo not initialized for
    // Display" without a display header.
    int Display(DisplayTarget& target, TPoint dest, const TRect& rect);
    // Shows every damaged rectangle at origin + its position, then clears the damage.
    void DisplayDamage(DisplayTarget& target, TPoint origin);

    // Layers. A parent appears in a source's Parents once while at least one
    // of its layers shows that source.
    void Changed(const TRect& area);
    // Refuses a source that is this surface or one of its parents.
    TZQ5LayerNode* AddLayer(TZQ5ImageData* source, const LayerParams& params);
    void RemoveLayerNode(TZQ5LayerNode* node);
    void SetLayerNodeVisible(TZQ5LayerNode* node, bool visible);
    void GetLayerNodeParams(const TZQ5LayerNode* node, LayerParams& params) const;
    void CopyLayersFrom(TZQ5ImageData& other);
    void RestoreUnderLayers(TZQ5LayerNode* stop, const TRect& area);
    void RedrawLayers(TZQ5LayerNode* from, TRect area);
    void PropagateToParents(const TRect& area);

    int32_t Width = 0;
    int32_t Height = 0;
    uint16_t Stride = 0;
    uint8_t TransparentIndex = 0;
    bool Transparent = false;
    bool MirrorVertical = false;
    bool MirrorHorizontal = false;
    bool AllLocked = false;
    TRect ClipRect;
    uint8_t Busy = 0;
    uint16_t FrameHeight = 0;
    TDisplayHeader* DisplayHeader = nullptr;
    TDataList Parents;
    TPriDataList Layers;

    uint8_t SegmentCount() const { return static_cast<uint8_t>(Segments.size()); }

    uint16_t LinesPerSegment() const { return LinesPerBand; }
    TZQ5ImageSegment* Segment(unsigned index) const { return Segments[index]; }

    // Busy one higher until the result goes, also when an operation raises.
    TemporaryChange<uint8_t> MarkBusy() { return {Busy, static_cast<uint8_t>(Busy + 1)}; }

private:
    // The address of pixel 0 of line y (inside the surface), its segment locked.
    uint8_t* LineBase(int32_t y);
    // How many lines from y on, one step (1: down the picture, -1: up) apart,
    // lie in y's band, y included: their addresses are Stride apart.
    int32_t BandRun(int32_t y, int32_t step) const;
    // Unlocks the segments holding lines [top, bottom), unless LockAll holds them.
    void UnlockLines(int32_t top, int32_t bottom);
    unsigned SegmentOfLine(int32_t y) const;
    void EraseLayers(const TRect& area);
    void CopyLines(const TRect& dest, TZQ5ImageData& source, const TRect& sourceRect);
    void ScaledLines(const TRect& destRect, const TRect& clipped, TZQ5ImageData& source,
                     const TRect& sourceRect);
    // The colours of the indices as target shows them; raises without a display header.
    LineColours ColoursFor(const DisplayTarget& target);
    int BlitBands(DisplayTarget& target, TPoint dest, const TRect& rect, const LineColours& colours);

    bool HasLayer(const TZQ5LayerNode* node) const;
    bool ShowsSource(const TZQ5ImageData* source) const;
    void SaveUnder(TZQ5LayerNode& layer, const TRect& area);
    void DrawLayer(TZQ5LayerNode& layer, const TRect& area);
    void RefreshLayer(TZQ5LayerNode& layer, const TRect& sourceArea);
    void LeaveParents();
    void DropOwnLayers();

    std::vector<TZQ5ImageSegment*> Segments; // the image's, not owned
    uint16_t LinesPerBand = 0;
    TDamageList Damage;
};
