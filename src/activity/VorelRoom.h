#pragma once
// The colouring room: one picture (VOREL1..VOREL4, the sixth character of the
// ID being the picture number) with the controls drawn around it on the
// world's screen: background and object buttons in four banks, two sets of
// eight colour buttons, the icon strip of the picture's objects, and the
// eraser, mirror and half-size tools.
//
// Hit boxes the room relies on (made by the script): the control boxes
// "VOREL" (exactly over the picture) and "ICONS" (over the icon strip), the
// tool boxes "ERASER", "FLOP", "HALF" and the object buttons "5".."12";
// frame sets "ERASER", "FLOP", "HALF", "BRIGHT" and "SLIDE". A missing one is
// left alone.

#include "activity/IconMap.h"
#include "activity/PictureHistory.h"
#include "engine/Room.h"
#include "foundation/Geometry.h"
#include "platform/SoundCue.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class THotImage;
class TVorelDrawing;

class TVorelRoom : public TRoom {
public:
    static constexpr int ButtonCount = 12;
    static constexpr TPoint PictureOrigin{15, 15};
    static constexpr uint8_t ReleaseDelay = 5;

    // Loads the region map (DatPath) and starts with the blank background of
    // the picture number (1..8, else 1).
    explicit TVorelRoom(const std::string& id);
    ~TVorelRoom() override;

    void LoadState(ByteStream& stream) override;
    void SaveState(ByteStream& stream) override;
    void Enter(const std::string& previousID) override;
    void Leave() override;
    void RunScript(const std::string& script, const std::string& argument) override;
    bool ControlEvent(TControlBox& box, ControlAction action) override;
    void DrawContents(TZQ5ImageData& screen) override;
    void ReleaseResources(bool destroying) override;
    void DrawMiniature(TZQ5ImageData& surface, TPoint point) override;
    std::string KindName() const override { return "VOREL"; }
    bool KeyCommand(const std::string& name) override;

    // Every change to the picture is a step that can be taken back and
    // forth; the selection is cleared, the colour and bank stay as they are.
    void Undo();
    void Redo();
    const TPictureHistory& History() const { return Steps; }
    // The picture's state as a step: what the room's record holds of it.
    TPictureStep CaptureStep() const;

    void RefreshThumbnail();
    void ResetPicture(uint8_t background);
    void EnableObjectButtons();
    void SelectIcon(uint8_t slot);
    void SetBank(uint8_t bank);
    // Lets every object button up; whether button n was down.
    bool ReleaseButtons(uint8_t n);
    // The button 1..4 of the current bank for background button g, or 0.
    uint8_t BankButtonOf(uint8_t g) const;
    void DrawButtons();
    void DrawButton(int i);
    void DrawColourButtons();
    void DrawColourButton(int j);
    void DrawIcons();
    void DrawIcon(int slot);

    // The palette index of colour button 1..8 of a set.
    static uint8_t ColourOf(bool brightSet, uint8_t button);

    TVorelDrawing& Picture() { return *Drawing; }
    bool GetBrightSet() const { return BrightSet; }
    uint8_t GetBackgroundButton() const { return BackgroundButton; }
    uint8_t GetBank() const { return Bank; }
    uint8_t GetColour() const { return Colour; }
    uint8_t GetObjectCount() const { return static_cast<uint8_t>(ObjectCount()); }
    uint8_t GetSelectedIcon() const { return SelectedIcon; }
    uint8_t GetHalfState() const { return HalfState; }
    uint8_t GetFlopState() const { return FlopState; }
    bool GetEraserOn() const { return EraserOn; }
    uint8_t GetButtonState(int i) const { return i >= 1 && i <= ButtonCount ? ButtonState[i] : 0; }
    const TIconMap& GetIconMap() const { return IconMap; }

private:
    int PictureNumber() const;
    // The blank background a fresh picture starts with: picture number - 1.
    uint8_t FirstBackground() const;
    TZQ5ImageData* Screen() const;
    bool KeyFlag(uint16_t flag) const;
    void Sound(SoundCue cue) const;
    TFrameSet* FindFrameSet(const std::string& id) const;
    void SetTool(const std::string& id, uint8_t state, uint8_t frame);
    uint8_t SelectedObject() const { return IconMap[SelectedIcon]; }
    // The icon strip always shows the picture's objects, one slot each.
    int ObjectCount() const;

    bool PictureEvent(TControlBox& box, ControlAction action);
    void FinishDrag();
    void IconEvent(TControlBox& box);
    void Eraser();
    void RemoveAllColouring();
    void DeleteAllObjects();
    void DeleteSelected();
    void ObjectButton(int n);
    void BackgroundButtonPressed(int n);
    // A page of the object buttons back or forward; nothing past either end.
    void TurnBank(bool forward);
    void ChooseColour(const std::string& argument);
    void ToggleBright();
    void ReadRoomFields(ByteStream& stream);
    // The room's own part of its saved-game record: picture and twenty bytes.
    void SavePictureState(ByteStream& stream) const;
    // A saved game's record builds the picture anew; a step's record keeps
    // what it leaves unchanged.
    enum class PictureReading { BuildAnew, KeepUnchanged };
    void LoadPictureState(ByteStream& stream, PictureReading reading = PictureReading::BuildAnew);
    void PressBankButtons();

    void RestoreStep(const TPictureStep& step);
    // What the buttons and the icon strip show, unselected.
    struct ControlLook {
        std::array<uint8_t, ButtonCount + 1> Buttons;
        std::array<std::optional<uint8_t>, TIconMap::SlotCount + 1> Icons; // the object's map index
        bool Full;
    };
    ControlLook ShownControls() const;
    void DrawChangedControls(const ControlLook& before, const ControlLook& after);
    // Runs a change; when it changed the picture's record, the state before
    // it becomes a step.
    template <class Change> void AsStep(Change change);
    void KeepStep(TPictureStep before);
    void KeepDragStep();
    void ShowHistory();

    std::unique_ptr<TVorelDrawing> Drawing;
    std::unique_ptr<THotImage> IconSheet;
    std::unique_ptr<THotImage> ColourSheet;
    std::unique_ptr<THotImage> FaceSheet;
    std::unique_ptr<THotImage> ButtonSheet;
    bool BrightSet = false;
    uint8_t BackgroundButton = 1;
    uint8_t Bank = 1;
    uint8_t Colour = 1;
    uint8_t SelectedIcon = 0;
    uint8_t HalfState = 0;
    uint8_t FlopState = 0;
    bool EraserOn = false;
    TPoint GrabOffset;
    bool Dragging = false; // between a press on the selected object and its release
    std::optional<TPictureStep> DragStart;
    std::array<uint8_t, ButtonCount + 1> ButtonState{}; // 1..12
    TIconMap IconMap;
    TPictureHistory Steps;
};
