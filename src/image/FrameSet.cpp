#include "image/FrameSet.h"

#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/ResStrings.h"
#include "foundation/TemporaryChange.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"

TFrameSet::TFrameSet() {
    ClassId = ClassIdValue;
}

TFrameSet::TFrameSet(const std::string& id, TZQ5Library* library, const TRect& position, uint16_t frameCount,
                     uint16_t frameHeight, const std::string& imageName)
    : TIDNode(id), ImageName(imageName.substr(0, 8)), FrameHeight(frameHeight), FrameCount(frameCount),
      Library(library), Position(position.TopLeft()) {
    ClassId = ClassIdValue;
    if (Library) Library->AddReference(&Library);
}

TFrameSet::~TFrameSet() {
    ReleaseFrames();
    if (Library) Library->RemoveReference(&Library);
}

bool TFrameSet::LoadFrames() {
    if (Library && !Frames) {
        Frames = TLibraryImage::TakeWithSurface(*Library, ImageName);
        TZQ5ImageData& surface = *Frames.TakenSurface();
        if (ID.find('~') != std::string::npos) surface.MirrorHorizontal = true;
        if (ID.find('^') != std::string::npos) surface.MirrorVertical = true;
    }
    return Frames.TakenSurface() != nullptr;
}

void TFrameSet::ReleaseFrames() {
    Frames.Reset();
}

void TFrameSet::Draw(TZQ5ImageData* target) {
    DrawAt(target, Position);
}

// The frame surface is the library's shared one, which other frame sets of
// the same image may show unmirrored: the mirroring of this set's ID applies
// for the time of its own copy only.
void TFrameSet::DrawAt(TZQ5ImageData* target, TPoint point) {
    if (!Visible || !target || !LoadFrames()) return;
    TZQ5ImageData& surface = Frames.Surface();
    const TemporaryChange<bool> mirrorH(surface.MirrorHorizontal, ID.find('~') != std::string::npos);
    const TemporaryChange<bool> mirrorV(surface.MirrorVertical, ID.find('^') != std::string::npos);
    const int32_t top = static_cast<int32_t>(Frame) * FrameHeight;
    target->CopyFrom(point, surface, {0, top, surface.Width, top + FrameHeight});
}

void TFrameSet::SetFrame(TZQ5ImageData* target, uint16_t n) {
    if (n >= FrameCount) return;
    Frame = n;
    Draw(target);
}

void TFrameSet::ChangeFrame(TZQ5ImageData* target, uint16_t n, bool redraw) {
    if (redraw)
        SetFrame(target, n);
    else
        Frame = n;
}

// Keeps FrameHeight and the library given at creation; the frames are loaded
// again on the next draw, because the image name may have changed.
void TFrameSet::LoadFromStream(ByteStream& stream) {
    ReleaseFrames();
    TIDNode::LoadFromStream(stream);
    ImageName = ReadAnsiString(stream).substr(0, 8);
    Frame = ReadWord(stream);
    FrameCount = ReadWord(stream);
    Visible = ReadBoolean(stream);
    Position = ReadPoint(stream);
}

void TFrameSet::SaveToStream(ByteStream& stream) const {
    TIDNode::SaveToStream(stream);
    WriteAnsiString(stream, ImageName);
    WriteWord(stream, Frame);
    WriteWord(stream, FrameCount);
    WriteBoolean(stream, Visible);
    WritePoint(stream, Position);
}

TFrameSet& TFrameSetList::Find(const std::string& id) const {
    TIDNode* node = FindID(id);
    if (!node) throw KelException(LoadResString(SNilPointer));
    return static_cast<TFrameSet&>(*node);
}

void RegisterImageNodeClasses() {
    RegisterNodeClass(TFrameSet::ClassIdValue, [] { return std::make_unique<TFrameSet>(); });
}
