#pragma once
// Small stand-in artwork for the colouring activity: every image the activity
// loads, drawn as simple line art, and a region map whose seeds match it, in
// a library file and a data folder of their own.
//
// Backgrounds (376 x 225) are framed in ink 40 and split by two upright lines
// into three regions, blank 217. Every object is framed in ink 40 on its sheet
// (on 217) with three regions, blank 255: the upper half split by an upright
// line at a quarter of its width, and the lower half. The half-size sheets
// hold the same drawing at half size; every seed halved lands in its region.

#include "activity/RegionMap.h"
#include "foundation/Geometry.h"
#include "image/SurfaceTestSupport.h"

#include <memory>
#include <vector>

class TRoom;

class ActivityArt {
public:
    // Writes the files; Use() makes them the ones the activity reads.
    ActivityArt();

    // Sets DatPath to the data folder and the hot images' library to Library.
    void Use();
    TZQ5Library& Lib() { return Files->Library; }
    std::string DataFolder() const { return Files->Folder.Folder() + "dat/"; }
    const std::vector<uint8_t>& MapBytes() const { return Map; }

    // Seeds of the stand-in art in an item's full-size image.
    static std::vector<TPoint> BackgroundSeeds();
    static std::vector<TPoint> ObjectSeeds(int32_t width, int32_t height);

    // Pixel values of the button sheets, so that tests can tell what was drawn.
    static uint8_t IconValue(int v) { return static_cast<uint8_t>(100 + v); }
    static uint8_t ColourButtonValue(int column, int row) {
        return static_cast<uint8_t>(1 + column + 8 * row);
    }
    static uint8_t FrameValue(int frame) { return static_cast<uint8_t>(60 + frame); }
    static constexpr uint8_t ButtonUpValue = 20;
    static constexpr uint8_t ButtonDownValue = 21;
    static constexpr uint8_t RoomPictureValue = 7;

private:
    std::unique_ptr<TestLibrary> Files;
    std::vector<uint8_t> Map;
};

// The rectangles of the panel buttons 1..12 and of the tool boxes "ERASER",
// "FLOP" and "HALF" in the layout the tests use.
TRect ObjectPanelButton(int n);
TRect ToolBox(const std::string& id);
// Fills a room with the hit boxes and frame sets the colouring room uses:
// buttons "1".."12", colour boxes "1C".."8C", the tools, "ICONS", "VOREL".
void AddVorelControls(TRoom& room, TZQ5Library& library);

// One set of art for the whole test program, made on first use.
ActivityArt& SharedArt();

