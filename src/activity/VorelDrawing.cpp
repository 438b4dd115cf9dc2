#include "activity/VorelDrawing.h"

#include "activity/ObjectTable.h"
#include "activity/PictureRecord.h"
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

struct TVorelDrawing::KeptCanvas {
    std::optional<TPictureRecord> Shows; // none: nothing to go back to
    std::unique_ptr<THotImage> Canvas;
    std::unique_ptr<THotImage> Miniature;
    TRect MiniatureDamage;
};

TVorelDrawing::TVorelDrawing() : TVorelDrawing(TRegionMap::Load(RegionMapFileName())) {}

TVorelDrawing::TVorelDrawing(std::unique_ptr<TRegionMap> map)
    : Map(std::move(map)), Canvas(THotImage::CreateBlank(PictureWidth, PictureHeight)),
      Miniature(THotImage::CreateBlank(PictureWidth / 3, PictureHeight / 3)),
      MiniatureDamage{0, 0, PictureWidth, PictureHeight} {}

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
    MiniatureDamage = UnionRect(MiniatureDamage, canvas.ClipRect);
    if (RectsIntersect(canvas.ClipRect, Under.Area)) Under.Valid = false;
    if (RectsIntersect(canvas.ClipRect, Under.MiniatureReads)) Under.MiniatureKept = false;
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

void TVorelDrawing::ShowCanvas(const TRect& area) {
    const auto keepClip = KeepClip(*Surface);
    Surface->SetClipRect(RectAddPt(area, At));
    Surface->CopyFrom(PtAdd(area.TopLeft(), At), Canvas->ImageData(), area);
}

std::optional<TPictureRecord> TVorelDrawing::CanvasRecord() const {
    if (!Surface || CanvasStale || !Bg) return {};
    TPictureRecord record{Blank, Bg->Record(), {}};
    for (TVorelDrawingObject* object : Objects) {
        if (object->Selected()) return {};
        record.Objects.push_back(object->Record());
    }
    return record;
}

void TVorelDrawing::KeepCanvas(std::optional<TPictureRecord> shown) {
    // What the canvas shows is worth keeping only when it is known; an
    // earlier kept canvas stays otherwise.
    if (!shown) return;
    if (!Kept)
        Kept = std::make_unique<KeptCanvas>(KeptCanvas{{},
                                                       THotImage::CreateBlank(PictureWidth, PictureHeight),
                                                       THotImage::CreateBlank(PictureWidth / 3, PictureHeight / 3),
                                                       {}});
    SwapWithKept(std::move(shown));
    // The buffers taken over hold an older picture: all of it is painted and reduced again.
    CanvasStale = true;
    MiniatureDamage = {0, 0, PictureWidth, PictureHeight};
}

void TVorelDrawing::SwapWithKept(std::optional<TPictureRecord> shown) {
    std::swap(Canvas, Kept->Canvas);
    std::swap(Miniature, Kept->Miniature);
    std::swap(MiniatureDamage, Kept->MiniatureDamage);
    Kept->Shows = std::move(shown);
    Under.Valid = false;
}

void TVorelDrawing::RepaintWhole(const TPictureRecord& wanted, std::optional<TPictureRecord> shown) {
    const TRect whole{0, 0, PictureWidth, PictureHeight};
    if (!Surface || !Kept || Kept->Shows != wanted) {
        KeepCanvas(std::move(shown));
        Redraw(whole);
        return;
    }
    // The kept canvas shows the picture wanted, and its miniature what was
    // reduced of it: both are taken back, the present ones kept instead.
    SwapWithKept(std::move(shown));
    CanvasStale = false;
    MiniatureTaken = true;
    ShowCanvas(whole);
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

void TVorelDrawing::RechartArea(const TRect& area) {
    std::vector<TVorelDrawingObject*> items;
    if (Bg) items.push_back(Bg.get());
    for (TVorelDrawingObject* object : Objects)
        items.push_back(object);
    ItemChart->RechartArea(area, items);
}

void TVorelDrawing::RebuildChart() {
    ChartStale = true;
    StaleChartAreas.clear();
}

void TVorelDrawing::ChartAll() {
    if (!ItemChart) ItemChart = std::make_unique<TVorelDrawingChart>(PictureWidth, PictureHeight);
    ChartStale = false;
    StaleChartAreas.clear();
    ItemChart->Reset();
    if (Bg) ItemChart->Add(*Bg);
    for (TVorelDrawingObject* object : Objects)
        ItemChart->Add(*object);
}

TVorelDrawingChart& TVorelDrawing::Chart() {
    CatchUpChart();
    return *ItemChart;
}

void TVorelDrawing::CatchUpChart() {
    if (ChartStale) {
        ChartAll();
        return;
    }
    if (StaleChartAreas.empty()) return;
    ItemChart->NumberInOrder(static_cast<uint8_t>(1 + Objects.Count()));
    for (const TRect& area : StaleChartAreas)
        RechartArea(area);
    StaleChartAreas.clear();
}

void TVorelDrawing::SetBackground(uint8_t index, bool blank) {
    // The new background is made first, so that a failure keeps the old one.
    CheckBackgroundIndex(index);
    auto background = std::make_unique<TVorelBG>(index, GetEntry(index), blank);
    std::optional<TPictureRecord> shown = CanvasRecord();
    KeepAsSpare();
    Bg = std::move(background);
    Blank = blank;
    RebuildChart();
    KeepCanvas(std::move(shown));
    DrawAll();
}

void TVorelDrawing::KeepAsSpare() {
    // A picture's first background replaces none.
    if (!Bg) return;
    SpareBackgrounds.insert(SpareBackgrounds.begin(), {std::move(Bg), Blank});
    if (SpareBackgrounds.size() > MostSpareBackgrounds) SpareBackgrounds.resize(MostSpareBackgrounds);
}

void TVorelDrawing::KeepSpareObject(std::unique_ptr<TVorelDrawingObject> object, TItemRecord record) {
    SpareObjects.insert(SpareObjects.begin(), {std::move(object), std::move(record)});
    if (SpareObjects.size() > MostSpareObjects) SpareObjects.resize(MostSpareObjects);
}

THotImage& TVorelDrawing::Sheet(const std::string& name) {
    // The sheet last cut from stays loaded: going back and forth over the
    // same step cuts from it again and again.
    if (!LastSheet || LastSheetName != name) {
        LastSheet.reset();
        LastSheet = THotImage::Create(name);
        LastSheetName = name;
    }
    return *LastSheet;
}

std::unique_ptr<TVorelDrawingObject> TVorelDrawing::NewObject(uint8_t mapIndex, bool randomColours, TPoint wanted) {
    return std::make_unique<TVorelDrawingObject>(Sheet(ObjectSheetName(mapIndex, false)).ImageData(), randomColours,
                                                 GetEntry(mapIndex), wanted, ObjectSourceRect(mapIndex));
}

bool TVorelDrawing::AddObject(uint8_t mapIndex, bool randomColours) {
    if (!IsObjectMapIndex(mapIndex) || ObjectCount() >= MaxObjects) return false;
    TRect source = ObjectSourceRect(mapIndex);
    TPoint centred{(PictureWidth - RectWidth(source)) / 2, (PictureHeight - RectHeight(source)) / 2};
    // The cascade is not reset by everything that empties the picture; however
    // far it has run, a new object stays in reach of the child.
    TPoint wanted = PtAdd(Placement, centred);
    Placement = PtAdd(Placement, CascadeStep);
    auto object = NewObject(mapIndex, randomColours, wanted);
    object->SetPosition(ClampObjectPlacement(wanted, ReachBox(*object)));
    // A chart left to be made whole takes the object in with the rest.
    if (!ChartStale) {
        CatchUpChart();
        ItemChart->Add(*object);
    }
    // Nothing under the new object changes: it is drawn over the picture.
    DrawOnTop(*Objects.AddTail(std::move(object)));
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
    int number = Chart().ItemAt(point);
    if (number < 0) return;
    if (TVorelDrawingObject* item = Item(number)) Redraw(item->FillRegion(point, colour));
    Placement = {0, 0};
}

void TVorelDrawing::RemoveColouring(int number) {
    TVorelDrawingObject* item = number >= 0 ? Item(number) : nullptr;
    if (!item) return;
    Uncolour(*item, number == 0);
    Redraw(item->Bounds());
}

bool TVorelDrawing::Uncolour(TVorelDrawingObject& item, bool background) {
    const uint8_t blank = background ? BlankBackgroundColour : BlankObjectColour;
    bool changed = false;
    for (const TRegion& region : item.Entry().Regions)
        changed |= !IsRectEmpty(item.FillRegion(PtAdd(region.Seed, item.Position()), blank));
    return changed;
}

void TVorelDrawing::RemoveAllColouring() {
    std::optional<TPictureRecord> shown = CanvasRecord();
    bool changed = Bg && Uncolour(*Bg, true);
    for (TVorelDrawingObject* object : Objects)
        changed |= Uncolour(*object, false);
    if (!changed) return;
    // All of it is drawn once, and the coloured picture kept for going back.
    KeepCanvas(std::move(shown));
    DrawAll();
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
    bool half = !object->Half() || keepCorner;
    TRect old = Resize(*object, half, keepCorner);
    Redraw(half ? old : object->Bounds());
    RebuildChart();
}

TRect TVorelDrawing::Resize(TVorelDrawingObject& object, bool half, bool keepCorner) {
    uint8_t mapIndex = object.MapIndex();
    THotImage& sheet = Sheet(ObjectSheetName(mapIndex, half));
    TRect source = ObjectSourceRect(mapIndex);
    if (half) source = HalfSourceRect(source);

    TRect old = object.Bounds();
    TPoint topLeft = old.TopLeft();
    // Without keepCorner the object shrinks or grows about its centre.
    if (!keepCorner)
        topLeft = PtAdd(
            topLeft, {(RectWidth(old) - RectWidth(source)) / 2, (RectHeight(old) - RectHeight(source)) / 2});
    object.Rebuild(sheet.ImageData(), source, half, GetEntry(mapIndex), topLeft);
    return old;
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
    TItemRecord record = removed->Record();
    KeepSpareObject(std::move(removed), std::move(record));
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
    const TRect area = IntersectRect(object->Bounds(), {0, 0, PictureWidth, PictureHeight});
    if (!Surface || CanvasStale || IsRectEmpty(area)) {
        Redraw(object->Bounds());
        return;
    }
    PaintSelection(*object);
    ShowCanvas(area);
}

void TVorelDrawing::PaintSelection(TVorelDrawingObject& object) {
    if (&object != Objects.Tail() || !UnderTopKept(object, object.Record())) {
        PaintCanvas(object.Bounds());
        return;
    }
    PaintOverUnder(&object);
}

void TVorelDrawing::DrawMiniature(TZQ5ImageData& surface, TPoint point, bool onlyChanges) {
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
        PaintSelection(*object);
    }
    TZQ5ImageData& reduced = Miniature->ImageData();
    TZQ5ImageData& canvas = Canvas->ImageData();
    // Ink wins each block so that outlines stay whole. Only the blocks that
    // meet what was painted since the last reduction can differ.
    const TRect redone =
        reduced.InkShrinkPart(reduced.BoundsRect(), canvas, canvas.BoundsRect(), OutlineInk, -1, MiniatureDamage);
    for (TVorelDrawingObject* object : selected) {
        object->SetSelected(true);
        PaintSelection(*object);
    }
    // The outline just painted back is never part of the miniature.
    MiniatureDamage = {};
    if (onlyChanges && MiniatureTaken) {
        MiniatureTaken = false;
        onlyChanges = false;
    }
    const TRect changed = UnionRect(redone, MiniatureRestored);
    if (onlyChanges) MiniatureRestored = {};
    if (!onlyChanges)
        surface.CopyFrom(point, reduced, reduced.BoundsRect());
    else if (!IsRectEmpty(changed))
        surface.CopyFrom(PtAdd(point, changed.TopLeft()), reduced, changed);
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
    const TPictureRecord record = ReadPictureRecord(stream, *Map);
    Objects.Clear();
    SpareObjects.clear();
    SetBackground(record.Background.MapIndex, record.Blank);
    Bg->Apply(record.Background);
    for (const TItemRecord& item : record.Objects) {
        AddObject(item.MapIndex, false);
        TVorelDrawingObject* object = Objects.Tail();
        object->Apply(item);
        if (object->Half()) ToggleHalf(ObjectCount(), true);
    }
    RebuildChart();
    // What was kept for going back belongs to the picture replaced.
    SpareBackgrounds.clear();
    Kept.reset();
}

void TVorelDrawing::RestoreFromStream(ByteStream& stream) {
    Restore(ReadPictureRecord(stream, *Map));
}

std::unique_ptr<TVorelDrawingObject> TVorelDrawing::ObjectFromRecord(const TItemRecord& item) {
    auto object = NewObject(item.MapIndex, false, item.Position);
    object->Apply(item);
    if (item.Half) Resize(*object, true, true);
    return object;
}

namespace {
// Which of the kept objects keep their order among themselves: the longest
// run of old places that rises along the new order. The others changed their
// stacking and are drawn again.
std::vector<bool> KeepsItsOrder(const std::vector<int>& oldPlaces) {
    const size_t n = oldPlaces.size();
    std::vector<size_t> length(n, 1), before(n, n);
    size_t best = n;
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < i; ++j)
            if (oldPlaces[j] < oldPlaces[i] && length[j] + 1 > length[i]) {
                length[i] = length[j] + 1;
                before[i] = j;
            }
        if (best == n || length[i] > length[best]) best = i;
    }
    std::vector<bool> keeps(n, false);
    for (size_t i = best; i < n; i = before[i])
        keeps[i] = true;
    return keeps;
}
} // namespace

namespace {
// Overlapping rectangles become one where that draws no more pixels than
// drawing both, so that nothing is drawn twice; empty ones go.
std::vector<TRect> MergeOverlapping(std::vector<TRect> rects) {
    auto area = [](const TRect& r) { return int64_t{RectWidth(r)} * RectHeight(r); };
    std::erase_if(rects, [](const TRect& r) { return IsRectEmpty(r); });
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < rects.size() && !merged; ++i)
            for (size_t j = i + 1; j < rects.size() && !merged; ++j) {
                const TRect both = UnionRect(rects[i], rects[j]);
                if (!RectsIntersect(rects[i], rects[j]) || area(both) > area(rects[i]) + area(rects[j])) continue;
                rects[i] = both;
                rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
                merged = true;
            }
    }
    return rects;
}
} // namespace

void TVorelDrawing::Restore(const TPictureRecord& record) {
    std::optional<TPictureRecord> shown = CanvasRecord();
    std::vector<TRect> damage;
    // The chart changes only where an object moved, turned, came, went or
    // took another number (its slot follows its number), as long as every
    // slot follows the stacking order; a new background charts all again.
    std::vector<TRect> chartAreas;
    // Areas left to chart are charted with every slot in order.
    const bool slotsInOrder =
        ChartStale || !StaleChartAreas.empty() || ItemChart->SlotsFollowOrder(static_cast<uint8_t>(1 + Objects.Count()));
    const bool rechartAll = RestoreBackground(record, damage) || !slotsInOrder;

    // The objects as they are, with their records, to be taken over where the
    // record asks for the same image.
    std::vector<std::unique_ptr<TVorelDrawingObject>> old;
    std::vector<TItemRecord> oldRecords;
    while (TVorelDrawingObject* head = Objects.Head()) {
        oldRecords.push_back(head->Record());
        old.push_back(Objects.Remove(head));
    }
    // Then the objects taken out lately: going back and forth over adding,
    // deleting or resizing one finds it there instead of cutting it again.
    const size_t inPicture = old.size();
    for (SpareObject& spare : SpareObjects) {
        old.push_back(std::move(spare.Object));
        oldRecords.push_back(std::move(spare.Record));
    }
    SpareObjects.clear();
    auto take = [&](const TItemRecord& wanted, size_t place, auto matches) -> int {
        if (place < inPicture && old[place] && matches(oldRecords[place], wanted)) return static_cast<int>(place);
        for (size_t k = 0; k < old.size(); ++k)
            if (old[k] && matches(oldRecords[k], wanted)) return static_cast<int>(k);
        return -1;
    };
    std::vector<int> oldPlaces; // of the objects taken over, in the new order
    std::vector<TVorelDrawingObject*> takenOver;
    // An object that comes to the top looking as it did (or new) is drawn
    // over what is there: nothing under it changes on its account.
    TVorelDrawingObject* onTop = nullptr;
    const size_t top = record.Objects.size() - 1;
    for (size_t place = 0; place < record.Objects.size(); ++place) {
        const TItemRecord& wanted = record.Objects[place];
        int k = take(wanted, place, [](const TItemRecord& a, const TItemRecord& b) { return a == b; });
        if (k < 0) k = take(wanted, place, [](const TItemRecord& a, const TItemRecord& b) { return a.SameShape(b); });
        // Mirroring moves every pixel and seed to its mirrored place and back
        // again, whatever the colours: the same image turned the other way.
        if (k < 0)
            k = take(wanted, place, [](const TItemRecord& a, const TItemRecord& b) {
                return a.MapIndex == b.MapIndex && a.Half == b.Half && a.Colours.size() == b.Colours.size();
            });
        if (k < 0) {
            auto object = ObjectFromRecord(wanted);
            if (place == top) onTop = object.get();
            if (place != top) damage.push_back(object->Bounds());
            chartAreas.push_back(object->Bounds());
            Objects.AddTail(std::move(object));
            continue;
        }
        TVorelDrawingObject* object = Objects.AddTail(std::move(old[static_cast<size_t>(k)]));
        if (static_cast<size_t>(k) >= inPicture) {
            // Not in the picture: made ready, then drawn and charted as a new one.
            object->SetSelected(false);
            object->SetMirrored(wanted.Mirrored);
            object->SetPosition(wanted.Position);
            object->Recolour(wanted.Colours);
            if (place == top)
                onTop = object;
            else
                damage.push_back(object->Bounds());
            chartAreas.push_back(object->Bounds());
            continue;
        }
        const size_t damaged = damage.size();
        if (object->Selected()) {
            object->SetSelected(false);
            damage.push_back(object->Bounds());
        }
        if (object->Mirrored() != wanted.Mirrored) {
            object->SetMirrored(wanted.Mirrored);
            damage.push_back(object->Bounds());
            chartAreas.push_back(object->Bounds());
        }
        if (object->Position() != wanted.Position) {
            damage.push_back(object->Bounds());
            chartAreas.push_back(object->Bounds());
            object->SetPosition(wanted.Position);
            damage.push_back(object->Bounds());
            chartAreas.push_back(object->Bounds());
        }
        damage.push_back(object->Recolour(wanted.Colours));
        if (place == top && damage.size() == damaged + 1 && IsRectEmpty(damage.back())) onTop = object;
        if (static_cast<size_t>(k) != place) chartAreas.push_back(object->Bounds());
        oldPlaces.push_back(k);
        takenOver.push_back(object);
    }
    // The top object going away uncovers what it was drawn over, when that was kept.
    bool underTopBack = false;
    for (size_t k = old.size(); k-- > 0;) {
        if (!old[k]) continue;
        if (k < inPicture) {
            if (k + 1 == inPicture && UnderTopKept(*old[k], oldRecords[k]))
                underTopBack = true;
            else
                damage.push_back(old[k]->Bounds());
            chartAreas.push_back(old[k]->Bounds());
        }
        KeepSpareObject(std::move(old[k]), std::move(oldRecords[k]));
    }
    old.clear();
    std::vector<bool> keeps = KeepsItsOrder(oldPlaces);
    for (size_t i = 0; i < takenOver.size(); ++i) {
        // Staying on top unchanged needs no drawing at all.
        if (takenOver[i] == onTop && keeps[i]) onTop = nullptr;
        if (keeps[i]) continue;
        if (takenOver[i] != onTop) damage.push_back(takenOver[i]->Bounds());
        chartAreas.push_back(takenOver[i]->Bounds());
    }
    // Left for the next fill; too many scattered areas chart all again.
    constexpr size_t MostAreas = 32;
    if (!ChartStale) {
        StaleChartAreas.insert(StaleChartAreas.end(), chartAreas.begin(), chartAreas.end());
        StaleChartAreas = MergeOverlapping(std::move(StaleChartAreas));
    }
    if (rechartAll || StaleChartAreas.size() > MostAreas) {
        ChartStale = true;
        StaleChartAreas.clear();
    }
    // When most of the picture changes, all of it is painted: then the
    // canvas as it was can be kept, and one kept earlier taken back.
    const TRect whole{0, 0, PictureWidth, PictureHeight};
    const std::vector<TRect> areas = MergeOverlapping(std::move(damage));
    int64_t changed = 0;
    for (const TRect& rect : areas) {
        const TRect inside = IntersectRect(rect, whole);
        if (!IsRectEmpty(inside)) changed += int64_t{RectWidth(inside)} * RectHeight(inside);
    }
    if (2 * changed >= int64_t{PictureWidth} * PictureHeight) {
        RepaintWhole(record, std::move(shown));
        return;
    }
    if (underTopBack) PutUnderTopBack();
    for (const TRect& rect : areas)
        Redraw(rect);
    if (onTop) DrawOnTop(*onTop);
}

void TVorelDrawing::DrawOnTop(TVorelDrawingObject& object) {
    const TRect area = IntersectRect(object.Bounds(), {0, 0, PictureWidth, PictureHeight});
    if (IsRectEmpty(area)) return;
    if (!Surface || CanvasStale) {
        Redraw(area);
        return;
    }
    TZQ5ImageData& canvas = Canvas->ImageData();
    if (!Under.Pixels) Under.Pixels = THotImage::CreateBlank(PictureWidth, PictureHeight);
    TZQ5ImageData& under = Under.Pixels->ImageData();
    under.CopyFrom({0, 0}, canvas, area);
    under.ClearDamage();
    Under.Valid = true;
    Under.Record = object.Record();
    Under.Area = area;
    KeepMiniatureUnderTop();
    {
        const auto keepClip = KeepClip(canvas);
        canvas.SetClipRect(area);
        MiniatureDamage = UnionRect(MiniatureDamage, canvas.ClipRect);
        object.Draw(&canvas, {0, 0});
    }
    ShowCanvas(area);
}

bool TVorelDrawing::UnderTopKept(const TVorelDrawingObject& object, const TItemRecord& record) const {
    return Under.Valid && Surface && !CanvasStale && Under.Record == record &&
           Under.Area == IntersectRect(object.Bounds(), {0, 0, PictureWidth, PictureHeight});
}

namespace {
// The miniature's pixels whose blocks may meet area (a few more at the
// edges, never fewer), and the part of the canvas those blocks are reduced from.
std::pair<TRect, TRect> MiniatureBlocksMeeting(const TRect& area) {
    constexpr int32_t W = PictureWidth, H = PictureHeight, w = PictureWidth / 3, h = PictureHeight / 3;
    const TRect blocks = IntersectRect(
        {area.Left * w / W - 1, area.Top * h / H - 1, (area.Right * w + W - 1) / W + 1, (area.Bottom * h + H - 1) / H + 1},
        {0, 0, w, h});
    const TRect reads = IntersectRect({blocks.Left * W / w, blocks.Top * H / h, (blocks.Right * W + w - 1) / w + 1,
                                       (blocks.Bottom * H + h - 1) / h + 1},
                                      {0, 0, W, H});
    return {blocks, reads};
}
} // namespace

void TVorelDrawing::KeepMiniatureUnderTop() {
    // The miniature shows the canvas under the object there only when no
    // change around it waits to be reduced.
    const auto [blocks, reads] = MiniatureBlocksMeeting(Under.Area);
    Under.MiniatureKept = !IsRectEmpty(blocks) && !RectsIntersect(MiniatureDamage, reads);
    if (!Under.MiniatureKept) return;
    if (!Under.MiniaturePixels) Under.MiniaturePixels = THotImage::CreateBlank(PictureWidth / 3, PictureHeight / 3);
    Under.MiniaturePixels->ImageData().CopyFrom({0, 0}, Miniature->ImageData(), blocks);
    Under.MiniaturePixels->ImageData().ClearDamage();
    Under.MiniatureBlocks = blocks;
    Under.MiniatureReads = reads;
}

void TVorelDrawing::PutUnderTopBack() {
    // The miniature there goes back with the canvas: nothing to reduce again.
    const bool miniatureBack = Under.MiniatureKept;
    if (miniatureBack) {
        const TRect& blocks = Under.MiniatureBlocks;
        Miniature->ImageData().CopyFrom(blocks.TopLeft(), Under.MiniaturePixels->ImageData(),
                                        {0, 0, RectWidth(blocks), RectHeight(blocks)});
        Miniature->ImageData().ClearDamage();
        MiniatureRestored = UnionRect(MiniatureRestored, blocks);
    }
    PaintOverUnder(nullptr, !miniatureBack);
    Under.Valid = false;
    Under.MiniatureKept = false;
    ShowCanvas(Under.Area);
}

void TVorelDrawing::PaintOverUnder(TVorelDrawingObject* top, bool reduceAgain) {
    TZQ5ImageData& canvas = Canvas->ImageData();
    const auto keepClip = KeepClip(canvas);
    canvas.SetClipRect(Under.Area);
    if (reduceAgain) MiniatureDamage = UnionRect(MiniatureDamage, canvas.ClipRect);
    canvas.CopyFrom(Under.Area.TopLeft(), Under.Pixels->ImageData(),
                    {0, 0, RectWidth(Under.Area), RectHeight(Under.Area)});
    if (top) top->Draw(&canvas, {0, 0});
}

namespace {
bool FitsRecord(const TVorelBG* background, bool blank, const TPictureRecord& record) {
    if (!background || blank != record.Blank) return false;
    const TItemRecord now = background->Record();
    return now.SameShape(record.Background) && now.Position == record.Background.Position;
}

// Regions whose colour a record changes.
size_t ColoursChanged(const TVorelBG& background, const TItemRecord& wanted) {
    const std::vector<TRegion>& regions = background.Entry().Regions;
    size_t changed = 0;
    for (size_t i = 0; i < regions.size() && i < wanted.Colours.size(); ++i)
        changed += regions[i].Colour != wanted.Colours[i];
    return changed;
}
} // namespace

TVorelDrawing::SpareBackground* TVorelDrawing::FindSpareBackground(const TPictureRecord& record) {
    SpareBackground* shaped = nullptr;
    for (SpareBackground& spare : SpareBackgrounds) {
        if (!FitsRecord(spare.Background.get(), spare.Blank, record)) continue;
        if (ColoursChanged(*spare.Background, record.Background) == 0) return &spare;
        if (!shaped) shaped = &spare;
    }
    return shaped;
}

bool TVorelDrawing::RestoreBackground(const TPictureRecord& record, std::vector<TRect>& damage) {
    const TItemRecord& wanted = record.Background;
    const bool fits = FitsRecord(Bg.get(), Blank, record);
    // Filling most regions costs more than copying the background: then the
    // background as it is stays as a spare, and going back swaps it in.
    const bool mostChange = fits && 2 * ColoursChanged(*Bg, wanted) > Bg->Entry().Regions.size();
    if (fits && !mostChange) {
        damage.push_back(Bg->Recolour(wanted.Colours));
        return false;
    }
    // Going back from a background change finds the background it replaced.
    if (SpareBackground* spare = FindSpareBackground(record)) {
        std::swap(Bg, spare->Background);
        std::swap(Blank, spare->Blank);
        Bg->Recolour(wanted.Colours);
    } else if (fits) {
        std::unique_ptr<TVorelBG> copy = Bg->Copy();
        KeepAsSpare();
        Bg = std::move(copy);
        Bg->Recolour(wanted.Colours);
    } else {
        auto background = std::make_unique<TVorelBG>(wanted.MapIndex, GetEntry(wanted.MapIndex), record.Blank);
        background->Apply(wanted);
        KeepAsSpare();
        Bg = std::move(background);
        Blank = record.Blank;
    }
    damage.push_back({0, 0, PictureWidth, PictureHeight});
    return true;
}
