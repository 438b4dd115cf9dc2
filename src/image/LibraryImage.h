#pragma once
// An image taken from the library, with its surface once that is asked for.
// Both go back to the library when the handle goes or is emptied, the surface
// first, so that no taker writes its own give-back or its own clean-up after
// a failure half-way. Move-only: a taken image has one owner.
//
// The library may go first: the handle's library variable is registered with
// it, the library clears it when it goes, and an empty variable gives nothing
// back (the library freed its images itself).

#include <cstdint>
#include <string>

class TImageNode;
class TZQ5ImageData;
class TZQ5Library;

class TLibraryImage {
public:
    TLibraryImage() = default;
    // The named image, one use more (see TZQ5Library::GetImage).
    static TLibraryImage Take(TZQ5Library& library, const std::string& name);
    // The named image with its surface; when the surface cannot be had, the
    // image goes back before the error passes on.
    static TLibraryImage TakeWithSurface(TZQ5Library& library, const std::string& name);
    // A new zero-filled image of its own (see TZQ5Library::CreateImage).
    static TLibraryImage Make(TZQ5Library& library, const std::string& name, uint16_t width, uint16_t height);

    ~TLibraryImage();
    TLibraryImage(TLibraryImage&& other) noexcept;
    TLibraryImage& operator=(TLibraryImage&& other) noexcept;
    TLibraryImage(const TLibraryImage&) = delete;
    TLibraryImage& operator=(const TLibraryImage&) = delete;

    // The surface, taken from the library on first use and then kept until
    // the image goes back; raises as TZQ5Library::GetImageData does.
    TZQ5ImageData& Surface();
    // The surface when it has been taken, else nullptr.
    TZQ5ImageData* TakenSurface() const { return Data; }

    TImageNode* Node() const { return ImageNode; }
    // nullptr for an empty handle or once the library has gone.
    TZQ5Library* Library() const { return Lib; }
    explicit operator bool() const { return ImageNode != nullptr; }

    // Gives the surface and the image back now; the handle is empty after.
    void Reset() noexcept;

private:
    TLibraryImage(TZQ5Library& library, TImageNode* node);
    void TakeOver(TLibraryImage& other) noexcept;

    TZQ5Library* Lib = nullptr;
    TImageNode* ImageNode = nullptr;
    TZQ5ImageData* Data = nullptr;
};
