#include "engine/DiskOpsRoom.h"

#include "engine/SavedGame.h"
#include "engine/World.h"
#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "foundation/ResStrings.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "platform/MainWindowServices.h"
#include "platform/Platform.h"

#include <cstring>

namespace {
constexpr const char* ButtonIDs = "12345678SMFXRC";
enum : int { btSave = 9, btQuit = 12, btReturn = 13, btCancel = 14 };

// Sprites of the sheet "ldsv_gfx".
constexpr TRect SlotFrame{106, 48, 212, 116};
constexpr TRect SlotFrameEmpty{0, 48, 106, 116};
constexpr TRect SmallFrame{106, 116, 212, 159};
constexpr TRect SmallFramePressed{0, 116, 106, 159};
constexpr TRect BannerNormal{0, 0, 264, 16};
constexpr TRect BannerOverwriteOff{0, 16, 264, 32};
constexpr TRect BannerOverwriteOn{0, 32, 264, 48};
constexpr TRect CancelButton{106, 159, 212, 187};
constexpr TRect CancelButtonPressed{0, 159, 106, 187};
constexpr TRect QuitIcon{102, 251, 204, 290};
constexpr TRect ReturnIcon{0, 251, 102, 290};
constexpr TRect CurrentGameLabel{154, 290, 248, 306};

constexpr TPoint BannerPoint{20, 20};
constexpr TPoint CancelPoint{386, 8};
constexpr TRect CancelArea{386, 8, 492, 36};
constexpr TPoint SaveLabelPoint{20, 215};
constexpr TPoint SaveFramePoint{20, 236};
constexpr TPoint QuitFramePoint{386, 211};
constexpr TPoint ReturnFramePoint{386, 261};
constexpr TPoint ThumbInset{2, 2};

TPoint SlotPoint(int slot) {
    constexpr int32_t columns[4] = {20, 142, 264, 386};
    return {columns[(slot - 1) % 4], slot <= 4 ? 42 : 124};
}

char SlotChar(int slot) {
    return static_cast<char>('0' + slot);
}
} // namespace

TDiskOpsRoom::TDiskOpsRoom(const std::string& id) : TAuxGfxRoom(id, "ldsv_gfx") {}

TDiskOpsRoom::~TDiskOpsRoom() {
    ReleaseResources(true);
}

int TDiskOpsRoom::ButtonIndex(const std::string& id) {
    if (id.size() != 1) return 0;
    const char* found = std::strchr(ButtonIDs, id[0]);
    return found && id[0] != '\0' ? static_cast<int>(found - ButtonIDs) + 1 : 0;
}

// ---- Entering ----

void TDiskOpsRoom::Enter(const std::string& previousID) {
    TAuxGfxRoom::Enter(previousID);
    SetThumbnail(0, World->GameThumbnail());
    PressedButton = 0;
    OverwriteMode = FlashPhase = PressedInside = false;
    // Coming from the title room there is no game in progress to lose.
    GameSaved = previousID == "TITLE";
    ReadSlots();
}

void TDiskOpsRoom::ReadSlots() {
    for (int slot = 1; slot <= SlotCount; ++slot) {
        TSlotInfo info = InspectSaveFile(SaveFileName(SlotChar(slot)));
        Occupied[slot] = info.Valid;
        if (!info.Thumbnail.empty()) SetThumbnail(slot, info.Thumbnail);
    }
}

void TDiskOpsRoom::SetThumbnail(int slot, const std::vector<uint8_t>& pixels) {
    if (pixels.size() != SaveThumbBytes) return;
    if (!Thumbs[slot])
        Thumbs[slot] = THotImage::CreateBlankInLibrary(SaveThumbWidth, *World->Library(), SaveThumbHeight);
    TZQ5ImageData& surface = Thumbs[slot]->ImageData();
    for (int32_t y = 0; y < SaveThumbHeight; ++y) {
        uint8_t* line = surface.StartLine(0, y);
        std::memcpy(line, pixels.data() + static_cast<size_t>(y) * SaveThumbWidth, SaveThumbWidth);
        surface.UnlockSegment(0, y);
    }
}

std::vector<uint8_t> TDiskOpsRoom::ThumbnailPixels(int slot) const {
    std::vector<uint8_t> pixels;
    if (!Thumbs[slot]) return pixels;
    TZQ5ImageData& surface = Thumbs[slot]->ImageData();
    pixels.reserve(SaveThumbBytes);
    for (int32_t y = 0; y < SaveThumbHeight; ++y)
        for (int32_t x = 0; x < SaveThumbWidth; ++x)
            pixels.push_back(surface.GetPixel({x, y}));
    return pixels;
}

void TDiskOpsRoom::ReleaseResources(bool destroying) {
    for (auto& thumb : Thumbs)
        thumb.reset();
    Occupied.fill(false);
    TRoom::ReleaseResources(destroying);
}

// ---- Drawing ----

void TDiskOpsRoom::Draw(TZQ5ImageData* screen) {
    if (!screen) throw StdException(LoadResString(SInvalidImageData));
    screen->FillRect(screen->BoundsRect(), FillColour);
    DrawContents(*screen);
}

void TDiskOpsRoom::DrawContents(TZQ5ImageData& screen) {
    TRoom::DrawContents(screen);
    for (int n : {int(btCancel), 1, 2, 3, 4, 5, 6, 7, 8, int(btSave), int(btQuit)})
        DrawButtonOn(screen, n);
}

void TDiskOpsRoom::DrawButton(int n) {
    if (TZQ5ImageData* screen = World->Screen()) DrawButtonOn(*screen, n);
}

void TDiskOpsRoom::DrawSprite(TZQ5ImageData& screen, TPoint at, const TRect& sprite) {
    if (TZQ5ImageData* sheet = AuxSurface()) screen.CopyFrom(at, *sheet, sprite);
}

void TDiskOpsRoom::DrawFramedThumb(TZQ5ImageData& screen, int index, TPoint at, bool filled) {
    bool pressed = IsPressed(index == 0 ? btSave : index);
    DrawSprite(screen, at, filled && !pressed ? SlotFrame : SlotFrameEmpty);
    if (Thumbs[index]) {
        TZQ5ImageData& thumb = Thumbs[index]->ImageData();
        screen.CopyFrom(PtAdd(at, ThumbInset), thumb, thumb.BoundsRect());
    }
}

void TDiskOpsRoom::DrawButtonOn(TZQ5ImageData& screen, int n) {
    if (n >= 1 && n <= SlotCount) {
        // An older saved game without a picture still shows as a taken slot.
        DrawFramedThumb(screen, n, SlotPoint(n), Occupied[n] || Thumbs[n]);
    } else if (n == btSave) {
        DrawSprite(screen, SaveLabelPoint, CurrentGameLabel);
        DrawFramedThumb(screen, 0, SaveFramePoint, Thumbs[0] != nullptr);
    } else if (n == btQuit || n == btReturn) {
        DrawSprite(screen, QuitFramePoint, IsPressed(btQuit) ? SmallFramePressed : SmallFrame);
        DrawSprite(screen, ReturnFramePoint, IsPressed(btReturn) ? SmallFramePressed : SmallFrame);
        DrawSprite(screen, PtAdd(QuitFramePoint, ThumbInset), QuitIcon);
        DrawSprite(screen, PtAdd(ReturnFramePoint, ThumbInset), ReturnIcon);
    } else if (n == btCancel) {
        if (OverwriteMode) {
            DrawSprite(screen, CancelPoint, IsPressed(btCancel) ? CancelButtonPressed : CancelButton);
            DrawSprite(screen, BannerPoint, FlashPhase ? BannerOverwriteOn : BannerOverwriteOff);
        } else {
            screen.FillRect(CancelArea, FillColour);
            DrawSprite(screen, BannerPoint, BannerNormal);
        }
    }
}

// ---- Buttons ----

bool TDiskOpsRoom::ControlEvent(TControlBox& box, ControlAction action) {
    switch (action) {
    case caPress:
        EndPress();
        PressedButton = ButtonIndex(box.GetID());
        if (PressedButton == 0) return false;
        PressedInside = true;
        DrawButton(PressedButton);
        return true;
    case caDrag:
        if (box.PointerInside() != PressedInside) {
            PressedInside = !PressedInside;
            DrawButton(PressedButton);
        }
        return true;
    case caRelease:
        EndPress();
        if (box.PointerInside()) RunScript(box.Script, box.GetID());
        return false;
    default:
        return false;
    }
}

void TDiskOpsRoom::EndPress() {
    int released = PressedButton;
    PressedButton = 0;
    if (PressedInside) {
        PressedInside = false;
        DrawButton(released);
    }
}

void TDiskOpsRoom::RunScript(const std::string&, const std::string& argument) {
    if (argument == "FLASH") {
        FlashPhase = !FlashPhase;
        DrawButton(btCancel);
        AddTimer(tsFlash, 6);
        return;
    }
    int n = ButtonIndex(argument);
    if (n >= 1 && n <= SlotCount) {
        ClickSlot(n);
    } else if (n == btSave) {
        ClickSave();
    } else if (n == btQuit) {
        RunExitScript(ekAskQuit);
    } else if (n == btReturn) {
        World->GoBack();
    } else if (n == btCancel) {
        LeaveOverwriteMode();
    }
}

void TDiskOpsRoom::LeaveOverwriteMode() {
    CancelTimer(tsFlash);
    OverwriteMode = false;
    DrawButton(btCancel);
}

void TDiskOpsRoom::ClickSlot(int slot) {
    if (OverwriteMode) {
        // The automatic slot is written at every close: a save there would be lost.
        if (slot == AutomaticSlot) return;
        LeaveOverwriteMode();
        SaveToSlot(slot);
        return;
    }
    if (!Occupied[slot]) return; // nothing to load
    if (!GameSaved)
        GameSaved = AskYesNo(World->GetPlatform(), LoadResString(SAbandonGame), MessageKind::Confirmation);
    if (GameSaved) LoadSlot(slot);
}

void TDiskOpsRoom::ClickSave() {
    for (int slot = AutomaticSlot + 1; slot <= SlotCount; ++slot) {
        if (!Occupied[slot]) {
            SaveToSlot(slot);
            return;
        }
    }
    OverwriteMode = true;
    AddTimer(tsFlash, 6);
    DrawButton(btCancel);
}

void TDiskOpsRoom::SaveToSlot(int slot) {
    KeepUnreadableSlotFile(slot);
    std::vector<uint8_t> current = ThumbnailPixels(0);
    World->PendingThumbnail = current;
    // The room is not left: the child stays here and sees the slot fill.
    World->SaveGame(SlotChar(slot), false);
    GameSaved = true;
    Occupied[slot] = true;
    if (!current.empty()) SetThumbnail(slot, current);
    DrawButton(slot);
}

void TDiskOpsRoom::KeepUnreadableSlotFile(int slot) {
    // A slot shows as free when its file cannot be read; such a file may
    // still hold a child's pictures, so it is kept aside, never written over.
    const std::string path = SaveFileName(SlotChar(slot));
    if (Occupied[slot] || !FileExists(path)) return;
    std::error_code error;
    KeepDamagedFile(path, error);
    if (error)
        throw KelException("The saved game in \"" + path + "\" could not be read nor moved aside (" +
                           error.message() + "), so nothing was saved there.");
}

void TDiskOpsRoom::LoadSlot(int slot) {
    if (!World->LoadGame(SlotChar(slot))) return;
    if (Thumbs[0] && Thumbs[slot]) {
        SetThumbnail(0, ThumbnailPixels(slot));
        DrawButton(btSave);
    }
    // The pictures under the play area show the game just loaded.
    World->DrawMiniatures();
    for (int i = 1; i <= 4; ++i)
        if (PictureThumbs[i]) World->MainWindow().DrawThumbnail(i);
}
