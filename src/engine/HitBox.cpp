#include "engine/HitBox.h"

#include "engine/EngineHub.h"
#include "engine/TypedNodeReader.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/ResStrings.h"
#include "foundation/Text.h"
#include "platform/Platform.h"

THitBox::THitBox() {
    ClassId = ClassIdValue;
}

THitBox::THitBox(const std::string& id, const TRect& bounds) : TIDNode(id), Bounds(bounds) {
    ClassId = ClassIdValue;
}

::CursorKind THitBox::CursorAt(int32_t, int32_t) const {
    if (Disabled) return ckDefault;
    if (CursorKind >= ckDynamic1) return ckExamine;
    return CursorKind;
}

bool THitBox::Contains(int32_t x, int32_t y) const {
    return !Disabled && PtInRect(Bounds, {x, y});
}

void THitBox::Activate() {}
bool THitBox::MouseDown(int, TShiftState, int32_t, int32_t) {
    return false;
}
bool THitBox::MouseDrag(int32_t, int32_t) {
    return false;
}
bool THitBox::Hover(int32_t, int32_t) {
    return false;
}
bool THitBox::MouseUp(int32_t, int32_t) {
    return false;
}
void THitBox::HoldTick(int32_t) {}

void THitBox::LoadFromStream(ByteStream& stream) {
    TIDNode::LoadFromStream(stream);
    CursorKind = static_cast<::CursorKind>(ReadSmallInt(stream));
    Disabled = ReadBoolean(stream);
    Bounds = ReadRect(stream);
    IsControl = ReadBoolean(stream);
}

void THitBox::SaveToStream(ByteStream& stream) const {
    TIDNode::SaveToStream(stream);
    WriteSmallInt(stream, CursorKind);
    WriteBoolean(stream, Disabled);
    WriteRect(stream, Bounds);
    WriteBoolean(stream, IsControl);
}

TGoBox::TGoBox() : TGoBox("", TRect{}) {}
TGoBox::TGoBox(const std::string& id, const TRect& bounds) : THitBox(id, bounds) {
    ClassId = ClassIdValue;
}

void TGoBox::Activate() {
    Engine()->GoRoom(Target);
}

void TGoBox::LoadFromStream(ByteStream& stream) {
    THitBox::LoadFromStream(stream);
    Target = ReadOptString(stream).value_or("");
}

void TGoBox::SaveToStream(ByteStream& stream) const {
    THitBox::SaveToStream(stream);
    WriteOptString(stream, &Target);
}

TReturnBox::TReturnBox() : TReturnBox("", TRect{}) {}
TReturnBox::TReturnBox(const std::string& id, const TRect& bounds) : THitBox(id, bounds) {
    ClassId = ClassIdValue;
}

void TReturnBox::Activate() {
    Engine()->GoBack();
}

TScriptBox::TScriptBox() : TScriptBox("", TRect{}) {}
TScriptBox::TScriptBox(const std::string& id, const TRect& bounds) : THitBox(id, bounds) {
    ClassId = ClassIdValue;
    CursorKind = ckAction;
}

void TScriptBox::Activate() {
    RunExitScript(ExitKind);
}

void TScriptBox::SetExitKind(const std::string& name) {
    std::string kind = LowerCase(name);
    ExitKind = kind == "exitgame" ? ekQuit : kind == "maybeexitgame" ? ekAskQuit : ekNone;
}

void TScriptBox::LoadFromStream(ByteStream& stream) {
    THitBox::LoadFromStream(stream);
    ExitKind = static_cast<uint8_t>(ReadWord(stream) & 0xFF);
}

void TScriptBox::SaveToStream(ByteStream& stream) const {
    THitBox::SaveToStream(stream);
    WriteWord(stream, ExitKind);
}

TRoomScriptBox::TRoomScriptBox() : TRoomScriptBox("", TRect{}) {}
TRoomScriptBox::TRoomScriptBox(const std::string& id, const TRect& bounds) : THitBox(id, bounds) {
    ClassId = ClassIdValue;
    CursorKind = ckAction;
}

void TRoomScriptBox::Activate() {
    if (Owner) Owner->RunScript(Script, ID);
}

void TRoomScriptBox::SetScript(const std::string& name) {
    Script = UpperCase(name);
}

void TRoomScriptBox::LoadFromStream(ByteStream& stream) {
    THitBox::LoadFromStream(stream);
    Script = ReadOptString(stream).value_or("");
}

void TRoomScriptBox::SaveToStream(ByteStream& stream) const {
    THitBox::SaveToStream(stream);
    WriteOptString(stream, &Script);
}

TControlBox::TControlBox() : TControlBox("", TRect{}) {}
TControlBox::TControlBox(const std::string& id, const TRect& bounds) : TRoomScriptBox(id, bounds) {
    ClassId = ClassIdValue;
    IsControl = true;
}

bool TControlBox::Route(int32_t x, int32_t y, ControlAction action) {
    LocalX = x - Bounds.Left;
    LocalY = y - Bounds.Top;
    return Owner && Owner->ControlEvent(*this, action);
}

bool TControlBox::MouseDown(int button, TShiftState shiftState, int32_t x, int32_t y) {
    ShiftState = shiftState;
    Button = static_cast<uint8_t>(button);
    return Route(x, y, caPress);
}

bool TControlBox::MouseDrag(int32_t x, int32_t y) {
    return Route(x, y, caDrag);
}
bool TControlBox::Hover(int32_t x, int32_t y) {
    return Route(x, y, caHover);
}
bool TControlBox::MouseUp(int32_t x, int32_t y) {
    return Route(x, y, caRelease);
}

void TControlBox::HoldTick(int32_t ticks) {
    HeldFor = ticks;
    if (Owner) Owner->ControlEvent(*this, caHold);
}

bool TControlBox::PointerInside() const {
    return LocalX >= 0 && LocalX < RectWidth(Bounds) && LocalY >= 0 && LocalY < RectHeight(Bounds);
}

THitBox* THitBoxList::FindAt(int32_t x, int32_t y) const {
    for (THitBox* box : *this)
        if (box->Contains(x, y)) return box;
    return nullptr;
}

THitBox& THitBoxList::GetBox(const std::string& id) const {
    THitBox* box = FindBox(id);
    if (!box) throw SHException(LoadResString(SNilPointer));
    return *box;
}

void THitBoxList::LoadFromStream(ByteStream& stream) {
    LoadTypedList<THitBox>(*this, stream, "LoadState: record of class %d is not a hit box");
}

void RunExitScript(uint8_t kind) {
    if (kind == ekQuit) {
        Engine()->SetFlag(wfQuit, true);
    } else if (kind == ekAskQuit) {
        if (AskYesNo(Engine()->GetPlatform(), LoadResString(SReallyQuit), MessageKind::Confirmation))
            Engine()->SetFlag(wfQuit, true);
    }
}
