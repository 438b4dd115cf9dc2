#include "engine/Room.h"

#include "engine/EngineHub.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/ResStrings.h"
#include "foundation/ScopeGuard.h"
#include "foundation/Text.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "platform/Platform.h"

namespace {
void LetPlatformBreathe() {
    if (TEngineHub* engine = Engine()) engine->GetPlatform().ProcessPendingMessages();
}

TZQ5Library* LiveLibrary() {
    TEngineHub* engine = Engine();
    return engine ? engine->Library() : nullptr;
}

bool StillListed(const TTimerList& timers, const TTimerScriptInfo* node, uint64_t serial) {
    for (TTimerScriptInfo* timer : timers)
        if (timer == node && timer->Serial == serial) return true;
    return false;
}

// Runs one kind in the world's current room: RunScript("", name) for the
// named kinds, GoRoom("VOREL<n>") for 8..11; other kinds do nothing.
void RunTimerScript(uint8_t kind) {
    if (kind >= tsGoVorel1 && kind <= tsGoVorel4) {
        Engine()->GoRoom("VOREL" + std::to_string(kind - 7));
        return;
    }
    std::string name = TimerScriptName(kind);
    if (name.empty()) return; // kinds 0, 1 and above 11 are never scheduled
    if (TRoom* room = Engine()->CurrentRoom()) room->RunScript("", name);
}
} // namespace

TRoom::TRoom(const std::string& id) : TIDNode(id), HitBoxes(this) {}

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

bool TRoom::ControlEvent(TControlBox&, ControlAction) {
    return false;
}

void TRoom::Draw(TZQ5ImageData* screen) {
    TZQ5Library* library = LiveLibrary();
    if (!screen || !library) throw StdException(LoadResString(SInvalidImageData));
    if (!Picture) Picture = TLibraryImage::Take(*library, PictureName);
    // The surface is the library's only for the time of the copy.
    TZQ5ImageData& picture = *library->GetImageData(Picture.Node());
    const ScopeGuard giveBack([library, node = Picture.Node()] { library->ReleaseImageData(node); });
    Flags |= rfDrawn;
    picture.MirrorVertical = HasFlag(rfFlipPicture);
    picture.MirrorHorizontal = HasFlag(rfMirrorPicture);
    screen->CopyFrom({0, 0}, picture, picture.BoundsRect());
    DrawContents(*screen);
}

void TRoom::RestorePicture(TZQ5ImageData& screen, const TRect& area) {
    TZQ5Library* library = LiveLibrary();
    if (!library || !Picture || !HasFlag(rfDrawn)) return;
    TZQ5ImageData* picture = library->GetImageData(Picture.Node());
    if (!picture) return;
    const ScopeGuard giveBack([library, node = Picture.Node()] { library->ReleaseImageData(node); });
    picture->MirrorVertical = HasFlag(rfFlipPicture);
    picture->MirrorHorizontal = HasFlag(rfMirrorPicture);
    screen.CopyFrom(area.TopLeft(), *picture, area);
}

void TRoom::DrawContents(TZQ5ImageData& screen) {
    for (TFrameSet* frameSet : FrameSets)
        frameSet->Draw(&screen);
}

void TRoom::ReleaseResources(bool) {
    for (TFrameSet* frameSet : FrameSets)
        frameSet->ReleaseFrames();
    Picture.Reset();
}

void TRoom::DrawMiniature(TZQ5ImageData&, TPoint) {}

bool TRoom::KeyCommand(const std::string&) {
    return false;
}

void TRoom::AddTimer(uint8_t kind, int32_t delay) {
    Timers.AddTail(std::make_unique<TTimerScriptInfo>(kind, delay + Engine()->TickCount()));
}

TTimerScriptInfo* TRoom::FindTimer(uint8_t kind) const {
    for (TTimerScriptInfo* timer : Timers)
        if (timer->Kind == kind) return timer;
    return nullptr;
}

void TRoom::CancelTimer(uint8_t kind) {
    if (TTimerScriptInfo* timer = FindTimer(kind)) Timers.Remove(timer);
}

void TRoom::RunDueTimers(int32_t now) {
    TTimerScriptInfo* timer = Timers.Head();
    while (timer) {
        TTimerScriptInfo* next = Timers.Next(timer);
        uint64_t nextSerial = next ? next->Serial : 0;
        if (timer->DueTick <= now) {
            uint8_t kind = timer->Kind;
            Timers.Remove(timer);
            RunTimerScript(kind);
        }
        // The script may have changed the list: go on only from a node it kept.
        if (!next || !StillListed(Timers, next, nextSerial)) return;
        timer = next;
    }
}

