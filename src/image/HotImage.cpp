#include "image/HotImage.h"

#include "foundation/KelException.h"
#include "foundation/TemporaryChange.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"

namespace {

TZQ5Library* ClassLibrary = nullptr;
uint32_t PrivateNameCounter = 0;

TZQ5Library& RequireGlobalLibrary() {
    if (!ClassLibrary) throw ZQ5Exception("THotImage: no image library set");
    return *ClassLibrary;
}

// Puts the pixels that the source's layers cover back into copy, from the
// layers' saved backgrounds (topmost first), so that the copy holds the
// source's own picture under its layers.
void UncoverLayers(TZQ5ImageData& copy, TZQ5ImageData& source) {
    for (auto* node = static_cast<TZQ5LayerNode*>(source.Layers.Tail()); node;
         node = static_cast<TZQ5LayerNode*>(node->Prev())) {
        if (node->Visible && node->SaveSurface)
            copy.CopyFrom(node->Position, *node->SaveSurface, node->SaveSurface->BoundsRect());
    }
}

} // namespace

void THotImage::SetGlobalLibrary(TZQ5Library* library) {
    if (library == ClassLibrary) return;
    if (ClassLibrary) ClassLibrary->RemoveReference(&ClassLibrary);
    ClassLibrary = library;
    if (ClassLibrary) ClassLibrary->AddReference(&ClassLibrary);
}

TZQ5Library* THotImage::GlobalLibrary() {
    return ClassLibrary;
}

std::string THotImage::NextPrivateName() {
    return std::to_string(++PrivateNameCounter).substr(0, 8);
}

std::unique_ptr<THotImage> THotImage::Create(const std::string& name, bool makeCopy) {
    return CreateFromLibrary(name.substr(0, 8), makeCopy, RequireGlobalLibrary());
}

std::unique_ptr<THotImage> THotImage::CreateFromLibrary(const std::string& name, bool makeCopy,
                                                        TZQ5Library& library) {
    std::unique_ptr<THotImage> shared(new THotImage(TLibraryImage::Take(library, name)));
    if (!makeCopy) return shared;
    return CreateCopyInLibrary(shared->ImageData(), library);
}

std::unique_ptr<THotImage> THotImage::CreateBlank(uint16_t width, uint16_t height) {
    return CreateBlankInLibrary(width, RequireGlobalLibrary(), height);
}

std::unique_ptr<THotImage> THotImage::CreateBlankInLibrary(uint16_t width, TZQ5Library& library,
                                                           uint16_t height) {
    return std::unique_ptr<THotImage>(
        new THotImage(TLibraryImage::Make(library, NextPrivateName(), width, height)));
}

std::unique_ptr<THotImage> THotImage::CreateCopy(TZQ5ImageData& source) {
    return CreateCopyInLibrary(source, RequireGlobalLibrary());
}

// The source's transparency is switched off for the copy, so that every
// pixel is copied, and put back exactly as it was whatever happens.
std::unique_ptr<THotImage> THotImage::CreateCopyInLibrary(TZQ5ImageData& source, TZQ5Library& library) {
    std::unique_ptr<THotImage> copy(new THotImage(TLibraryImage::Make(
        library, NextPrivateName(), static_cast<uint16_t>(source.Width), static_cast<uint16_t>(source.Height))));
    const TemporaryChange<bool> opaque(source.Transparent, false);
    TZQ5ImageData& surface = copy->ImageData();
    surface.CopyFrom({0, 0}, source, source.BoundsRect());
    UncoverLayers(surface, source);
    surface.CopyLayersFrom(source);
    surface.SetTransparent(source.TransparentIndex, opaque.Old());
    return copy;
}
