// Layers (sprites) on a surface. Each visible layer keeps the parent's pixels
// under it in its save surface; drawing under layers erases them first and
// redraws them afterwards, and a change to a layer's source is passed on to
// every surface that shows it.

#include "foundation/KelException.h"
#include "foundation/TemporaryChange.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5ImageData.h"

#include <limits>

// ---- TZQ5LayerNode ----------------------------------------------------------

TZQ5LayerNode::TZQ5LayerNode(TZQ5ImageData* source, const LayerParams& params)
    // An explicit source rectangle counts only for frame 0.
    : TPriDataNode(params.Priority, source), Position{params.X, params.Y},
      UseSourceRect(params.UseSourceRect && params.FrameIndex == 0), ScaleX(params.ScaleX),
      ScaleY(params.ScaleY), ScaleDivisor(params.ScaleDivisor), FrameIndex(params.FrameIndex) {
    if (ScaleDivisor == 0) throw ZQ5Exception("AddLayer: scale divisor is 0");
    TRect rect = params.SourceRect;
    if (!UseSourceRect) {
        const auto frameTop = static_cast<int32_t>(int64_t{source->FrameHeight} * FrameIndex);
        rect = {0, frameTop, source->Width, frameTop + source->FrameHeight};
    }
    SetSourceRect(rect);
}

TZQ5LayerNode::~TZQ5LayerNode() {
    FreeSave();
}

namespace {

int64_t ScaledUp(int32_t length, uint16_t scale, uint16_t divisor) {
    if (length <= 0) return 0;
    return (static_cast<int64_t>(length) * scale + divisor - 1) / divisor;
}

} // namespace

void TZQ5LayerNode::SetSourceRect(const TRect& rect) {
    const int64_t width = ScaledUp(RectWidth(rect), ScaleX, ScaleDivisor);
    const int64_t height = ScaledUp(RectHeight(rect), ScaleY, ScaleDivisor);
    constexpr int64_t limit = std::numeric_limits<uint16_t>::max();
    if (width > limit || height > limit) throw ZQ5Exception("SetSourceRect: layer too large");
    if (SaveSurface && (SaveSurface->Width != width || SaveSurface->Height != height)) FreeSave();
    SourceRect = rect;
    if (SaveSurface) return;
    auto image = std::make_unique<TZQ5Image>();
    image->Init("", nullptr, static_cast<uint16_t>(width), static_cast<uint16_t>(height));
    SaveSurface = image->CreateSurface(nullptr);
    if (!SaveSurface) throw ZQ5Exception("SetSourceRect: no save surface");
    // Nobody shows a save surface: it records no damage.
    SaveSurface->Busy = 1;
    SaveImage = std::move(image);
}

void TZQ5LayerNode::FreeSave() {
    if (SaveSurface && SaveImage) SaveImage->ReleaseSurface(std::move(SaveSurface));
    SaveSurface.reset();
    SaveImage.reset();
    SourceRect = {};
}

TRect TZQ5LayerNode::Area() const {
    if (!SaveSurface) return RectAtPt({}, Position);
    return RectAtPt(SaveSurface->BoundsRect(), Position);
}

// ---- Layer bookkeeping -------------------------------------------------------

namespace {

TZQ5LayerNode* FirstLayer(const TPriDataList& layers) {
    return static_cast<TZQ5LayerNode*>(layers.Head());
}
TZQ5LayerNode* NextLayer(const TZQ5LayerNode* layer) {
    return static_cast<TZQ5LayerNode*>(layer->Next());
}
TZQ5LayerNode* PrevLayer(const TZQ5LayerNode* layer) {
    return static_cast<TZQ5LayerNode*>(layer->Prev());
}

} // namespace

bool TZQ5ImageData::HasLayer(const TZQ5LayerNode* node) const {
    return node && Layers.Contains(node);
}

bool TZQ5ImageData::ShowsSource(const TZQ5ImageData* source) const {
    return Layers.FindData(source) != nullptr;
}

void TZQ5ImageData::GetLayerNodeParams(const TZQ5LayerNode* node, LayerParams& params) const {
    if (!HasLayer(node)) throw ZQ5Exception("SetLayerNodeSourceRect: Unknown layer");
    params.Priority = node->Priority;
    params.FrameIndex = node->FrameIndex;
    params.ScaleX = node->ScaleX;
    params.ScaleY = node->ScaleY;
    params.ScaleDivisor = node->ScaleDivisor;
    params.UseSourceRect = node->UseSourceRect;
    params.Hidden = !node->Visible;
    params.X = node->Position.X;
    params.Y = node->Position.Y;
    params.SourceRect = node->SourceRect;
}

TZQ5LayerNode* TZQ5ImageData::AddLayer(TZQ5ImageData* source, const LayerParams& params) {
    const auto busy = MarkBusy();
    if (!source || source == this || Parents.FindData(source))
        throw ZQ5Exception("AddLayer: can't make parent a layer");
    auto owned = std::make_unique<TZQ5LayerNode>(source, params);
    owned->ParentClip = BoundsRect();
    auto* node = static_cast<TZQ5LayerNode*>(Layers.Add(std::move(owned)));
    if (!source->Parents.FindData(this)) source->Parents.AddTail(std::make_unique<TDataNode>(this));
    SetLayerNodeVisible(node, !params.Hidden);
    return node;
}

void TZQ5ImageData::RemoveLayerNode(TZQ5LayerNode* node) {
    const auto busy = MarkBusy();
    if (!HasLayer(node)) throw ZQ5Exception("RemoveLayerNode: Unknown layer");
    SetLayerNodeVisible(node, false);
    std::unique_ptr<TPriNode> owned = Layers.Remove(node);
    TZQ5ImageData* source = node->Source();
    if (!ShowsSource(source)) {
        if (TDataNode* entry = source->Parents.FindData(this)) source->Parents.Remove(entry);
    }
}

void TZQ5ImageData::CopyLayersFrom(TZQ5ImageData& other) {
    for (TPriNode* node : other.Layers) {
        auto* layer = static_cast<TZQ5LayerNode*>(node);
        LayerParams params;
        other.GetLayerNodeParams(layer, params);
        AddLayer(layer->Source(), params);
    }
}

// A surface going away takes its pictures off every parent (restoring the
// parents' pixels) and drops its own layers without restoring anything.
void TZQ5ImageData::LeaveParents() {
    while (TDataNode* entry = Parents.Head()) {
        auto* parent = static_cast<TZQ5ImageData*>(entry->Data);
        for (TPriNode* node : parent->Layers) {
            auto* layer = static_cast<TZQ5LayerNode*>(node);
            if (layer->Source() != this) continue;
            try {
                parent->RemoveLayerNode(layer);
            } catch (const std::exception&) {
                // The parent's pixels could not be restored; the layer must go anyway.
                if (parent->Layers.Contains(layer)) parent->Layers.Remove(layer);
            }
        }
        if (Parents.Contains(entry)) Parents.Remove(entry);
    }
}

void TZQ5ImageData::DropOwnLayers() {
    while (!Layers.IsEmpty()) {
        std::unique_ptr<TPriNode> owned = Layers.RemoveHead();
        TZQ5ImageData* source = static_cast<TZQ5LayerNode*>(owned.get())->Source();
        if (!ShowsSource(source)) {
            if (TDataNode* entry = source->Parents.FindData(this)) source->Parents.Remove(entry);
        }
    }
}

// ---- Showing and hiding ------------------------------------------------------

// Copies the parent's pixels of area into the layer's save surface, read
// plain: neither the parent's transparency nor its mirroring applies.
void TZQ5ImageData::SaveUnder(TZQ5LayerNode& layer, const TRect& area) {
    const TemporaryChange<bool> opaque(Transparent, false), plainH(MirrorHorizontal, false),
        plainV(MirrorVertical, false);
    layer.SaveSurface->CopyFrom(PtSub(area.TopLeft(), layer.Position), *this, area);
}

void TZQ5ImageData::SetLayerNodeVisible(TZQ5LayerNode* node, bool visible) {
    const auto busy = MarkBusy();
    if (!HasLayer(node)) throw ZQ5Exception("SetLayerNodeVisible: Unknown layer");
    if (node->Visible == visible) return;
    const TRect area = node->Area();
    RestoreUnderLayers(node, area);
    if (visible) {
        SaveUnder(*node, area);
        node->Visible = true;
        RedrawLayers(node, node->SaveSurface->BoundsRect());
    } else {
        CopyWithClip(node->Position, *node->SaveSurface, BoundsRect(), node->SaveSurface->BoundsRect());
        node->Visible = false;
        if (TZQ5LayerNode* below = PrevLayer(node))
            RedrawLayers(below, RectSubPt(area, below->Position));
        else
            RedrawLayers(nullptr, area);
    }
    PropagateToParents(area);
}

void TZQ5ImageData::RestoreUnderLayers(TZQ5LayerNode* stop, const TRect& area) {
    const auto busy = MarkBusy();
    for (auto* layer = static_cast<TZQ5LayerNode*>(Layers.Tail()); layer && layer != stop;
         layer = PrevLayer(layer)) {
        if (!layer->Visible) continue;
        const TRect overlap = IntersectRect(layer->Area(), area);
        if (IsRectEmpty(overlap)) continue;
        CopyWithClip(overlap.TopLeft(), *layer->SaveSurface, BoundsRect(),
                     RectSubPt(overlap, layer->Position));
    }
}

// area is in parent co-ordinates.
void TZQ5ImageData::DrawLayer(TZQ5LayerNode& layer, const TRect& area) {
    const TRect local = IntersectRect(RectSubPt(area, layer.Position), layer.SaveSurface->BoundsRect());
    if (IsRectEmpty(local)) return;
    TZQ5ImageData& source = *layer.Source();
    if (layer.IsOneToOne()) {
        TRect reflected = local;
        const int32_t width = RectWidth(layer.SourceRect), height = RectHeight(layer.SourceRect);
        if (source.MirrorHorizontal)
            reflected.Left = width - local.Right, reflected.Right = width - local.Left;
        if (source.MirrorVertical)
            reflected.Top = height - local.Bottom, reflected.Bottom = height - local.Top;
        CopyWithClip(PtAdd(local.TopLeft(), layer.Position), source, layer.ParentClip,
                     RectAddPt(reflected, layer.SourceRect.TopLeft()));
        return;
    }
    const TRect clip = IntersectRect(layer.ParentClip, RectAddPt(local, layer.Position));
    if (IsRectEmpty(clip)) return;
    const TemporaryChange<TRect> remembered(ClipRect, ClipRect);
    SetClipRect(clip);
    ScaledCopyFrom(layer.Area(), source, layer.SourceRect);
}

void TZQ5ImageData::RedrawLayers(TZQ5LayerNode* from, TRect area) {
    const auto busy = MarkBusy();
    TZQ5LayerNode* layer = from;
    if (from) {
        area = RectAddPt(area, from->Position);
    } else {
        layer = FirstLayer(Layers);
        if (layer && layer->Visible) SaveUnder(*layer, area);
    }
    while (layer) {
        if (layer->Visible) DrawLayer(*layer, area);
        layer = NextLayer(layer);
        if (layer && layer->Visible) SaveUnder(*layer, area);
    }
    AddDamage(area);
}

void TZQ5ImageData::Changed(const TRect& area) {
    if (Busy > 0) return;
    RedrawLayers(nullptr, area);
    PropagateToParents(area);
}

// Brings one layer of a parent up to date after its source changed in
// sourceArea (source co-ordinates). The layer and those above it are taken
// off over the changed part and put back, so that source pixels that became
// transparent show the parent again.
void TZQ5ImageData::RefreshLayer(TZQ5LayerNode& layer, const TRect& sourceArea) {
    TRect shown = IntersectRect(sourceArea, layer.SourceRect);
    if (IsRectEmpty(shown)) return;
    shown = RectSubPt(shown, layer.SourceRect.TopLeft());
    const TZQ5ImageData& source = *layer.Source();
    const int32_t width = RectWidth(layer.SourceRect), height = RectHeight(layer.SourceRect);
    if (source.MirrorHorizontal) shown = {width - shown.Right, shown.Top, width - shown.Left, shown.Bottom};
    if (source.MirrorVertical) shown = {shown.Left, height - shown.Bottom, shown.Right, height - shown.Top};
    if (!layer.IsOneToOne()) {
        // Source columns [L, R) land on save columns [L * dw / sw, R * dw / sw),
        // the right edge rounded up: scaling each edge, not the width, so
        // that no changed column is left out.
        const int64_t dw = layer.SaveSurface->Width, dh = layer.SaveSurface->Height;
        auto down = [](int32_t v, int64_t to, int64_t from) { return static_cast<int32_t>(v * to / from); };
        auto up = [](int32_t v, int64_t to, int64_t from) {
            return static_cast<int32_t>((v * to + from - 1) / from);
        };
        shown = {down(shown.Left, dw, width), down(shown.Top, dh, height), up(shown.Right, dw, width),
                 up(shown.Bottom, dh, height)};
    }
    shown = IntersectRect(shown, layer.SaveSurface->BoundsRect());
    if (IsRectEmpty(shown)) return;
    const auto busy = MarkBusy();
    RestoreUnderLayers(&layer, RectAddPt(shown, layer.Position));
    CopyWithClip(PtAdd(shown.TopLeft(), layer.Position), *layer.SaveSurface, BoundsRect(), shown);
    RedrawLayers(&layer, shown);
}

// Passed on one level only: the parents' own parents are not told.
void TZQ5ImageData::PropagateToParents(const TRect& area) {
    for (TDataNode* entry : Parents) {
        auto* parent = static_cast<TZQ5ImageData*>(entry->Data);
        for (TPriNode* node : parent->Layers) {
            auto* layer = static_cast<TZQ5LayerNode*>(node);
            if (layer->Source() == this && layer->Visible) parent->RefreshLayer(*layer, area);
        }
    }
}
