// Surfaces over images and library images, and the whole-image blit of the
// library.

#include "foundation/KelException.h"
#include "foundation/ScopeGuard.h"
#include "image/BandBlit.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"

#include <vector>

std::unique_ptr<TZQ5ImageData> TZQ5Image::CreateSurface(TDisplayHeader* displayHeader) {
    try {
        if (State() == isCompressed) DecodeAll();
        if (Segments.size() > 255) return nullptr;
        std::vector<TZQ5ImageSegment*> segments;
        for (const auto& segment : Segments)
            segments.push_back(segment.get());
        auto surface = std::make_unique<TZQ5ImageData>();
        surface->Setup(Width(), Height(), displayHeader, Header.Transparent != 0, Header.TransparentIndex,
                       segments.data(), static_cast<uint8_t>(segments.size()));
        return surface;
    } catch (const std::exception&) {
        return nullptr;
    }
}

void TZQ5Image::ReleaseSurface(std::unique_ptr<TZQ5ImageData> surface) {
    for (const auto& segment : Segments)
        segment->Unlock();
    surface.reset();
}

TZQ5ImageData* TZQ5Library::GetImageData(TImageNode* node) {
    if (!node || !node->Image) throw ZQ5Exception("GetImageData: no image");
    if (!node->Data) {
        node->Data = node->Image->CreateSurface(&DisplayHeader);
        node->DataUseCount = 0;
        if (!node->Data) throw ZQ5Exception("GetImageData: surface could not be made");
    }
    ++node->DataUseCount;
    return node->Data.get();
}

void TZQ5Library::ReleaseImageData(TImageNode* node) {
    if (!node || !node->Data) return;
    if (node->DataUseCount > 0) --node->DataUseCount;
    if (node->DataUseCount == 0) node->Image->ReleaseSurface(std::move(node->Data));
}

void TZQ5Library::DrawImage(DisplayTarget& target, TPoint point, TImageNode* node) {
    if (!node || !node->Image || node->Image->State() != isReady) return;
    TZQ5Image& image = *node->Image;
    const LineColours colours(MakeColourMap(DisplayHeader, target.SelectedPalette()));
    const int32_t stride = ::Stride(image.Width());
    int32_t offset = image.Height();
    for (const auto& segment : image.Segments) {
        if (segment->Flags & sfDrawing) continue;
        const int32_t lines = SegmentLines(image.Width(), image.Height(), segment->Index);
        segment->Flags |= sfDrawing;
        offset -= lines;
        const ScopeGuard drawn([&segment] {
            segment->Unlock();
            segment->Flags &= static_cast<uint8_t>(~sfDrawing);
        });
        // The band's top line is its last stored line.
        const uint8_t* base = segment->Lock();
        if (!base) throw ZQ5Exception("DrawImage: Lock failed");
        const BandLines block{base + static_cast<ptrdiff_t>(lines - 1) * stride, -stride, image.Width(), lines};
        BlitBand(target, {point.X, point.Y + offset}, block, colours, -1);
    }
}
