#include "activity/VorelRoom.h"

#include "activity/ObjectTable.h"
#include "activity/RandomColour.h"
#include "activity/VorelDrawing.h"
#include "engine/World.h"
#include "foundation/ByteStream.h"
#include "foundation/LoadSave.h"
#include "foundation/ScopeGuard.h"
#include "foundation/Text.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "platform/MainWindowServices.h"
#include "platform/Platform.h"

namespace {
constexpr std::array<std::array<uint8_t, 8>, 2> ColourSets{{
    {16, 11, 241, 53, 12, 47, 15, 233},
    {39, 242, 10, 84, 89, 14, 229, 101},
}};
constexpr std::array<int32_t, 12> ButtonTops{19, 19, 62, 62, 112, 112, 155, 155, 198, 198, 241, 241};
constexpr int32_t ButtonFrameWidth = 42;
constexpr int32_t ButtonFrameHeight = 39;
constexpr int32_t FaceWidth = 30;
constexpr int32_t FaceHeight = 27;
constexpr int32_t ColourButtonWidth = 43;
constexpr int32_t ColourButtonHeight = 39;
constexpr int32_t IconSize = 19;
constexpr TPoint IconStripOrigin{108, 252};
constexpr int FirstObjectButton = 5;
constexpr int ThumbnailCount = 4;
constexpr TPoint ThumbnailPoint{2, 2};

// Tool frames by state 0 (disabled), 1 and 2.
constexpr std::array<uint8_t, 3> ToolFrames{2, 0, 1};

int DigitOf(const std::string& text, size_t at) {
    if (text.size() <= at || text[at] < '0' || text[at] > '9') return -1;
    return text[at] - '0';
}

// The background button (1..16, over all banks) that chooses a background:
// each bank offers two backgrounds, each blank (odd button) and coloured.
uint8_t BackgroundButtonOf(uint8_t background, bool blank) {
    int bank = background / 2 + 1;
    int button = (background % 2) * 2 + (blank ? 1 : 2);
    return static_cast<uint8_t>((bank - 1) * 4 + button);
}

int NumberOf(const std::string& text) {
    int32_t value = 0;
    return TryStrToInt(text, value) ? value : -1;
}
} // namespace

TVorelRoom::TVorelRoom(const std::string& id) : TRoom(id), Drawing(std::make_unique<TVorelDrawing>()) {
    ResetPicture(FirstBackground());
}

TVorelRoom::~TVorelRoom() {
    ReleaseResources(true);
}

int TVorelRoom::PictureNumber() const {
    int digit = DigitOf(GetID(), 5);
    return digit < 0 ? 1 : digit;
}

uint8_t TVorelRoom::FirstBackground() const {
    int number = PictureNumber();
    return static_cast<uint8_t>(number >= 1 && number <= BackgroundCount ? number - 1 : 0);
}

TZQ5ImageData* TVorelRoom::Screen() const {
    return World ? World->Screen() : nullptr;
}

bool TVorelRoom::KeyFlag(uint16_t flag) const {
    return World && World->HasFlag(flag);
}

void TVorelRoom::Sound(SoundCue cue) const {
    if (World) World->GetPlatform().PlaySound(cue);
}

TFrameSet* TVorelRoom::FindFrameSet(const std::string& id) const {
    return static_cast<TFrameSet*>(FrameSets.FindID(id));
}

int TVorelRoom::ObjectCount() const {
    return Drawing->ObjectCount();
}

uint8_t TVorelRoom::ColourOf(bool brightSet, uint8_t button) {
    return ColourSets[brightSet ? 1 : 0].at(static_cast<size_t>(button - 1));
}

// --- Persistence -----------------------------------------------------------

void TVorelRoom::LoadState(ByteStream& stream) {
    TRoom::LoadState(stream);
    // The steps belong to the picture being replaced.
    Steps.Clear();
    DragStart.reset();
    ShowHistory();
    LoadPictureState(stream);
}

void TVorelRoom::LoadPictureState(ByteStream& stream, PictureReading reading) {
    try {
        if (reading == PictureReading::KeepUnchanged)
            Drawing->RestoreFromStream(stream);
        else
            Drawing->LoadFromStream(stream);
        ReadRoomFields(stream);
    } catch (...) {
        // A damaged record must not leave the room's counts out of step with
        // its picture: start the picture afresh and let the error go on.
        ResetPicture(FirstBackground());
        IconMap.Clear();
        SelectedIcon = 0;
        EnableObjectButtons();
        throw;
    }
    SelectedIcon = 0;
    EnableObjectButtons();
}

void TVorelRoom::ReadRoomFields(ByteStream& stream) {
    bool brightSet = ReadBoolean(stream);
    uint8_t backgroundButton = ReadByte(stream);
    uint8_t bank = ReadByte(stream);
    uint8_t colour = ReadByte(stream);
    uint8_t objectCount = ReadByte(stream);
    TIconMap iconMap;
    iconMap.Load(stream);
    // Every value indexes a table or the icon strip: refuse what is out of range.
    if (backgroundButton < 1 || backgroundButton > 16 || bank < 1 || bank > 4 || colour < 1 || colour > 8 ||
        objectCount != ObjectCount() || !iconMap.IsValid(objectCount))
        RaiseSavedGameDamaged();
    BrightSet = brightSet;
    BackgroundButton = backgroundButton;
    Bank = bank;
    Colour = colour;
    IconMap = iconMap;
}

void TVorelRoom::SaveState(ByteStream& stream) {
    TRoom::SaveState(stream);
    SavePictureState(stream);
}

void TVorelRoom::SavePictureState(ByteStream& stream) const {
    Drawing->SaveToStream(stream);
    WriteBoolean(stream, BrightSet);
    WriteByte(stream, BackgroundButton);
    WriteByte(stream, Bank);
    WriteByte(stream, Colour);
    WriteByte(stream, static_cast<uint8_t>(ObjectCount()));
    IconMap.Save(stream);
}

// --- Entering, leaving, drawing ----------------------------------------------

void TVorelRoom::Enter(const std::string& previousID) {
    TRoom::Enter(previousID);
    Flags |= rfWantsShift;
    if (!ColourSheet) ColourSheet = THotImage::Create("colbtns");
    if (!ButtonSheet) ButtonSheet = THotImage::Create("vorelbtn");
    if (!IconSheet) IconSheet = THotImage::Create("qzvrlicn");
    SelectIcon(0);
    // Older files may name a button that is not the picture's background.
    BackgroundButton = BackgroundButtonOf(Drawing->Background()->MapIndex(), Drawing->BackgroundBlank());
    SetBank(Bank);
    if (TFrameSet* bright = FindFrameSet("BRIGHT")) bright->ChangeFrame(Screen(), BrightSet ? 0 : 1, false);
    // However the room was reached (a thumbnail, going back after a load),
    // its thumbnail is the highlighted one.
    int number = DigitOf(GetID(), 5);
    if (World && number >= 1 && number <= ThumbnailCount && PictureThumbs[static_cast<size_t>(number)])
        World->MainWindow().HighlightThumbnail(number, true);
}

// A drag whose release never came (the capture was taken away) leaves the
// chart where the object was grabbed: bring it up to date.
void TVorelRoom::FinishDrag() {
    if (!Dragging) return;
    Dragging = false;
    Drawing->RebuildChart();
    KeepDragStep();
}

void TVorelRoom::KeepDragStep() {
    if (!DragStart) return;
    TPictureStep before = std::move(*DragStart);
    DragStart.reset();
    KeepStep(std::move(before));
}

void TVorelRoom::Leave() {
    FinishDrag();
    if (SelectedIcon != 0) {
        SelectIcon(0);
        RefreshThumbnail();
    }
    TRoom::Leave();
    // Off the screen the picture draws nowhere until the room is drawn again.
    Drawing->Attach(nullptr, PictureOrigin);
    if (World) World->MainWindow().ShowHistory(false, false);
}

void TVorelRoom::DrawContents(TZQ5ImageData& screen) {
    TRoom::DrawContents(screen);
    Drawing->Attach(&screen, PictureOrigin);
    Drawing->DrawAll();
    DrawButtons();
    DrawColourButtons();
    DrawIcons();
    ShowHistory();
}

void TVorelRoom::ReleaseResources(bool destroying) {
    IconSheet.reset();
    ColourSheet.reset();
    FaceSheet.reset();
    ButtonSheet.reset();
    if (destroying) Drawing.reset();
    TRoom::ReleaseResources(destroying);
}

void TVorelRoom::DrawMiniature(TZQ5ImageData& surface, TPoint point) {
    if (Drawing) Drawing->DrawMiniature(surface, point);
}

void TVorelRoom::RefreshThumbnail() {
    // Only the four pictures whose ID ends in their digit have thumbnails.
    int number = DigitOf(GetID(), 5);
    if (number < 1 || number > ThumbnailCount || !PictureThumbs[static_cast<size_t>(number)]) return;
    // The thumbnail holds this picture's miniature: only what changed is drawn on it.
    Drawing->DrawMiniature(PictureThumbs[static_cast<size_t>(number)]->ImageData(), ThumbnailPoint, true);
    Drawing->Attach(HasFlag(rfDrawn) ? Screen() : nullptr, PictureOrigin);
    if (World) World->MainWindow().DrawThumbnail(number);
}

void TVorelRoom::ResetPicture(uint8_t background) {
    BrightSet = false;
    Colour = 1;
    Bank = 1;
    BackgroundButton = BackgroundButtonOf(background, true);
    Drawing->Clear();
    Drawing->SetBackground(background, true);
    ButtonState.fill(0);
}

void TVorelRoom::EnableObjectButtons() {
    for (int n = FirstObjectButton; n <= ButtonCount; ++n)
        if (THitBox* box = FindHitBox(std::to_string(n)))
            box->SetEnabled(ObjectCount() < TIconMap::SlotCount);
}

void TVorelRoom::DrawButtons() {
    for (int i = 1; i <= ButtonCount; ++i)
        DrawButton(i);
}

void TVorelRoom::DrawButton(int i) {
    TZQ5ImageData* screen = Screen();
    if (!screen || !ButtonSheet || i < 1 || i > ButtonCount) return;
    int k = i - 1;
    bool down = ButtonState[static_cast<size_t>(i)] != 0;
    TPoint at{k % 2 == 0 ? 405 : 451, ButtonTops[static_cast<size_t>(k)]};
    screen->CopyFrom(at, ButtonSheet->ImageData(),
                     MakeBounds(0, down ? ButtonFrameHeight : 0, ButtonFrameWidth, ButtonFrameHeight));
    if (!FaceSheet || (i >= FirstObjectButton && ObjectCount() >= TIconMap::SlotCount)) return;
    TRect face = MakeBounds((k % 2) * FaceWidth + (down ? 2 * FaceWidth : 0), (k / 2) * FaceHeight, FaceWidth,
                            FaceHeight);
    screen->CopyFrom(PtAdd(at, {6, 6}), FaceSheet->ImageData(), face);
}

void TVorelRoom::DrawColourButtons() {
    for (int j = 1; j <= 8; ++j)
        DrawColourButton(j);
}

void TVorelRoom::DrawColourButton(int j) {
    TZQ5ImageData* screen = Screen();
    if (!screen || !ColourSheet || j < 1 || j > 8) return;
    int m = j - 1;
    bool current = j == Colour;
    int32_t top = BrightSet ? (current ? 39 : 0) : (current ? 117 : 78);
    screen->CopyFrom({m * ColourButtonWidth + 50, 277}, ColourSheet->ImageData(),
                     MakeBounds(m * ColourButtonWidth, top, ColourButtonWidth, ColourButtonHeight));
}

void TVorelRoom::DrawIcons() {
    for (int slot = 1; slot <= ObjectCount(); ++slot)
        DrawIcon(slot);
}

void TVorelRoom::DrawIcon(int slot) {
    TZQ5ImageData* screen = Screen();
    if (!screen || slot < 1 || slot > TIconMap::SlotCount) return;
    TPoint at{(slot - 1) * IconSize + IconStripOrigin.X, IconStripOrigin.Y};
    std::optional<uint8_t> mapIndex = Drawing->ObjectMapIndex(IconMap[slot]);
    if (!mapIndex || !IconSheet) {
        // An empty slot shows the room as it is without an icon there.
        RestorePicture(*screen, MakeBounds(at.X, at.Y, IconSize, IconSize));
        return;
    }
    int v = *mapIndex - FirstObjectMapIndex + (slot == SelectedIcon ? 32 : 0);
    screen->CopyFrom(at, IconSheet->ImageData(),
                     MakeBounds((v % 4) * IconSize, (v / 4) * IconSize, IconSize, IconSize));
}

// --- Selection, banks and buttons -----------------------------------------------

void TVorelRoom::SetTool(const std::string& id, uint8_t state, uint8_t frame) {
    if (THitBox* box = FindHitBox(id)) box->SetEnabled(state != 0);
    if (TFrameSet* frames = FindFrameSet(id)) frames->ChangeFrame(Screen(), frame, HasFlag(rfDrawn));
}

void TVorelRoom::SelectIcon(uint8_t slot) {
    bool displayed = HasFlag(rfDrawn);
    if (slot > ObjectCount()) slot = 0;
    if (slot != SelectedIcon) {
        if (SelectedIcon != 0) {
            Drawing->SetSelected(SelectedObject(), false);
            uint8_t old = SelectedIcon;
            SelectedIcon = 0;
            if (displayed) DrawIcon(old);
        }
        if (slot != 0) {
            SelectedIcon = slot;
            Drawing->SetSelected(SelectedObject(), true);
            if (displayed) DrawIcon(slot);
        }
    }

    THitBox* picture = FindHitBox("VOREL");
    if (SelectedIcon != 0) {
        EraserOn = true;
        FlopState = Drawing->IsMirrored(SelectedObject()) ? 2 : 1;
        HalfState = Drawing->IsHalf(SelectedObject()) ? 2 : 1;
        if (picture) picture->TracksHover = true;
    } else {
        EraserOn = KeyFlag(wfShift) && ObjectCount() > 0;
        FlopState = HalfState = 0;
        if (picture) {
            picture->TracksHover = false;
            picture->SetCursorKind(ckBrush);
        }
    }
    uint8_t eraserState = EraserOn ? 1 : 0;
    SetTool("ERASER", eraserState, ToolFrames[eraserState]);
    SetTool("FLOP", FlopState, ToolFrames[FlopState]);
    SetTool("HALF", HalfState, ToolFrames[HalfState]);
}

void TVorelRoom::SetBank(uint8_t bank) {
    if (bank < 1 || bank > 4) return;
    Bank = bank;
    FaceSheet.reset();
    FaceSheet = THotImage::Create("btnface" + std::to_string(bank));
    bool displayed = HasFlag(rfDrawn);
    if (TFrameSet* slide = FindFrameSet("SLIDE")) slide->ChangeFrame(Screen(), bank - 1, displayed);
    PressBankButtons();
    if (displayed) DrawButtons();
}

// The background buttons of the bank shown are down when they show the
// picture's background; the object buttons are up.
void TVorelRoom::PressBankButtons() {
    for (int i = 1; i <= 4; ++i)
        ButtonState[static_cast<size_t>(i)] = (Bank - 1) * 4 + i == BackgroundButton;
    for (int i = FirstObjectButton; i <= ButtonCount; ++i)
        ButtonState[static_cast<size_t>(i)] = 0;
}

bool TVorelRoom::ReleaseButtons(uint8_t n) {
    bool wasDown = false;
    for (int b = FirstObjectButton; b <= ButtonCount; ++b) {
        if (!ButtonState[static_cast<size_t>(b)]) continue;
        wasDown = wasDown || b == n;
        ButtonState[static_cast<size_t>(b)] = 0;
        DrawButton(b);
    }
    return wasDown;
}

uint8_t TVorelRoom::BankButtonOf(uint8_t g) const {
    if ((Bank - 1) * 4 < g && g <= Bank * 4) return static_cast<uint8_t>((g - 1) % 4 + 1);
    return 0;
}

// --- Scripts -----------------------------------------------------------------

void TVorelRoom::RunScript(const std::string& script, const std::string& argument) {
    if (script == "SHIFT") {
        SelectIcon(SelectedIcon);
        return;
    }
    if (argument == "RELEASE") {
        ReleaseButtons(0);
        return;
    }
    if (script == "ERASER") {
        AsStep([this] { Eraser(); });
        return;
    }
    if (script == "FLOP" || script == "HALF") {
        // The tools act on the selected object; without one they are disabled.
        if (SelectedIcon == 0) return;
        AsStep([&] {
            if (script == "FLOP")
                Drawing->ToggleMirror(SelectedObject());
            else
                Drawing->ToggleHalf(SelectedObject(), false);
        });
        SelectIcon(SelectedIcon);
        DrawIcons();
        RefreshThumbnail();
        return;
    }

    SelectIcon(0);
    if (script == "BTN")
        AsStep([&] { ObjectButton(NumberOf(argument)); });
    else if (script == "BG")
        AsStep([&] { BackgroundButtonPressed(NumberOf(argument)); });
    else if (script == "XPANEL1" || script == "XPANEL2")
        TurnBank(script == "XPANEL2");
    else if (script == "COLOR")
        ChooseColour(argument);
    else if (script == "BRIGHT")
        ToggleBright();
    else {
        TRoom::RunScript(script, argument);
        return;
    }
    RefreshThumbnail();
}

void TVorelRoom::ObjectButton(int n) {
    if (n < FirstObjectButton || n > ButtonCount) return;
    auto mapIndex = static_cast<uint8_t>(FirstObjectMapIndex + (Bank - 1) * 8 + (n - FirstObjectButton));
    if (ReleaseButtons(static_cast<uint8_t>(n))) return;
    // A press that reached a full picture (a stale, still enabled button) adds nothing.
    if (ObjectCount() >= TIconMap::SlotCount) return;
    ButtonState[static_cast<size_t>(n)] = 1;
    DrawButton(n);
    // One pending release: an older one would let this button up too early.
    CancelTimer(tsRelease);
    AddTimer(tsRelease, ReleaseDelay);
    if (!Drawing->AddObject(mapIndex, KeyFlag(wfShift))) return;
    Sound(SoundCue::AddObject);
    auto count = static_cast<uint8_t>(ObjectCount());
    IconMap.Set(count, count);
    SelectIcon(count);
    if (count == TIconMap::SlotCount) {
        EnableObjectButtons();
        DrawButtons();
    }
}

void TVorelRoom::BackgroundButtonPressed(int n) {
    if (n < 1 || n > 4) return;
    Drawing->SetBackground(static_cast<uint8_t>((Bank - 1) * 2 + (n - 1) / 2), n % 2 == 1);
    uint8_t old = BankButtonOf(BackgroundButton);
    BackgroundButton = static_cast<uint8_t>((Bank - 1) * 4 + n);
    if (old != 0) {
        ButtonState[old] = 0;
        DrawButton(old);
    }
    uint8_t now = BankButtonOf(BackgroundButton);
    ButtonState[now] = 1;
    DrawButton(now);
}

void TVorelRoom::TurnBank(bool forward) {
    uint8_t old = Bank;
    if (forward)
        SetBank(static_cast<uint8_t>(Bank < 4 ? Bank + 1 : 0));
    else
        SetBank(static_cast<uint8_t>(Bank > 1 ? Bank - 1 : 0));
    if (Bank != old) Sound(SoundCue::BankPage);
}

void TVorelRoom::ChooseColour(const std::string& argument) {
    int colour = DigitOf(argument, 0);
    if (colour < 1 || colour > 8) return;
    uint8_t old = Colour;
    Colour = static_cast<uint8_t>(colour);
    DrawColourButton(old);
    DrawColourButton(Colour);
}

void TVorelRoom::ToggleBright() {
    BrightSet = !BrightSet;
    if (TFrameSet* bright = FindFrameSet("BRIGHT")) bright->SetFrame(Screen(), BrightSet ? 0 : 1);
    DrawColourButtons();
}

// --- The eraser --------------------------------------------------------------

void TVorelRoom::Eraser() {
    bool full = ObjectCount() == TIconMap::SlotCount;
    bool shift = KeyFlag(wfShift);
    bool ctrl = KeyFlag(wfCtrl);
    if (shift) {
        const char* question = ctrl ? "Remove all coloring in scene?" : "Delete all objects in scene?";
        if (!World || !AskYesNo(World->GetPlatform(), question, MessageKind::Confirmation)) return;
    }
    if (shift && ctrl) {
        RemoveAllColouring();
    } else if (shift) {
        DeleteAllObjects();
    } else if (SelectedIcon == 0) {
        // The plain and Ctrl forms act on the selected object only.
        return;
    } else if (ctrl) {
        Drawing->RemoveColouring(SelectedObject());
    } else {
        DeleteSelected();
    }
    DrawIcons();
    if (full) {
        EnableObjectButtons();
        DrawButtons();
    }
    RefreshThumbnail();
}

void TVorelRoom::RemoveAllColouring() {
    Platform& platform = World->GetPlatform();
    platform.SetScreenCursor(ScreenCursor::Hourglass);
    const ScopeGuard normalCursor([&platform] { platform.SetScreenCursor(ScreenCursor::Default); });
    Drawing->RemoveAllColouring();
}

void TVorelRoom::DeleteAllObjects() {
    // The selection goes with its object; a selection left behind would name
    // a slot past the end of the strip.
    SelectIcon(0);
    for (int slot = 1; slot <= ObjectCount(); ++slot)
        IconMap.Set(slot, TIconMap::Empty);
    DrawIcons();
    Drawing->Clear();
    Drawing->DrawAll();
    SelectIcon(0);
    Sound(SoundCue::DeleteAll);
}

void TVorelRoom::DeleteSelected() {
    uint8_t slot = SelectedIcon;
    uint8_t number = SelectedObject();
    int count = ObjectCount();
    SelectIcon(0);
    IconMap.Remove(slot, count);
    Drawing->DeleteObject(number);
    DrawIcon(count);
    Sound(SoundCue::Delete);
}

// --- Control events ------------------------------------------------------------

bool TVorelRoom::ControlEvent(TControlBox& box, ControlAction action) {
    if (action == caHold) return false;
    if (box.GetID() == "VOREL") return PictureEvent(box, action);
    if (box.GetID() == "ICONS") IconEvent(box);
    return false;
}

bool TVorelRoom::PictureEvent(TControlBox& box, ControlAction action) {
    TPoint point{box.LocalX, box.LocalY};
    std::optional<TPoint> grab =
        SelectedIcon != 0 ? Drawing->HitSelected(point, SelectedObject()) : std::optional<TPoint>();
    switch (action) {
    case caHover:
        if (grab) GrabOffset = *grab;
        box.SetCursorKind(grab ? ckTake : ckBrush);
        return false;
    case caPress: {
        FinishDrag();
        if (grab) {
            GrabOffset = *grab;
            Dragging = true;
            DragStart = CaptureStep();
            return true;
        }
        SelectIcon(0);
        bool shift = KeyFlag(wfShift) || box.ShiftState.Has(ssShift);
        AsStep([&] { Drawing->FillAt(point, shift ? RandomColour() : ColourOf(BrightSet, Colour)); });
        Sound(shift ? SoundCue::RandomFill : SoundCue::Fill);
        RefreshThumbnail();
        return false;
    }
    case caDrag:
    case caRelease:
        Drawing->MoveObject(SelectedObject(), PtSub(point, GrabOffset), action == caRelease);
        if (action == caDrag) return true;
        Dragging = false;
        RefreshThumbnail();
        KeepDragStep();
        return false;
    default:
        return false;
    }
}

void TVorelRoom::IconEvent(TControlBox& box) {
    if (box.LocalX < 0) return;
    int slot = box.LocalX / IconSize + 1;
    if (slot > ObjectCount() || slot == SelectedIcon) return;
    SelectIcon(0);
    SelectIcon(static_cast<uint8_t>(slot));
    AsStep([&] {
        Drawing->BringToFront(IconMap[slot]);
        IconMap.MoveToTop(slot, ObjectCount());
    });
    RefreshThumbnail();
}

// --- Undo and redo ---------------------------------------------------------------

TPictureStep TVorelRoom::CaptureStep() const {
    MemoryStream record;
    SavePictureState(record);
    return {std::move(record.Data()), Drawing->NextPlacement()};
}

template <class Change> void TVorelRoom::AsStep(Change change) {
    TPictureStep before = CaptureStep();
    change();
    KeepStep(std::move(before));
}

void TVorelRoom::KeepStep(TPictureStep before) {
    // What left the record as it was (a click on a line, a declined question)
    // is no step: an undo must always show a change.
    if (CaptureStep().Record == before.Record) return;
    Steps.Record(std::move(before));
    ShowHistory();
}

void TVorelRoom::ShowHistory() {
    // Only the room on the screen speaks for the window's buttons.
    if (World && HasFlag(rfDrawn)) World->MainWindow().ShowHistory(Steps.CanUndo(), Steps.CanRedo());
}

bool TVorelRoom::KeyCommand(const std::string& name) {
    if (name == "UNDO" && Steps.CanUndo()) {
        Undo();
        return true;
    }
    if (name == "REDO" && Steps.CanRedo()) {
        Redo();
        return true;
    }
    return false;
}

void TVorelRoom::Undo() {
    // A drag still held ends here, as its own step.
    FinishDrag();
    if (std::optional<TPictureStep> step = Steps.Undo(CaptureStep())) RestoreStep(*step);
    ShowHistory();
}

void TVorelRoom::Redo() {
    FinishDrag();
    if (std::optional<TPictureStep> step = Steps.Redo(CaptureStep())) RestoreStep(*step);
    ShowHistory();
}

void TVorelRoom::RestoreStep(const TPictureStep& step) {
    // The colours and the bank in view are the child's tools, not the picture:
    // they stay as they are.
    const bool brightSet = BrightSet;
    const uint8_t bank = Bank;
    const uint8_t colour = Colour;
    SelectIcon(0);
    const ControlLook before = ShownControls();
    MemoryStream record(step.Record);
    // What the step leaves as it is stays on the screen as it is: only the
    // changed part of the picture and the controls that changed are drawn again.
    LoadPictureState(record, PictureReading::KeepUnchanged);
    BrightSet = brightSet;
    Bank = bank;
    Colour = colour;
    Drawing->SetNextPlacement(step.Placement);

    CancelTimer(tsRelease);
    PressBankButtons();
    SelectIcon(0);
    if (HasFlag(rfDrawn)) DrawChangedControls(before, ShownControls());
    RefreshThumbnail();
}

TVorelRoom::ControlLook TVorelRoom::ShownControls() const {
    ControlLook look{ButtonState, {}, ObjectCount() >= TIconMap::SlotCount};
    // Slots past the objects show the room, as after drawing it whole.
    for (int slot = 1; slot <= ObjectCount(); ++slot)
        look.Icons[static_cast<size_t>(slot)] = Drawing->ObjectMapIndex(IconMap[slot]);
    return look;
}

void TVorelRoom::DrawChangedControls(const ControlLook& before, const ControlLook& after) {
    // A full picture shows the object buttons without faces.
    for (int i = 1; i <= ButtonCount; ++i)
        if (before.Buttons[static_cast<size_t>(i)] != after.Buttons[static_cast<size_t>(i)] ||
            (i >= FirstObjectButton && before.Full != after.Full))
            DrawButton(i);
    for (int slot = 1; slot <= TIconMap::SlotCount; ++slot)
        if (before.Icons[static_cast<size_t>(slot)] != after.Icons[static_cast<size_t>(slot)]) DrawIcon(slot);
}
