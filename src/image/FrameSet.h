#pragma once
// Animation strips: a library image holding equal frames stacked vertically,
// drawn one frame at a time at a fixed position. A "~" in the ID mirrors the
// frames left to right, a "^" top to bottom.

#include "foundation/Geometry.h"
#include "foundation/IDList.h"
#include "image/LibraryImage.h"

#include <cstdint>
#include <string>

class TImageNode;
class TZQ5ImageData;
class TZQ5Library;

class TFrameSet : public TIDNode {
public:
    static constexpr uint8_t ClassIdValue = 2;

    // For the node reader: no library, nothing to draw until loaded in place.
    TFrameSet();
    // position: the frames' top-left corner is position's top-left.
    TFrameSet(const std::string& id, TZQ5Library* library, const TRect& position, uint16_t frameCount,
              uint16_t frameHeight, const std::string& imageName);
    ~TFrameSet() override;

    void Draw(TZQ5ImageData* target);
    void DrawAt(TZQ5ImageData* target, TPoint point);
    // Shows frame n when n < FrameCount; otherwise nothing.
    void SetFrame(TZQ5ImageData* target, uint16_t n);
    void ChangeFrame(TZQ5ImageData* target, uint16_t n, bool redraw);
    bool LoadFrames();
    void ReleaseFrames();

    void LoadFromStream(ByteStream& stream) override;
    void SaveToStream(ByteStream& stream) const override;

    std::string ImageName;
    uint16_t FrameHeight = 0;
    uint16_t Frame = 0;
    uint16_t FrameCount = 0;
    bool Visible = true;
    TZQ5Library* Library = nullptr; // registered with the library
    TPoint Position;

    // The strip's image while the frames are loaded, else nullptr.
    TImageNode* Node() const { return Frames.Node(); }

private:
    TLibraryImage Frames;
};

class TFrameSetList : public TKelListOf<TFrameSet, TGameIDList> {
public:
    // Raises KelException "NIL pointer detected" when there is no such set.
    TFrameSet& Find(const std::string& id) const;
};

// Registers the frame set with the node reader.
void RegisterImageNodeClasses();
