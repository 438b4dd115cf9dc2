#pragma once
// One picture: a background and up to fifteen objects stacked on it, drawn
// onto a target surface at an origin, with the chart that finds the item
// under a point. Drawing goes through a picture-sized canvas that the picture
// keeps, from which the changed part is copied to the target and the
// miniature is taken. Objects are numbered by their 1-based place in the stacking
// order (the head is drawn first); operations given 0 or a number above the
// count do nothing, except FillAt and RemoveColouring, for which 0 is the
// background.

#include "activity/PictureRecord.h"
#include "activity/VorelDrawingObject.h"
#include "foundation/Geometry.h"
#include "foundation/KelList.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ByteStream;
struct TItemRecord;
class TRegionMap;
class TVorelDrawingChart;
class TZQ5ImageData;

// The top-left nearest point at which an object whose drawn pixels lie in
// drawn (relative to its top-left) keeps at least 16 by 16 of that box
// inside the picture, all of it in a direction where it is smaller.
TPoint ClampObjectPlacement(TPoint point, const TRect& drawn);
// What must stay in reach of an object: its drawn box, or its whole box
// when nothing of it is drawn.
TRect ReachBox(const TVorelDrawingObject& object);
// Where an object moving from one place towards another stops so that at
// least 16 x 16 pixels' worth of its drawing (all when it has fewer) stays
// in the picture; to itself when that already holds there, or when it did
// not hold at from either.
TPoint KeepInSight(const TVorelDrawingObject& object, TPoint from, TPoint to);

class TObjectList : public TKelListOf<TVorelDrawingObject> {};

class TVorelDrawing {
public:
    static constexpr int MaxObjects = 15;
    static constexpr TPoint CascadeStep{5, 3};

    // Loads the region map from DatPath at once (its errors pass on).
    TVorelDrawing();
    // With a region map already read (tests, tools).
    explicit TVorelDrawing(std::unique_ptr<TRegionMap> map);
    ~TVorelDrawing();
    TVorelDrawing(const TVorelDrawing&) = delete;
    TVorelDrawing& operator=(const TVorelDrawing&) = delete;

    void Attach(TZQ5ImageData* surface, TPoint point);
    TZQ5ImageData* Target() const { return Surface; }
    // Draws the whole picture, clipped to it and to the target's clip.
    void DrawAll();
    // Draws only the part of the picture inside rect (picture coordinates).
    void Redraw(const TRect& rect);

    void Clear();
    // The chart is made again, whole, when it is next read: only a fill reads
    // it, so a picture no child fills never charts at all.
    void RebuildChart();
    void SetBackground(uint8_t index, bool blank);
    // Adds the object of an object map index (8..39) at the next cascade
    // place; false (nothing added) for another index or a full picture.
    bool AddObject(uint8_t mapIndex, bool randomColours);

    std::optional<uint8_t> ObjectMapIndex(int number) const;
    // The point's offset from the object's top-left when it lies in its bounds.
    std::optional<TPoint> HitSelected(TPoint point, int number) const;
    void MoveObject(int number, TPoint point, bool rebuildChart);
    void FillAt(TPoint point, uint8_t colour);
    void RemoveColouring(int number);
    // Every item's colours taken out, the picture drawn once.
    void RemoveAllColouring();
    void ToggleMirror(int number);
    void ToggleHalf(int number, bool keepCorner);
    void BringToFront(int number);
    void DeleteObject(int number);
    bool IsMirrored(int number) const;
    bool IsHalf(int number) const;
    void SetSelected(int number, bool on);

    // A 125 x 75 reduction in which the outlines stay whole and the selection
    // outline never shows, drawn onto surface at point. With onlyChanges the
    // surface is taken to hold the miniature as it was last drawn there, and
    // only what changed since is drawn.
    void DrawMiniature(TZQ5ImageData& surface, TPoint point, bool onlyChanges = false);

    std::unique_ptr<TRegionEntry> GetEntry(uint8_t mapIndex) const;

    // The picture record: background index and blank flag, the background's
    // record, the object count and each object's map index and record.
    void LoadFromStream(ByteStream& stream);
    void SaveToStream(ByteStream& stream) const;
    // Brings the picture to the state of a record read by ReadPictureRecord,
    // ending exactly as reading that record would: items the record asks for
    // unchanged are kept, only what differs is re-made, re-coloured, moved or
    // restacked, and only the changed part is drawn again. The selection goes.
    void Restore(const TPictureRecord& record);
    // Reads a record as LoadFromStream does and restores the picture to it.
    void RestoreFromStream(ByteStream& stream);

    int ObjectCount() const { return Objects.Count(); }
    TVorelDrawingObject* Object(int number) const { return number > 0 ? Objects.Nth(number) : nullptr; }
    TVorelBG* Background() const { return Bg.get(); }
    bool BackgroundBlank() const { return Blank; }
    TPoint NextPlacement() const { return Placement; }
    void SetNextPlacement(TPoint point) { Placement = point; }
    // The chart, brought up to date first.
    TVorelDrawingChart& Chart();

private:
    TVorelDrawingObject* Item(int number) const;
    // An object cut from its full-size sheet, not yet in the picture.
    std::unique_ptr<TVorelDrawingObject> NewObject(uint8_t mapIndex, bool randomColours, TPoint wanted);
    // An object made as reading its record into the picture makes it.
    std::unique_ptr<TVorelDrawingObject> ObjectFromRecord(const TItemRecord& item);
    // Re-cuts an object from the sheet of the size asked; returns its old bounds.
    TRect Resize(TVorelDrawingObject& object, bool half, bool keepCorner);
    THotImage& Sheet(const std::string& name);
    // Fills every region of an item with the blank colour; whether any changed.
    bool Uncolour(TVorelDrawingObject& item, bool background);
    // Keeps the background when only colours differ; whether it was re-made.
    bool RestoreBackground(const TPictureRecord& record, std::vector<TRect>& damage);
    // The background being replaced is kept, for going back to it.
    void KeepAsSpare();
    // So is an object taken out of the picture, among the last few.
    void KeepSpareObject(std::unique_ptr<TVorelDrawingObject> object, TItemRecord record);
    // Charts what was left to chart, before the chart is read or added to.
    void CatchUpChart();
    void ChartAll();
    // Charts again inside area only; for objects that kept their stacking.
    void RechartArea(const TRect& area);
    // Draws the items inside area (picture coordinates) onto the canvas.
    void PaintCanvas(const TRect& area);
    // Draws the top object over the canvas in its place and shows that part,
    // when everything under it is already drawn there; what it covers is kept.
    void DrawOnTop(TVorelDrawingObject& object);
    // Whether the canvas under the top object, showing record, is kept.
    bool UnderTopKept(const TVorelDrawingObject& object, const TItemRecord& record) const;
    // Puts the canvas under the top object back (it went) and shows that part.
    void PutUnderTopBack();
    // Keeps the miniature's pixels around the place the top object was just drawn over.
    void KeepMiniatureUnderTop();
    // Paints an object's area of the canvas again after its selection
    // changed: the top object over what is kept under it, when it is, else
    // every item there.
    void PaintSelection(TVorelDrawingObject& object);
    // Puts the canvas kept under the top object back, and top over it when
    // given; the miniature is reduced there again when reduceAgain.
    void PaintOverUnder(TVorelDrawingObject* top, bool reduceAgain = true);
    // Brings area of the canvas up to date and copies it to the target.
    void Paint(TRect area);
    // Copies area of the canvas to the target, within area only.
    void ShowCanvas(const TRect& area);
    // The record the canvas shows, when it is up to date and shows no selection.
    std::optional<TPictureRecord> CanvasRecord() const;
    // Paints the whole picture again; the canvas that showed shown is kept
    // for going back to it, and a kept canvas showing wanted is taken instead
    // of painting.
    void RepaintWhole(const TPictureRecord& wanted, std::optional<TPictureRecord> shown);
    void KeepCanvas(std::optional<TPictureRecord> shown);
    // Trades the canvas and miniature for the kept ones, which then show shown.
    void SwapWithKept(std::optional<TPictureRecord> shown);

    TZQ5ImageData* Surface = nullptr; // not owned
    std::unique_ptr<TRegionMap> Map;
    std::unique_ptr<TVorelDrawingChart> ItemChart;
    TPoint At;
    TObjectList Objects;
    std::unique_ptr<TVorelBG> Bg;
    bool Blank = false;
    // Backgrounds taken out lately, replaced or recoloured in most regions,
    // the latest first: going back finds them instead of making or filling again.
    struct SpareBackground {
        std::unique_ptr<TVorelBG> Background;
        bool Blank = false;
    };
    static constexpr size_t MostSpareBackgrounds = 2;
    std::vector<SpareBackground> SpareBackgrounds;
    // The kept background that record asks for, colours and all, else one of
    // its shape; none when none fits.
    SpareBackground* FindSpareBackground(const TPictureRecord& record);
    TPoint Placement;
    // The picture as last drawn, kept so that a miniature needs no drawing of
    // its own; stale after changes made while detached.
    std::unique_ptr<THotImage> Canvas;
    std::unique_ptr<THotImage> Miniature;
    bool CanvasStale = true;
    struct SpareObject {
        std::unique_ptr<TVorelDrawingObject> Object;
        TItemRecord Record;
    };
    static constexpr size_t MostSpareObjects = 4;
    std::vector<SpareObject> SpareObjects; // the latest first
    std::unique_ptr<THotImage> LastSheet;
    std::string LastSheetName;
    // What was painted on the canvas since the miniature was last reduced.
    TRect MiniatureDamage;
    // The miniature was taken over whole: the next drawing of its changes draws it all.
    bool MiniatureTaken = false;
    // Miniature pixels put back since its changes were last drawn.
    TRect MiniatureRestored;
    // A canvas and miniature of an earlier picture, for going back to it:
    // a whole picture drawn anew costs many times showing it.
    struct KeptCanvas;
    std::unique_ptr<KeptCanvas> Kept;
    // What the top object covers on the canvas, as it was before the object
    // was drawn over it, while nothing else has been painted there since:
    // taking that object away puts it back instead of drawing every object there.
    // With it the miniature's pixels around that place, while nothing there
    // has been painted since, and the part of the canvas they were reduced from.
    struct UnderTop {
        bool Valid = false;
        TItemRecord Record;
        TRect Area;
        std::unique_ptr<THotImage> Pixels; // in its top-left corner
        bool MiniatureKept = false;
        TRect MiniatureBlocks;
        TRect MiniatureReads;
        std::unique_ptr<THotImage> MiniaturePixels; // in its top-left corner
    };
    UnderTop Under;
    // Only a fill reads the chart: changes leave the charting to the next
    // fill, the whole chart (made then for the first time) or only these areas.
    bool ChartStale = true;
    std::vector<TRect> StaleChartAreas;
};
