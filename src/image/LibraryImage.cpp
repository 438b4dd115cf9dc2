#include "image/LibraryImage.h"

#include "image/ZQ5Library.h"

TLibraryImage TLibraryImage::Take(TZQ5Library& library, const std::string& name) {
    return TLibraryImage(library, library.GetImage(name));
}

TLibraryImage TLibraryImage::TakeWithSurface(TZQ5Library& library, const std::string& name) {
    TLibraryImage image = Take(library, name);
    image.Surface();
    return image;
}

TLibraryImage TLibraryImage::Make(TZQ5Library& library, const std::string& name, uint16_t width,
                                  uint16_t height) {
    return TLibraryImage(library, library.CreateImage(name, width, height));
}

TLibraryImage::TLibraryImage(TZQ5Library& library, TImageNode* node) : Lib(&library), ImageNode(node) {
    Lib->AddReference(&Lib);
}

TLibraryImage::~TLibraryImage() {
    Reset();
}

TLibraryImage::TLibraryImage(TLibraryImage&& other) noexcept {
    TakeOver(other);
}

TLibraryImage& TLibraryImage::operator=(TLibraryImage&& other) noexcept {
    if (this != &other) {
        Reset();
        TakeOver(other);
    }
    return *this;
}

// The registered variable is the other handle's: it moves with the image.
void TLibraryImage::TakeOver(TLibraryImage& other) noexcept {
    Lib = other.Lib;
    if (Lib) {
        Lib->RemoveReference(&other.Lib);
        Lib->AddReference(&Lib);
    }
    ImageNode = other.ImageNode;
    Data = other.Data;
    other.Lib = nullptr;
    other.ImageNode = nullptr;
    other.Data = nullptr;
}

TZQ5ImageData& TLibraryImage::Surface() {
    if (!Data) Data = Lib->GetImageData(ImageNode);
    return *Data;
}

void TLibraryImage::Reset() noexcept {
    if (Lib) {
        if (Data) Lib->ReleaseImageData(ImageNode);
        Lib->ReleaseImage(ImageNode);
        Lib->RemoveReference(&Lib);
    }
    Lib = nullptr;
    ImageNode = nullptr;
    Data = nullptr;
}
