#pragma once
// The room contract: one scene of the game with its picture, hit boxes, frame
// sets and pending timer scripts. Rooms are made once by the start-up script,
// owned by the world, and entered and left only through TWorld::GoRoom, which
// calls the old room's Leave, then the new room's Enter, Draw and GetCaption.
//
// A kind that overrides ReleaseResources calls ReleaseResources(true) from its
// own destructor: the base destructor can only reach the base version.

#include "engine/HitBox.h"
#include "engine/TimerScript.h"
#include "foundation/Geometry.h"
#include "foundation/IDList.h"
#include "image/FrameSet.h"
#include "image/LibraryImage.h"

#include <cstdint>
#include <memory>
#include <string>

class ByteStream;
class TImageNode;
class TZQ5ImageData;

// Room flags.
enum : uint8_t {
    rfRetain = 0x01,        // survives LoadState set, whatever the saved game holds
    rfMarked = 0x02,        // leaving it sets the world's wfLeavingMarked during the change
    rfFlipPicture = 0x04,   // the picture is drawn top to bottom
    rfMirrorPicture = 0x08, // the picture is drawn left to right
    rfDrawn = 0x20,         // the picture is on the screen surface
    rfWantsShift = 0x40,    // the world sends "SHIFT" when Shift or Ctrl changes
};

class TRoom : public TIDNode, public THitBoxOwner {
public:
    explicit TRoom(const std::string& id);
    ~TRoom() override;

    // The room record of a saved game: picture name, caption, inform text, the
    // hit boxes (replacing the script's), the frame sets (read in place), the
    // flags byte (rfRetain kept when set before); kinds append their own data.
    virtual void LoadState(ByteStream& stream);
    virtual void SaveState(ByteStream& stream);

    virtual void Enter(const std::string& previousID);
    // Clears rfDrawn and releases the room's images.
    virtual void Leave();
    // Raises StdException "Caught an attempt to run an unknown script ..." in
    // the base. Timer scripts arrive with an empty script and their name as
    // argument; room-script boxes give their script and their ID.
    void RunScript(const std::string& script, const std::string& argument) override;
    bool ControlEvent(TControlBox& box, ControlAction action) override;
    // Copies the picture onto screen, then DrawContents. Raises StdException
    // "Display: invalid ImageData" without a screen.
    virtual void Draw(TZQ5ImageData* screen);
    // Draws every frame set in list order.
    virtual void DrawContents(TZQ5ImageData& screen);
    // Releases the frame sets' images and the picture.
    virtual void ReleaseResources(bool destroying);
    // A reduced picture of the room onto surface at point, for the thumbnails;
    // nothing in the base.
    virtual void DrawMiniature(TZQ5ImageData& surface, TPoint point);
    // A stable name of the room's kind, part of the saved game's check that
    // the file belongs to the rooms of this script.
    virtual std::string KindName() const { return ""; }
    // Whether saved games hold the room's state (see SavedGame.h).
    virtual bool KeptInSavedGames() const { return true; }
    // A command from the keyboard, such as "UNDO"; false when the room has
    // none of that name or cannot take it now.
    virtual bool KeyCommand(const std::string& name);

    const std::string& GetCaption() const { return Caption; }
    const std::string& GetPictureName() const { return PictureName; }
    const std::string& GetInformText() const { return InformText; }
    // The picture while the room holds it (from its first draw until it is
    // left), else nullptr.
    TImageNode* GetPictureNode() const { return Picture.Node(); }
    void SetPictureName(const std::string& name) { PictureName = name; }
    void SetCaption(const std::string& caption) { Caption = caption; }
    void SetInformText(const std::string& text) { InformText = text; }

    THitBox* FindHitBox(const std::string& id) const { return HitBoxes.FindBox(id); }
    // Adds at the head: the newest box is found first.
    THitBox* AddHitBox(std::unique_ptr<THitBox> box) { return HitBoxes.AddHead(std::move(box)); }
    TFrameSet* AddFrameSet(std::unique_ptr<TFrameSet> frameSet) {
        return FrameSets.AddTail(std::move(frameSet));
    }

    // Timer scripts (due at the world's TickCount + delay). The current
    // room's due ones are run by the world's tick.
    void AddTimer(uint8_t kind, int32_t delay);
    void CancelTimer(uint8_t kind);
    void CancelTimers() { Timers.Clear(); }
    TTimerScriptInfo* FindTimer(uint8_t kind) const;
    // Runs the due ones in order; stops when a script removed the next one.
    void RunDueTimers(int32_t now);

    bool HasFlag(uint8_t flag) const { return (Flags & flag) != 0; }

    THitBoxList HitBoxes;
    TFrameSetList FrameSets;
    TTimerList Timers;
    uint8_t Flags = 0;

protected:
    // Puts the room's own picture back over area of the screen, where
    // something drawn on it has gone; nothing while the room is not drawn.
    void RestorePicture(TZQ5ImageData& screen, const TRect& area);

    std::string PictureName;
    std::string Caption;
    std::string InformText;
    TLibraryImage Picture;
};

class TRoomList : public TKelListOf<TRoom, TIDList> {
public:
    TRoom* FindRoom(const std::string& id) const { return static_cast<TRoom*>(FindID(id)); }
};
