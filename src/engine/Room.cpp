#include "engine/Room.h"

#include "engine/World.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/ResStrings.h"
#include "foundation/Text.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "platform/Platform.h"

namespace {
void LetPlatformBreathe() {
    if (World) World->GetPlatform().ProcessPendingMessages();
}

TZQ5Library* LiveLibrary() {
    return World ? World->Library() : nullptr;
}

// Gives a picture surface back to the library however the drawing ends.
class SurfaceLease {
public:
    SurfaceLease(TZQ5Library& library, TImageNode* node) : Lib(library), Node(node) {
        Surface = Lib.GetImageData(Node);
    }
    ~SurfaceLease() {
        if (Surface) Lib.ReleaseImageData(Node);
    }
    SurfaceLease(const SurfaceLease&) = delete;
    SurfaceLease& operator=(const SurfaceLease&) = delete;
    TZQ5ImageData* Surface;

private:
    TZQ5Library& Lib;
    TImageNode* Node;
};
} // namespace

TRoom::TRoom(const std::string& id) : TIDNode(id) {}

TRoom::~TRoom() {
    ReleaseResources(true);
}

void TRoom::LoadState(ByteStream& stream) {
    PictureName = ReadVersionedString(stream);
    Caption = ReadVersionedString(stream);
    InformText = ReadVersionedString(stream);
    HitBoxes.LoadFromStream(stream);
    // Frame sets are the script's own, updated in place; the class id is skipped.
    for (TFrameSet* frameSet : FrameSets) {
        ReadByte(stream);
        frameSet->LoadFromStream(stream);
    }
    Flags = static_cast<uint8_t>(ReadByte(stream) | (Flags & rfRetain));
    LetPlatformBreathe();
}

void TRoom::SaveState(ByteStream& stream) {
    WriteString(stream, PictureName);
    WriteString(stream, Caption);
    WriteString(stream, InformText);
    HitBoxes.SaveToStream(stream);
    for (TFrameSet* frameSet : FrameSets)
        frameSet->SaveToStream(stream);
    WriteByte(stream, Flags);
    LetPlatformBreathe();
}

void TRoom::Enter(const std::string&) {}

void TRoom::Leave() {
    Flags &= static_cast<uint8_t>(~rfDrawn);
    ReleaseResources(false);
}

void TRoom::RunScript(const std::string& script, const std::string&) {
    throw StdException(FormatText(LoadResString(SUnknownScript), script));
}

bool TRoom::ControlEvent(TControlBox&, uint8_t) {
    return false;
}

void TRoom::Draw(TZQ5ImageData* screen) {
    TZQ5Library* library = LiveLibrary();
    if (!screen || !library) throw StdException(LoadResString(SInvalidImageData));
    if (!PictureNode) SetPictureNode(library->GetImage(PictureName));
    SurfaceLease picture(*library, PictureNode);
    if (!picture.Surface) throw StdException(LoadResString(SInvalidImageData));
    Flags |= rfDrawn;
    picture.Surface->MirrorVertical = HasFlag(rfFlipPicture);
    picture.Surface->MirrorHorizontal = HasFlag(rfMirrorPicture);
    screen->CopyFrom({0, 0}, *picture.Surface, picture.Surface->BoundsRect());
    DrawContents(*screen);
}

void TRoom::RestorePicture(TZQ5ImageData& screen, const TRect& area) {
    TZQ5Library* library = LiveLibrary();
    if (!library || !PictureNode || !HasFlag(rfDrawn)) return;
    SurfaceLease picture(*library, PictureNode);
    if (!picture.Surface) return;
    picture.Surface->MirrorVertical = HasFlag(rfFlipPicture);
    picture.Surface->MirrorHorizontal = HasFlag(rfMirrorPicture);
    screen.CopyFrom(area.TopLeft(), *picture.Surface, area);
}

void TRoom::DrawContents(TZQ5ImageData& screen) {
    for (TFrameSet* frameSet : FrameSets)
        frameSet->Draw(&screen);
}

void TRoom::ReleaseResources(bool) {
    for (TFrameSet* frameSet : FrameSets)
        frameSet->ReleaseFrames();
    if (LiveLibrary()) SetPictureNode(nullptr);
}

void TRoom::DrawMiniature(TZQ5ImageData&, TPoint) {}

void TRoom::SetPictureNode(TImageNode* node) {
    TZQ5Library* library = LiveLibrary();
    if (!library) return;
    if (PictureNode) library->ReleaseImage(PictureNode);
    PictureNode = node;
}
