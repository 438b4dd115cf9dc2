// Times the surface flood fill against strong baselines measured in the same
// run, round by round: a classic scanline fill with a stack of seeds (written
// here, keeping its stack between calls as the fill does) and, when it was
// found at build time, OpenCV's floodFill (4-connected). Cases: the whole
// area and a one-pixel spiral corridor at 376 x 225 and 512 x 320, and every
// region of a shipped picture filled in turn, as a child colouring it would.
// Prints, per case, the fill's time and the baselines' time as multiples of
// it: the median over the rounds and the lowest..highest round.
//
// Usage: floodfill_bench [BIN_DIR]   (the built library and region map;
// default: the build tree's)

#include "BenchTiming.h"
#include "activity/ObjectTable.h"
#include "activity/RegionMap.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#ifdef VOREL_HAVE_OPENCV
#include <opencv2/imgproc.hpp>
#endif

namespace {

struct Picture {
    int32_t W;
    int32_t H;
    std::vector<uint8_t> Pixels; // top line first
};

// The classic scanline fill: pop a seed, widen it to its run, paint the run,
// and push the first pixel of every run of old pixels above and below.
class SpanFill {
public:
    void Run(Picture& p, TPoint seed, uint8_t colour) {
        const uint8_t old = p.Pixels[static_cast<size_t>(seed.Y) * p.W + seed.X];
        if (old == colour) return;
        Stack.clear();
        Stack.push_back(seed);
        while (!Stack.empty()) {
            const TPoint s = Stack.back();
            Stack.pop_back();
            uint8_t* line = p.Pixels.data() + static_cast<size_t>(s.Y) * p.W;
            if (line[s.X] != old) continue;
            int32_t left = s.X, right = s.X;
            while (left > 0 && line[left - 1] == old)
                --left;
            while (right + 1 < p.W && line[right + 1] == old)
                ++right;
            std::memset(line + left, colour, static_cast<size_t>(right - left + 1));
            for (int32_t y : {s.Y - 1, s.Y + 1}) {
                if (y < 0 || y >= p.H) continue;
                const uint8_t* next = p.Pixels.data() + static_cast<size_t>(y) * p.W;
                for (int32_t x = left; x <= right; ++x)
                    if (next[x] == old && (x == left || next[x - 1] != old)) Stack.push_back({x, y});
            }
        }
    }

private:
    std::vector<TPoint> Stack;
};

// Walls (1) everywhere but a one-pixel corridor (0) that winds inwards from
// the top-left corner, with one-pixel walls between its turns.
Picture Spiral(int32_t w, int32_t h) {
    Picture p{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, 1)};
    auto inside = [&](int32_t x, int32_t y) { return x >= 0 && x < w && y >= 0 && y < h; };
    auto carved = [&](int32_t x, int32_t y) { return p.Pixels[static_cast<size_t>(y) * w + x] == 0; };
    const int32_t dx[4] = {1, 0, -1, 0}, dy[4] = {0, 1, 0, -1};
    int32_t x = 0, y = 0, dir = 0;
    p.Pixels[0] = 0;
    for (int turns = 0; turns < 2;) {
        const int32_t nx = x + dx[dir], ny = y + dy[dir];
        const int32_t ax = nx + dx[dir], ay = ny + dy[dir];
        if (inside(nx, ny) && !carved(nx, ny) && (!inside(ax, ay) || !carved(ax, ay))) {
            x = nx, y = ny;
            p.Pixels[static_cast<size_t>(y) * w + x] = 0;
            turns = 0;
        } else {
            dir = (dir + 1) % 4;
            ++turns;
        }
    }
    return p;
}

// A surface of the engine holding the picture's pixels.
class Surface {
public:
    explicit Surface(const Picture& p) {
        Image.Init("bench", nullptr, static_cast<uint16_t>(p.W), static_cast<uint16_t>(p.H));
        Data = Image.CreateSurface(nullptr);
        for (int32_t y = 0; y < p.H; ++y) {
            std::memcpy(Data->StartLine(0, y), p.Pixels.data() + static_cast<size_t>(y) * p.W,
                        static_cast<size_t>(p.W));
            Data->UnlockSegment(0, y);
        }
    }
    ~Surface() { Image.ReleaseSurface(std::move(Data)); }
    void Fill(TPoint seed, uint8_t colour) {
        Data->FloodFill(seed, colour);
        Data->ClearDamage();
    }

private:
    TZQ5Image Image;
    std::unique_ptr<TZQ5ImageData> Data;
};

// Fills every seed in turn; the colours alternate by call, so that every call
// changes every region.
struct Case {
    std::string Name;
    Picture Pixels;
    std::vector<TPoint> Seeds;
};

void Report(const char* label, const std::vector<double>& nanos) {
    const Spread s = SpreadOf(nanos);
    std::printf("  %-10s %9.1f us (%.1f..%.1f)", label, s.Median / 1000, s.Low / 1000, s.High / 1000);
}

void ReportRatio(const char* label, const std::vector<double>& fill, const std::vector<double>& other) {
    const Spread r = SpreadOf(RoundRatios(fill, other));
    std::printf("   %s/fill %5.2fx (%.2f..%.2f)", label, r.Median, r.Low, r.High);
}

void Measure(const Case& c) {
    Surface surface(c.Pixels);
    Picture spanPicture = c.Pixels;
    SpanFill span;
    auto colour = [](int call) { return static_cast<uint8_t>(call % 2 ? 2 : 3); };
    std::vector<std::function<void(int)>> actions{
        [&](int call) {
            for (TPoint seed : c.Seeds)
                surface.Fill(seed, colour(call));
        },
        [&](int call) {
            for (TPoint seed : c.Seeds)
                span.Run(spanPicture, seed, colour(call));
        },
    };
#ifdef VOREL_HAVE_OPENCV
    Picture cvPicture = c.Pixels;
    cv::Mat mat(cvPicture.H, cvPicture.W, CV_8UC1, cvPicture.Pixels.data());
    actions.push_back([&](int call) {
        for (TPoint seed : c.Seeds)
            cv::floodFill(mat, cv::Point(seed.X, seed.Y), cv::Scalar(colour(call)), nullptr, cv::Scalar(),
                          cv::Scalar(), 4);
    });
#endif
    const std::vector<std::vector<double>> nanos = RoundNanos(actions);
    std::printf("%s\n", c.Name.c_str());
    Report("fill", nanos[0]);
    ReportRatio("span", nanos[0], nanos[1]);
#ifdef VOREL_HAVE_OPENCV
    ReportRatio("OpenCV", nanos[0], nanos[2]);
#endif
    std::printf("\n");
}

// Every region of the first background of the shipped pictures, or nothing
// when the data has not been built.
std::optional<Case> ShippedRegions(const std::string& binDir) {
    const std::string library = binDir + "/vorel.zq5", map = binDir + "/dat/vorelmap.dat";
    if (!std::filesystem::exists(library) || !std::filesystem::exists(map)) return std::nullopt;
    try {
        TZQ5Library lib;
        lib.Load(library, true);
        std::unique_ptr<TRegionEntry> entry = TRegionMap::Load(map)->GetEntry(0);
        const std::string name = BackgroundImageName(0, true);
        TImageNode* node = lib.GetImage(name);
        TZQ5ImageData* data = lib.GetImageData(node);
        Case c{"every region of \"" + name + "\" in turn (" + std::to_string(entry->Regions.size()) +
                   " regions, " + std::to_string(data->Width) + " x " + std::to_string(data->Height) + ")",
               {data->Width, data->Height, {}},
               {}};
        for (int32_t y = 0; y < data->Height; ++y)
            for (int32_t x = 0; x < data->Width; ++x)
                c.Pixels.Pixels.push_back(data->GetPixel({x, y}));
        for (const TRegion& region : entry->Regions)
            c.Seeds.push_back(region.Seed);
        lib.ReleaseImageData(node);
        lib.ReleaseImage(node);
        return c;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "the shipped picture could not be read: %s\n", e.what());
        return std::nullopt;
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string binDir = argc > 1 ? argv[1] : VOREL_BIN_DIR;
    std::printf("Flood fill: processor time per call, median (lowest..highest) of 11 rounds; the\n"
                "baselines as multiples of the fill, round by round (above 1: the fill is faster)\n");
#ifndef VOREL_HAVE_OPENCV
    std::printf("(OpenCV was not found at build time: no OpenCV column)\n");
#endif
    for (auto [w, h] : {std::pair{376, 225}, std::pair{512, 320}}) {
        const std::string size = std::to_string(w) + " x " + std::to_string(h);
        Measure({"whole area, " + size, {w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, 0)}, {{0, 0}}});
        Measure({"one-pixel spiral, " + size, Spiral(w, h), {{0, 0}}});
    }
    if (std::optional<Case> shipped = ShippedRegions(binDir))
        Measure(*shipped);
    else
        std::printf("(no shipped picture in %s: build the data files for the last case)\n", binDir.c_str());
    return 0;
}
