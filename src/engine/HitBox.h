#pragma once
// Hit boxes: the clickable rectangles of a room. The world finds the box under
// the pointer and routes presses to it; plain boxes act at once (Activate),
// control boxes hand presses, drags, releases and held ticks to their room.

#include "foundation/Geometry.h"
#include "foundation/IDList.h"
#include "platform/CursorKind.h"
#include "platform/ShiftState.h"

#include <cstdint>
#include <memory>
#include <string>

// Control-event actions handed to TRoom::ControlEvent.
enum ControlAction : uint8_t { caPress = 0, caDrag = 1, caRelease = 2, caHold = 3, caHover = 4 };

// Exit kinds of a script box.
enum : uint8_t { ekNone = 0, ekQuit = 1, ekAskQuit = 2 };

class TControlBox;

// What a hit box asks of the room that holds it (the room implements it).
class THitBoxOwner {
public:
    virtual void RunScript(const std::string& script, const std::string& argument) = 0;
    virtual bool ControlEvent(TControlBox& box, ControlAction action) = 0;

protected:
    ~THitBoxOwner() = default;
};

class THitBox : public TIDNode {
public:
    static constexpr uint8_t ClassIdValue = 3;

    THitBox(); // for the node reader
    THitBox(const std::string& id, const TRect& bounds);

    // ckDefault when disabled; kind 2 for the dynamic kinds; else CursorKind.
    virtual ::CursorKind CursorAt(int32_t x, int32_t y) const;
    // Half-open test of Bounds; a disabled box contains nothing.
    virtual bool Contains(int32_t x, int32_t y) const;
    virtual void Activate();
    // A true result gives the box the mouse capture.
    virtual bool MouseDown(int button, TShiftState shiftState, int32_t x, int32_t y);
    // Called on moves while the box holds the capture; false ends it.
    virtual bool MouseDrag(int32_t x, int32_t y);
    // Called on moves while nothing holds the capture and TracksHover is set.
    virtual bool Hover(int32_t x, int32_t y);
    // False ends the capture.
    virtual bool MouseUp(int32_t x, int32_t y);
    // Every tick while the box holds the capture.
    virtual void HoldTick(int32_t ticks);

    void SetEnabled(bool enabled) { Disabled = !enabled; }
    void SetCursorKind(::CursorKind kind) { CursorKind = kind; }

    // Record: class id, ID, CursorKind, Disabled, Bounds, IsControl.
    void LoadFromStream(ByteStream& stream) override;
    void SaveToStream(ByteStream& stream) const override;

    ::CursorKind CursorKind = ckDefault;
    bool Disabled = false;
    TRect Bounds;
    bool IsControl = false;
    bool TracksHover = false; // set by rooms at run time; not saved
    // The room whose list holds the box, set by the list; nullptr outside one.
    THitBoxOwner* Owner = nullptr;
};

// Goes to the room named by Target.
class TGoBox : public THitBox {
public:
    static constexpr uint8_t ClassIdValue = 8;
    TGoBox();
    TGoBox(const std::string& id, const TRect& bounds);

    void Activate() override;
    void SetTarget(const std::string& name) { Target = name; }

    void LoadFromStream(ByteStream& stream) override;
    void SaveToStream(ByteStream& stream) const override;

    std::string Target;
};

// Goes back to the newest room on the room stack.
class TReturnBox : public THitBox {
public:
    static constexpr uint8_t ClassIdValue = 11;
    TReturnBox();
    TReturnBox(const std::string& id, const TRect& bounds);

    void Activate() override;
};

// Quits, asks to quit, or does nothing, by ExitKind.
class TScriptBox : public THitBox {
public:
    static constexpr uint8_t ClassIdValue = 4;
    TScriptBox();
    TScriptBox(const std::string& id, const TRect& bounds);

    void Activate() override;
    // "exitgame" (any case) quits, "maybeexitgame" asks first, anything else nothing.
    void SetExitKind(const std::string& name);

    void LoadFromStream(ByteStream& stream) override;
    void SaveToStream(ByteStream& stream) const override;

    uint8_t ExitKind = ekNone;
};

// Runs its room's script Script with the box ID as argument.
class TRoomScriptBox : public THitBox {
public:
    static constexpr uint8_t ClassIdValue = 12;
    TRoomScriptBox();
    TRoomScriptBox(const std::string& id, const TRect& bounds);

    void Activate() override;
    void SetScript(const std::string& name); // stored upper-cased

    void LoadFromStream(ByteStream& stream) override;
    void SaveToStream(ByteStream& stream) const override;

    std::string Script;
};

// Hands its press, drags, release, hover and held ticks to its room's
// ControlEvent. Every routed event first stores the pointer relative to the box.
class TControlBox : public TRoomScriptBox {
public:
    static constexpr uint8_t ClassIdValue = 5;
    TControlBox();
    TControlBox(const std::string& id, const TRect& bounds);

    bool MouseDown(int button, TShiftState shiftState, int32_t x, int32_t y) override;
    bool MouseDrag(int32_t x, int32_t y) override;
    bool Hover(int32_t x, int32_t y) override;
    bool MouseUp(int32_t x, int32_t y) override;
    void HoldTick(int32_t ticks) override;

    // Whether the last pointer position lies inside the box.
    bool PointerInside() const;

    int32_t LocalX = 0;
    int32_t LocalY = 0;
    TShiftState ShiftState;
    uint8_t Button = 0; // 0 left, 1 right, 2 middle
    int32_t HeldFor = 0;

private:
    bool Route(int32_t x, int32_t y, ControlAction action);
};

// The hit boxes of one room; the newest (added at the head) is tested first.
// Every box added or read in gets the list's owner as its own.
class THitBoxList : public TKelListOf<THitBox, TGameIDList> {
public:
    explicit THitBoxList(THitBoxOwner* owner = nullptr) : Owner(owner) {}

    THitBox* AddHead(std::unique_ptr<THitBox> box) { return TKelListOf::AddHead(Owned(std::move(box))); }
    THitBox* AddTail(std::unique_ptr<THitBox> box) { return TKelListOf::AddTail(Owned(std::move(box))); }

    // The first box from the head that contains the point, or nullptr.
    THitBox* FindAt(int32_t x, int32_t y) const;
    THitBox* FindBox(const std::string& id) const { return static_cast<THitBox*>(FindID(id)); }
    // Raises SHException "NIL pointer detected" when there is no such box.
    THitBox& GetBox(const std::string& id) const;
    // Replaces the boxes with those of the record; a record of any class that
    // is not a hit box is refused as corrupt.
    void LoadFromStream(ByteStream& stream) override;

private:
    std::unique_ptr<THitBox> Owned(std::unique_ptr<THitBox> box) const {
        box->Owner = Owner;
        return box;
    }

    THitBoxOwner* Owner;
};

// Kind 1 quits at once; kind 2 asks first; anything else does nothing.
void RunExitScript(uint8_t kind);
