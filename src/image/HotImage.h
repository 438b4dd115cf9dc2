#pragma once
// A handle on one library image and its drawing surface: either the shared,
// use-counted image of a name, or a private image made blank or as a copy.

#include "image/LibraryImage.h"

#include <cstdint>
#include <memory>
#include <string>

class TImageNode;
class TZQ5ImageData;
class TZQ5Library;

class THotImage {
public:
    // The class-wide library used by the constructors without a library;
    // it is forgotten when that library goes.
    static void SetGlobalLibrary(TZQ5Library* library);
    static TZQ5Library* GlobalLibrary();

    // By name (cut to 8 characters); with makeCopy, a private copy of it.
    static std::unique_ptr<THotImage> Create(const std::string& name, bool makeCopy = false);
    static std::unique_ptr<THotImage> CreateFromLibrary(const std::string& name, bool makeCopy,
                                                        TZQ5Library& library);
    // A private image with all pixels 0, named by the private-name counter.
    static std::unique_ptr<THotImage> CreateBlank(uint16_t width, uint16_t height);
    static std::unique_ptr<THotImage> CreateBlankInLibrary(uint16_t width, TZQ5Library& library,
                                                           uint16_t height);
    // A private image with source's pixels, layers and transparency.
    static std::unique_ptr<THotImage> CreateCopy(TZQ5ImageData& source);
    static std::unique_ptr<THotImage> CreateCopyInLibrary(TZQ5ImageData& source, TZQ5Library& library);

    // The surface, fetched from the library on first use and then kept.
    TZQ5ImageData& ImageData() { return Image.Surface(); }
    TImageNode* Node() const { return Image.Node(); }
    // nullptr once the library has gone.
    TZQ5Library* Library() const { return Image.Library(); }

private:
    explicit THotImage(TLibraryImage image) : Image(std::move(image)) {}
    static std::string NextPrivateName();

    TLibraryImage Image;
};
