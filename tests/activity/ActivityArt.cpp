#include "activity/ActivityArt.h"

#include "activity/ObjectTable.h"
#include "engine/HitBox.h"
#include "engine/Room.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"
#include "image/HotImage.h"

#include <filesystem>

namespace {
constexpr uint8_t Ink = OutlineInk;

std::vector<TPoint> Halved(const std::vector<TPoint>& seeds) {
    std::vector<TPoint> half;
    for (TPoint seed : seeds)
        half.push_back({seed.X / 2, seed.Y / 2});
    return half;
}

// The object drawing in a w x h box: frame, middle line, quarter line above it.
uint8_t ObjectPixel(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (x == 0 || y == 0 || x == w - 1 || y == h - 1 || y == h / 2) return Ink;
    if (x == w / 4 && y < h / 2) return Ink;
    return BlankObjectColour;
}

uint8_t BackgroundPixel(int32_t x, int32_t y) {
    if (x == 0 || y == 0 || x == PictureWidth - 1 || y == PictureHeight - 1 || x == 125 || x == 250)
        return Ink;
    return BlankBackgroundColour;
}

TRect RectOn(uint8_t mapIndex, bool half) {
    TRect full = ObjectSourceRect(mapIndex);
    return half ? HalfSourceRect(full) : full;
}

// A sheet holding the objects of one bank, full or half size, on 217.
TestImageSpec Sheet(int bank, bool half) {
    auto first = static_cast<uint8_t>(FirstObjectMapIndex + bank * 8);
    int32_t width = 0;
    int32_t height = 0;
    for (uint8_t m = first; m < first + 8; ++m) {
        width = std::max(width, RectOn(m, half).Right);
        height = std::max(height, RectOn(m, half).Bottom);
    }
    auto value = [first, half](int32_t x, int32_t y) -> uint8_t {
        for (uint8_t m = first; m < first + 8; ++m) {
            TRect r = RectOn(m, half);
            if (PtInRect(r, {x, y})) return ObjectPixel(x - r.Left, y - r.Top, RectWidth(r), RectHeight(r));
        }
        return BlankBackgroundColour;
    };
    return {ObjectSheetName(first, half), static_cast<uint16_t>(width), static_cast<uint16_t>(height), value};
}

// Checks the promise of the half-size sheets for the stand-in art.
void CheckHalfSeeds() {
    for (uint8_t m = FirstObjectMapIndex; m < MapIndexCount; ++m) {
        TRect full = ObjectSourceRect(m);
        TRect half = HalfSourceRect(full);
        for (TPoint seed : Halved(ActivityArt::ObjectSeeds(RectWidth(full), RectHeight(full))))
            if (ObjectPixel(seed.X, seed.Y, RectWidth(half), RectHeight(half)) != BlankObjectColour)
                throw KelException("ActivityArt: a halved seed of object " + std::to_string(m) +
                                   " is on ink");
    }
}

std::vector<TestImageSpec> Images() {
    std::vector<TestImageSpec> images;
    for (uint8_t i = 0; i < BackgroundCount; ++i)
        for (bool blank : {false, true})
            images.push_back({BackgroundImageName(i, blank), PictureWidth, PictureHeight, BackgroundPixel});
    for (int bank = 0; bank < 4; ++bank)
        for (bool half : {false, true})
            images.push_back(Sheet(bank, half));
    images.push_back({"qzvrlicn", 76, 304,
                      [](int32_t x, int32_t y) { return ActivityArt::IconValue(x / 19 + 4 * (y / 19)); }});
    images.push_back({"colbtns", 344, 156,
                      [](int32_t x, int32_t y) { return ActivityArt::ColourButtonValue(x / 43, y / 39); }});
    for (int bank = 1; bank <= 4; ++bank)
        images.push_back({"btnface" + std::to_string(bank), 120, 162, [bank](int32_t x, int32_t y) {
                              return static_cast<uint8_t>(bank * 24 + x / 30 + 4 * (y / 27));
                          }});
    images.push_back({"vorelbtn", 42, 78, [](int32_t, int32_t y) {
                          return y < 39 ? ActivityArt::ButtonUpValue : ActivityArt::ButtonDownValue;
                      }});
    images.push_back({"frames", 10, 40, [](int32_t, int32_t y) { return ActivityArt::FrameValue(y / 10); }});
    images.push_back({"vorelpic", 512, 320, [](int32_t, int32_t) { return ActivityArt::RoomPictureValue; }});
    return images;
}

constexpr std::array<int32_t, 12> ButtonTops{19, 19, 62, 62, 112, 112, 155, 155, 198, 198, 241, 241};

void AddScriptBox(TRoom& room, const std::string& id, const TRect& bounds, const std::string& script) {
    auto box = std::make_unique<TRoomScriptBox>(id, bounds);
    box->SetScript(script);
    room.AddHitBox(std::move(box));
}
} // namespace

TRect ObjectPanelButton(int n) {
    int k = n - 1;
    return MakeBounds(k % 2 == 0 ? 405 : 451, ButtonTops[static_cast<size_t>(k)], 42, 39);
}

// Tool boxes and their frame sets, clear of every drawn control.
TRect ToolBox(const std::string& id) {
    if (id == "ERASER") return {0, 280, 40, 320};
    if (id == "FLOP") return {400, 285, 450, 320};
    return {455, 285, 505, 320}; // "HALF"
}

std::vector<TPoint> ActivityArt::BackgroundSeeds() {
    return {{60, 112}, {187, 112}, {312, 112}};
}

std::vector<TPoint> ActivityArt::ObjectSeeds(int32_t width, int32_t height) {
    return {{width / 8, height / 4}, {5 * width / 8, height / 4}, {width / 2, 3 * height / 4}};
}

ActivityArt::ActivityArt() {
    CheckHalfSeeds();
    Files = std::make_unique<TestLibrary>(Images());
    std::vector<std::vector<TRegion>> entries;
    for (uint8_t m = 0; m < MapIndexCount; ++m) {
        std::vector<TRegion> regions;
        if (m < BackgroundCount) {
            for (TPoint seed : BackgroundSeeds())
                regions.push_back({seed, BlankBackgroundColour});
        } else {
            TRect r = ObjectSourceRect(m);
            for (TPoint seed : ObjectSeeds(RectWidth(r), RectHeight(r)))
                regions.push_back({seed, BlankObjectColour});
        }
        entries.push_back(regions);
    }
    Map = WriteRegionMap(entries);
    std::filesystem::create_directories(DataFolder());
    Files->Folder.Write("dat/vorelmap.dat", Map);
}

void ActivityArt::Use() {
    DatPath = DataFolder();
    THotImage::SetGlobalLibrary(&Files->Library);
}

void AddVorelControls(TRoom& room, TZQ5Library& library) {
    for (int n = 1; n <= 12; ++n)
        AddScriptBox(room, std::to_string(n), ObjectPanelButton(n), n <= 4 ? "BG" : "BTN");
    for (int m = 0; m < 8; ++m)
        AddScriptBox(room, std::to_string(m + 1) + "C", MakeBounds(m * 43 + 50, 277, 43, 39), "COLOR");
    for (const char* id : {"ERASER", "FLOP", "HALF"}) {
        AddScriptBox(room, id, ToolBox(id), id);
        room.AddFrameSet(std::make_unique<TFrameSet>(id, &library, ToolBox(id), 4, 10, "frames"));
    }
    room.AddFrameSet(std::make_unique<TFrameSet>("BRIGHT", &library, TRect{0, 0, 10, 10}, 2, 10, "frames"));
    room.AddFrameSet(std::make_unique<TFrameSet>("SLIDE", &library, TRect{500, 0, 510, 10}, 4, 10, "frames"));
    room.AddHitBox(std::make_unique<TControlBox>("ICONS", TRect{108, 252, 108 + 15 * 19, 271}));
    room.AddHitBox(std::make_unique<TControlBox>("VOREL", TRect{15, 15, 15 + 376, 15 + 225}));
}

ActivityArt& SharedArt() {
    static ActivityArt art;
    return art;
}
