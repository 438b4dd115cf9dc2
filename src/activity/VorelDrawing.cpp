#include "activity/VorelDrawing.h"

#include "activity/ObjectTable.h"
#include "activity/RegionMap.h"
#include "activity/VorelDrawingChart.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/ScopeGuard.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {
// Puts a surface's clip rectangle back however the drawing ends.
auto KeepClip(TZQ5ImageData& surface) {
    return ScopeGuard([&surface, saved = surface.ClipRect] { surface.SetClipRect(saved); });
}

// At least this much of a moved object's drawn pixels stays inside the
// picture in each direction, all of them when the object is smaller.
constexpr int32_t KeepInside = 16;

int32_t ClampAxis(int32_t at, int32_t drawnFirst, int32_t drawnLast, int32_t length) {
    int32_t keep = std::min(KeepInside, drawnLast - drawnFirst);
    int32_t lowest = keep - drawnLast;            // the drawn end still keep pixels in
    int32_t highest = length - keep - drawnFirst; // the drawn start still keep pixels in
    return std::min(std::max(at, lowest), highest);
}

int32_t VisibleDrawnPixels(const TVorelDrawingObject& object, TPoint at) {
    return object.DrawnPixelsIn(RectSubPt({0, 0, PictureWidth, PictureHeight}, at));
}
} // namespace

TPoint ClampObjectPlacement(TPoint point, const TRect& drawn) {
    return {ClampAxis(point.X, drawn.Left, drawn.Right, PictureWidth),
            ClampAxis(point.Y, drawn.Top, drawn.Bottom, PictureHeight)};
}

// The box rule alone lets a shape whose box has empty corners (a tree, a
// ring) slip out until only its transparent corner is left. Along the way
// from where the object is to where it is wanted, it stops at the last place
// that still shows 16 x 16 pixels' worth of its drawing (all of it when less).
TPoint KeepInSight(const TVorelDrawingObject& object, TPoint from, TPoint to) {
    const int32_t needed = std::min<int32_t>(KeepInside * KeepInside, object.DrawnPixelCount());
    if (VisibleDrawnPixels(object, to) >= needed || VisibleDrawnPixels(object, from) < needed) return to;
    const TPoint way = PtSub(to, from);
    const int32_t steps = std::max(std::abs(way.X), std::abs(way.Y));
    auto along = [&](int32_t k) { return PtAdd(from, {way.X * k / steps, way.Y * k / steps}); };
    int32_t good = 0, bad = steps; // shows enough at good, not at bad
    while (bad - good > 1) {
        int32_t middle = (good + bad) / 2;
        (VisibleDrawnPixels(object, along(middle)) >= needed ? good : bad) = middle;
    }
    return along(good);
}

TRect ReachBox(const TVorelDrawingObject& object) {
    const TRect& drawn = object.DrawnBox();
    return IsRectEmpty(drawn) ? RectSubPt(object.Bounds(), object.Position()) : drawn;
}

TVorelDrawing::TVorelDrawing() : TVorelDrawing(TRegionMap::Load(RegionMapFileName())) {}

TVorelDrawing::TVorelDrawing(std::unique_ptr<TRegionMap> map)
    : Map(std::move(map)), ItemChart(std::make_unique<TVorelDrawingChart>(PictureWidth, PictureHeight)),
      Canvas(THotImage::CreateBlank(PictureWidth, PictureHeight)),
      Miniature(THotImage::CreateBlank(PictureWidth / 3, PictureHeight / 3)) {}

TVorelDrawing::~TVorelDrawing() = default;

void TVorelDrawing::Attach(TZQ5ImageData* surface, TPoint point) {
    Surface = surface;
    At = point;
}

TVorelDrawingObject* TVorelDrawing::Item(int number) const {
    if (number == 0) return Bg.get();
    return Object(number);
}

void TVorelDrawing::PaintCanvas(const TRect& area) {
    TZQ5ImageData& canvas = Canvas->ImageData();
    const auto keepClip = KeepClip(canvas);
    canvas.SetClipRect(area);
    if (Bg) Bg->Draw(&canvas, {0, 0});
    for (TVorelDrawingObject* object : Objects)
        object->Draw(&canvas, {0, 0});
}

void TVorelDrawing::Paint(TRect area) {
    area = IntersectRect(area, {0, 0, PictureWidth, PictureHeight});
    if (IsRectEmpty(area)) return;
    if (!Surface) {
        // Nothing is drawn while detached; the canvas catches up when it is next needed.
        CanvasStale = true;
        return;
    }
    if (CanvasStale) area = {0, 0, PictureWidth, PictureHeight};
    PaintCanvas(area);
    if (area == TRect{0, 0, PictureWidth, PictureHeight}) CanvasStale = false;
    // The canvas is opaque: one block copy per line, clipped by the target.
    Surface->CopyFrom(PtAdd(area.TopLeft(), At), Canvas->ImageData(), area);
}

// The whole canvas is brought up to date, so that it never lags behind the
// picture whatever the target's clip; the target gets what its clip lets in.
void TVorelDrawing::DrawAll() {
    Paint({0, 0, PictureWidth, PictureHeight});
}

void TVorelDrawing::Redraw(const TRect& rect) {
    if (!Surface) {
        CanvasStale = true;
        return;
    }
    const auto keepClip = KeepClip(*Surface);
    Surface->SetClipRect(RectAddPt(rect, At));
    Paint(rect);
}

void TVorelDrawing::Clear() {
    Objects.Clear();
    RebuildChart();
}

void TVorelDrawing::RebuildChart() {
    ItemChart->Reset();
    if (Bg) ItemChart->Add(*Bg);
    for (TVorelDrawingObject* object : Objects)
        ItemChart->Add(*object);
}

void TVorelDrawing::SetBackground(uint8_t index, bool blank) {
    // The new background is made first, so that a failure keeps the old one.
    CheckBackgroundIndex(index);
    auto background = std::make_unique<TVorelBG>(index, GetEntry(index), blank);
    Bg = std::move(background);
    Blank = blank;
    RebuildChart();
    DrawAll();
}

bool TVorelDrawing::AddObject(uint8_t mapIndex, bool randomColours) {
    if (!IsObjectMapIndex(mapIndex) || ObjectCount() >= MaxObjects) return false;
    std::unique_ptr<THotImage> sheet = THotImage::Create(ObjectSheetName(mapIndex, false));
    TRect source = ObjectSourceRect(mapIndex);
    TPoint centred{(PictureWidth - RectWidth(source)) / 2, (PictureHeight - RectHeight(source)) / 2};
    // The cascade is not reset by everything that empties the picture; however
    // far it has run, a new object stays in reach of the child.
    TPoint wanted = PtAdd(Placement, centred);
    Placement = PtAdd(Placement, CascadeStep);
    auto object = std::make_unique<TVorelDrawingObject>(sheet->ImageData(), randomColours, GetEntry(mapIndex),
                                                        wanted, source);
    object->SetPosition(ClampObjectPlacement(wanted, ReachBox(*object)));
    ItemChart->Add(*object);
    Objects.AddTail(std::move(object));
    DrawAll();
    return true;
}

std::optional<uint8_t> TVorelDrawing::ObjectMapIndex(int number) const {
    if (TVorelDrawingObject* object = Object(number)) return object->MapIndex();
    return std::nullopt;
}

std::optional<TPoint> TVorelDrawing::HitSelected(TPoint point, int number) const {
    TVorelDrawingObject* object = Object(number);
    if (!object || !PtInRect(object->Bounds(), point)) return std::nullopt;
    return PtSub(point, object->Position());
}

void TVorelDrawing::MoveObject(int number, TPoint point, bool rebuildChart) {
    TVorelDrawingObject* object = Object(number);
    if (!object) return;
    TRect old = object->Bounds();
    object->SetPosition(KeepInSight(*object, object->Position(), ClampObjectPlacement(point, ReachBox(*object))));

    TRect now = object->Bounds();
    if (RectsIntersect(now, old)) {
        Redraw(UnionRect(now, old));
    } else {
        Redraw(now);
        Redraw(old);
    }
    if (rebuildChart) RebuildChart();
    Placement = {0, 0};
}

void TVorelDrawing::FillAt(TPoint point, uint8_t colour) {
    int number = ItemChart->ItemAt(point);
    if (number < 0) return;
    if (TVorelDrawingObject* item = Item(number)) Redraw(item->FillRegion(point, colour));
    Placement = {0, 0};
}

void TVorelDrawing::RemoveColouring(int number) {
    TVorelDrawingObject* item = number >= 0 ? Item(number) : nullptr;
    if (!item) return;
    uint8_t blank = number == 0 ? BlankBackgroundColour : BlankObjectColour;
    size_t count = item->Entry().Regions.size();
    for (size_t i = 0; i < count; ++i)
        item->FillRegion(PtAdd(item->Entry().Regions[i].Seed, item->Position()), blank);
    Redraw(item->Bounds());
}

void TVorelDrawing::ToggleMirror(int number) {
    TVorelDrawingObject* object = Object(number);
    if (!object) return;
    object->SetMirrored(!object->Mirrored());
    Redraw(object->Bounds());
    RebuildChart();
}

void TVorelDrawing::ToggleHalf(int number, bool keepCorner) {
    TVorelDrawingObject* object = Object(number);
    if (!object) return;
    uint8_t mapIndex = object->MapIndex();
    bool half = !object->Half() || keepCorner;
    std::unique_ptr<THotImage> sheet = THotImage::Create(ObjectSheetName(mapIndex, half));
    TRect source = ObjectSourceRect(mapIndex);
    if (half) source = HalfSourceRect(source);

    TRect old = object->Bounds();
    TPoint topLeft = old.TopLeft();
    // Without keepCorner the object shrinks or grows about its centre.
    if (!keepCorner)
        topLeft = PtAdd(
            topLeft, {(RectWidth(old) - RectWidth(source)) / 2, (RectHeight(old) - RectHeight(source)) / 2});
    object->Rebuild(sheet->ImageData(), source, half, GetEntry(mapIndex), topLeft);
    Redraw(half ? old : object->Bounds());
    RebuildChart();
}

void TVorelDrawing::BringToFront(int number) {
    TVorelDrawingObject* object = Object(number);
    if (!object) return;
    object = Objects.AddTail(Objects.Remove(object));
    Redraw(object->Bounds());
    RebuildChart();
}

void TVorelDrawing::DeleteObject(int number) {
    TVorelDrawingObject* object = Object(number);
    if (!object) return;
    TRect bounds = object->Bounds();
    std::unique_ptr<TVorelDrawingObject> removed = Objects.Remove(object);
    Redraw(bounds);
    removed.reset();
    RebuildChart();
    Placement = {0, 0};
}

bool TVorelDrawing::IsMirrored(int number) const {
    TVorelDrawingObject* object = Object(number);
    return object && object->Mirrored();
}

bool TVorelDrawing::IsHalf(int number) const {
    TVorelDrawingObject* object = Object(number);
    return object && object->Half();
}

void TVorelDrawing::SetSelected(int number, bool on) {
    TVorelDrawingObject* object = Object(number);
    if (!object) return;
    object->SetSelected(on);
    Redraw(object->Bounds());
}

void TVorelDrawing::DrawMiniature(TZQ5ImageData& surface, TPoint point) {
    if (CanvasStale) {
        PaintCanvas({0, 0, PictureWidth, PictureHeight});
        CanvasStale = false;
    }
    // The selection outline belongs to the editing, not to the picture: the
    // canvas is reduced without it (it would cover the object's own outline).
    std::vector<TVorelDrawingObject*> selected;
    for (TVorelDrawingObject* object : Objects)
        if (object->Selected()) selected.push_back(object);
    for (TVorelDrawingObject* object : selected) {
        object->SetSelected(false);
        PaintCanvas(object->Bounds());
    }
    TZQ5ImageData& reduced = Miniature->ImageData();
    TZQ5ImageData& canvas = Canvas->ImageData();
    // Ink wins each block so that outlines stay whole.
    reduced.InkShrinkFrom(reduced.BoundsRect(), canvas, canvas.BoundsRect(), OutlineInk, -1);
    for (TVorelDrawingObject* object : selected) {
        object->SetSelected(true);
        PaintCanvas(object->Bounds());
    }
    surface.CopyFrom(point, reduced, reduced.BoundsRect());
}

std::unique_ptr<TRegionEntry> TVorelDrawing::GetEntry(uint8_t mapIndex) const {
    return Map->GetEntry(mapIndex);
}

void TVorelDrawing::SaveToStream(ByteStream& stream) const {
    if (!Bg) throw KelException("SaveToStream: the picture has no background");
    WriteByte(stream, Bg->MapIndex());
    WriteBoolean(stream, Blank);
    Bg->SaveToStream(stream);
    WriteByte(stream, static_cast<uint8_t>(Objects.Count()));
    for (TVorelDrawingObject* object : Objects) {
        WriteByte(stream, object->MapIndex());
        object->SaveToStream(stream);
    }
}

void TVorelDrawing::LoadFromStream(ByteStream& stream) {
    Surface = nullptr;
    Objects.Clear();
    uint8_t index = ReadByte(stream);
    bool blank = ReadBoolean(stream);
    SetBackground(index, blank);
    Bg->LoadFromStream(stream);

    uint8_t count = ReadByte(stream);
    if (count > MaxObjects) RaiseSavedGameDamaged();
    for (int number = 1; number <= count; ++number) {
        // A record naming no object would leave the next record to the wrong item.
        if (!AddObject(ReadByte(stream), false)) RaiseSavedGameDamaged();
        TVorelDrawingObject* object = Objects.Tail();
        object->LoadFromStream(stream);
        if (object->Half()) ToggleHalf(number, true);
    }
    RebuildChart();
}
