// Times one whole colouring click and one drag step in a colouring room with
// a coloured background and fifteen objects, against one memcpy of the
// 512 x 320 screen measured in the same run, and prints the ratios.
//
// The click is the press and release on the picture: the fill, the redraw of
// the changed part, the thumbnail refresh (a miniature of the whole picture
// and its copy to a display target) and the flush of the screen's damage to
// the play area's display target. A drag step is one move of the held
// object and the flush. Goals: a click under 50 screen copies, a drag step
// under 20.
//
// Undo: taking a step (the picture's record before and after a change,
// compared, and kept) and one undo or redo as the child meets it (the record
// read back and compared with the picture, the changed part drawn, the
// thumbnail, the flush), first of a fill, then of every other kind of change.
// Goal: under 10 screen copies each. The chart that finds the item under a
// point is brought up to date only when the next fill reads it; each kind's
// line also gives the cost with that charting. Also the memory of 50 steps of 4 full
// pictures, and, given the real region map as the first argument, the
// largest such memory it allows.

#include "BenchTiming.h"
#include "activity/ActivityArt.h"
#include "activity/PictureHistory.h"
#include "activity/RegionMap.h"
#include "activity/VorelDrawing.h"
#include "activity/VorelDrawingChart.h"
#include "activity/VorelRoom.h"
#include "engine/World.h"
#include "foundation/Paths.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "support/FakePlatform.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// Shows a thumbnail's damage on its own display target, as the main window does.
class ThumbnailWindow : public FakeMainWindow {
public:
    explicit ThumbnailWindow(TZQ5Library& library) : Library(library) {}
    void DrawThumbnail(int index) override {
        Target.SelectPalette(&Library.GetHPal());
        PictureThumbs[static_cast<size_t>(index)]->ImageData().DisplayDamage(Target, {0, 0});
    }
    TZQ5Library& Library;
    FakeDisplayTarget Target{129, 79};
};

// The largest picture record a region map allows: the background with the
// most regions and fifteen of the object with the most (a child may add the
// same object again and again).
size_t LargestRecord(const TRegionMap& map) {
    size_t background = 0, object = 0;
    for (int index = 0; index < 40; ++index) {
        size_t regions = map.GetEntry(static_cast<uint8_t>(index))->Regions.size();
        (index < 8 ? background : object) = std::max(index < 8 ? background : object, regions);
    }
    // Index and blank flag, the background's record, the count, fifteen map
    // indices and object records, and the room's twenty bytes.
    return 2 + (11 + background) + 1 + 15 * (1 + 11 + object) + 20;
}

size_t HistoryMemory(const TPictureStep& step, int pictures, int steps) {
    size_t bytes = 0;
    for (int p = 0; p < pictures; ++p) {
        TPictureHistory history;
        for (int s = 0; s < steps; ++s)
            history.Record(step);
        bytes += history.MemoryBytes();
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    ActivityArt art;
    art.Use();
    TempDir games;
    GamePath = games.Folder();
    FakePlatform platform;
    ThumbnailWindow window(art.Lib());
    FakeDisplayTarget view(512, 320);
    std::array<std::unique_ptr<THotImage>, 5> thumbs;
    for (size_t i = 1; i <= 4; ++i) {
        thumbs[i] = THotImage::CreateBlank(129, 79);
        PictureThumbs[i] = thumbs[i].get();
    }
    auto world = std::make_unique<TWorld>(platform, window, view, art.Lib());
    world->ScriptLoader = [&art](TWorld& w) {
        auto room = std::make_unique<TVorelRoom>("VOREL1");
        AddVorelControls(*room, art.Lib());
        room->SetPictureName("vorelpic");
        w.AddRoom(std::move(room));
        w.SetStartRoom("VOREL1");
    };
    world->Initialise();
    world->Start();
    auto* room = static_cast<TVorelRoom*>(world->FindRoom("VOREL1"));
    room->RunScript("BG", "2"); // background 0 in random colours
    for (int i = 0; i < 15; ++i) {
        room->RunScript("BTN", std::to_string(5 + i % 8));
        for (int t = 0; t < 6; ++t)
            world->Tick(1);
    }
    world->FlushView();
    if (room->GetObjectCount() != 15 || !platform.Messages.empty()) {
        std::fprintf(stderr, "set-up failed\n");
        return 1;
    }

    // The top object (selected, object 8 cascaded 14 steps) and its lower region.
    TVorelDrawingObject* top = room->Picture().Object(15);
    TPoint click = PtAdd(PtAdd(top->Position(), top->Entry().Regions[2].Seed), TVorelRoom::PictureOrigin);

    std::vector<uint8_t> screenA(512 * 320, 1), screenB(512 * 320, 2);
    const double copy = BestNanos([&](int i) {
        std::memcpy(i % 2 ? screenA.data() : screenB.data(), i % 2 ? screenB.data() : screenA.data(),
                    screenA.size());
    });

    // A press on the selected object would grab it: the first click, on the
    // background, lets it go. Shift is held (bit 0 of the press's shift
    // state), so that every fill takes a random colour and changes the region.
    world->ViewMouseDown(0, ssShift | ssLeft, TVorelRoom::PictureOrigin.X + 5, TVorelRoom::PictureOrigin.Y + 5);
    if (room->GetSelectedIcon() != 0 ||
        room->Picture().Chart().ItemAt(PtSub(click, TVorelRoom::PictureOrigin)) != 15) {
        std::fprintf(stderr, "the click would not fill the top object\n");
        return 1;
    }
    const double clickNanos = BestNanos([&](int) {
        world->ViewMouseDown(0, ssShift | ssLeft, click.X, click.Y);
        world->ViewMouseUp(0, ssShift | ssLeft, click.X, click.Y);
        world->FlushView();
    });

    // Grab the top object and move it one pixel back and forth.
    room->RunScript("SHIFT", "sc");
    TControlBox& icons = static_cast<TControlBox&>(room->HitBoxes.GetBox("ICONS"));
    world->ViewMouseDown(0, ssLeft, icons.Bounds.Left + 14 * 19 + 5, icons.Bounds.Top + 5);
    world->ViewMouseDown(0, ssLeft, click.X, click.Y);
    if (world->CapturedBox() == nullptr) {
        std::fprintf(stderr, "the drag did not start\n");
        return 1;
    }
    const double dragNanos = BestNanos([&](int i) {
        world->ViewMouseMove(ssLeft, click.X + i % 2, click.Y + i % 2);
        world->FlushView();
    });
    world->ViewMouseUp(0, ssLeft, click.X, click.Y);

    TPictureHistory kept;
    const double stepNanos = BestNanos([&](int) {
        TPictureStep before = room->CaptureStep();
        if (room->CaptureStep().Record != before.Record) std::abort(); // nothing changed in between
        kept.Record(std::move(before));
    });
    // The clicks above left a full history; undo and redo take turns.
    int refused = 0;
    const double undoNanos = BestNanos([&](int i) {
        if (!world->KeyCommand(i % 2 ? "REDO" : "UNDO")) ++refused;
    });
    if (refused > 0) {
        std::fprintf(stderr, "%d undos or redos found nothing to do\n", refused);
        return 1;
    }
    // Every other kind of change, each taken once and then undone and redone
    // in turn, so that the timing goes back and forth over that one step.
    struct UndoCost {
        std::string Name;
        double Nanos, WithChart;
    };
    std::vector<UndoCost> kinds;
    auto undoCost = [&](const std::string& name, const std::function<void()>& change) {
        const std::vector<uint8_t> before = room->CaptureStep().Record;
        change();
        world->FlushView();
        if (room->CaptureStep().Record == before || !room->History().CanUndo()) {
            std::fprintf(stderr, "%s took no step\n", name.c_str());
            std::exit(1);
        }
        bool undone = false;
        const double nanos = BestNanos([&](int) {
            if (!world->KeyCommand(undone ? "REDO" : "UNDO")) std::abort();
            undone = !undone;
        });
        // The chart is brought up to date only when a fill reads it: the
        // same again with the charting that the next fill would do first.
        const double charted = BestNanos([&](int) {
            if (!world->KeyCommand(undone ? "REDO" : "UNDO")) std::abort();
            undone = !undone;
            room->Picture().Chart();
        });
        if (undone) world->KeyCommand("REDO");
        kinds.push_back({name, nanos, charted});
    };
    auto clickIcon = [&](int slot) {
        world->ViewMouseDown(0, ssLeft, icons.Bounds.Left + (slot - 1) * 19 + 5, icons.Bounds.Top + 5);
        world->ViewMouseUp(0, ssLeft, icons.Bounds.Left + (slot - 1) * 19 + 5, icons.Bounds.Top + 5);
    };
    // Undo clears the selection: the top object's icon, the last, selects it again.
    auto selectTop = [&] { clickIcon(room->GetObjectCount()); };
    undoCost("bringing to the front", [&] { clickIcon(1); });
    undoCost("a move", [&] {
        selectTop();
        TVorelDrawingObject* object = room->Picture().Object(15);
        TPoint at = PtAdd(PtAdd(object->Position(), {20, 20}), TVorelRoom::PictureOrigin);
        world->ViewMouseDown(0, ssLeft, at.X, at.Y);
        world->ViewMouseMove(ssLeft, at.X - 30, at.Y + 20);
        world->ViewMouseUp(0, ssLeft, at.X - 30, at.Y + 20);
    });
    undoCost("mirroring", [&] {
        selectTop();
        room->RunScript("FLOP", "");
    });
    undoCost("halving", [&] {
        selectTop();
        room->RunScript("HALF", "");
    });
    undoCost("deleting an object", [&] {
        selectTop();
        room->RunScript("ERASER", "");
    });
    undoCost("adding an object", [&] {
        room->RunScript("BTN", "7");
        for (int t = 0; t < 6; ++t)
            world->Tick(1);
    });
    undoCost("a background", [&] { room->RunScript("BG", "4"); });
    undoCost("uncolouring everything", [&] {
        platform.Shift = platform.Ctrl = true;
        world->Tick(0);
        platform.Answers.push_back(MessageResult::Yes);
        room->RunScript("ERASER", "");
        platform.Shift = platform.Ctrl = false;
        world->Tick(0);
    });
    const TPictureStep full = room->CaptureStep();
    const size_t memory = HistoryMemory(full, 4, 50);

    std::printf("screen copy (512 x 320 memcpy): %8.1f us\n", copy / 1000);
    std::printf("colouring click:                %8.1f us = %5.1f screen copies (goal < 50)\n",
                clickNanos / 1000, clickNanos / copy);
    std::printf("drag step:                      %8.1f us = %5.1f screen copies (goal < 20)\n",
                dragNanos / 1000, dragNanos / copy);
    std::printf("taking a step:                  %8.1f us = %5.1f screen copies (goal < 10)\n",
                stepNanos / 1000, stepNanos / copy);
    std::printf("undo or redo:                   %8.1f us = %5.1f screen copies (goal < 10)\n",
                undoNanos / 1000, undoNanos / copy);
    for (const UndoCost& kind : kinds)
        std::printf("  undo or redo of %-24s %6.1f us = %5.1f screen copies (goal < 10); "
                    "with the chart for the next fill %5.1f\n",
                    (kind.Name + ":").c_str(), kind.Nanos / 1000, kind.Nanos / copy, kind.WithChart / copy);
    std::printf(
        "50 steps of 4 pictures of 15 objects: %zu bytes (a record of %zu bytes) = %.2f screen copies\n",
        memory, full.Record.size(), static_cast<double>(memory) / static_cast<double>(screenA.size()));
    if (argc > 1) {
        const size_t largest = LargestRecord(*TRegionMap::Load(argv[1]));
        TPictureStep worst{std::vector<uint8_t>(largest), {}};
        std::printf(
            "with %s: the largest record is %zu bytes; 50 steps of 4 pictures hold at most %zu bytes\n",
            argv[1], largest, HistoryMemory(worst, 4, 50));
    }

    world.reset();
    PictureThumbs.fill(nullptr);
    return 0;
}
