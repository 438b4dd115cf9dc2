#pragma once
// The load-and-save room: eight slots, a save button with the current game's
// picture, quit and return buttons, and an overwrite mode with a flashing
// banner when every slot is taken. Its control boxes are named by one
// character of "12345678SMFXRC". It is never written to a saved game.

#include "engine/AuxGfxRoom.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class THotImage;

class TDiskOpsRoom : public TAuxGfxRoom {
public:
    static constexpr int SlotCount = 8;
    // Written at every close; it loads, but the save button never writes it.
    static constexpr int AutomaticSlot = 1;
    static constexpr uint8_t FillColour = 208;

    explicit TDiskOpsRoom(const std::string& id);
    ~TDiskOpsRoom() override;

    void Enter(const std::string& previousID) override;
    void RunScript(const std::string& script, const std::string& argument) override;
    bool ControlEvent(TControlBox& box, ControlAction action) override;
    void Draw(TZQ5ImageData* screen) override;
    void DrawContents(TZQ5ImageData& screen) override;
    void ReleaseResources(bool destroying) override;
    std::string KindName() const override { return "DISKOPS"; }
    // The room that loads and saves games is not itself in them.
    bool KeptInSavedGames() const override { return false; }

    // 1-based position of id in "12345678SMFXRC"; 0 when absent.
    static int ButtonIndex(const std::string& id);

    bool IsOccupied(int slot) const { return Occupied[slot]; }
    bool HasThumbnail(int slot) const { return Thumbs[slot] != nullptr; }
    bool GetGameSaved() const { return GameSaved; }
    bool GetOverwriteMode() const { return OverwriteMode; }
    bool GetFlashPhase() const { return FlashPhase; }
    int GetPressedButton() const { return PressedButton; }

private:
    void DrawButton(int n);
    void DrawButtonOn(TZQ5ImageData& screen, int n);
    void DrawFramedThumb(TZQ5ImageData& screen, int index, TPoint at, bool filled);
    void DrawSprite(TZQ5ImageData& screen, TPoint at, const TRect& sprite);
    bool IsPressed(int n) const { return n == PressedButton && PressedInside; }
    void EndPress();
    void LeaveOverwriteMode();
    void SaveToSlot(int slot);
    void KeepUnreadableSlotFile(int slot);
    void LoadSlot(int slot);
    void ClickSlot(int slot);
    void ClickSave();
    void SetThumbnail(int slot, const std::vector<uint8_t>& pixels);
    std::vector<uint8_t> ThumbnailPixels(int slot) const;
    void ReadSlots();

    // 0 is the current game, 1..8 the slots; present only while entered.
    std::array<std::unique_ptr<THotImage>, SlotCount + 1> Thumbs;
    std::array<bool, SlotCount + 1> Occupied{};
    bool GameSaved = false;
    bool OverwriteMode = false;
    bool FlashPhase = false;
    bool PressedInside = false;
    int PressedButton = 0;
};
