#include "LineArt.h"

#include "ArtError.h"

#include <deque>
#include <utility>

namespace {
constexpr int Outline = -1;
constexpr int Exterior = -2;
constexpr int Unset = -3;
const int StepX[4] = {1, -1, 0, 0};
const int StepY[4] = {0, 0, 1, -1};

std::string At(const IndexedImage& image, int x, int y) {
    return "image " + image.Name + " at (" + std::to_string(x) + "," + std::to_string(y) + ")";
}
} // namespace

LineArt::LineArt(const IndexedImage& image, bool objectExterior) : Source(image) {
    Label(objectExterior);
    MeasureDepth();
}

void LineArt::Label(bool objectExterior) {
    const int w = Source.Width, h = Source.Height;
    Labels.assign(static_cast<std::size_t>(w) * h, Unset);
    std::vector<std::pair<int, int>> stack;
    int exteriorCount = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * w + x;
            if (Labels[at] != Unset) continue;
            const std::uint8_t colour = Source.At(x, y);
            if (colour == ink::Outline) {
                Labels[at] = Outline;
                continue;
            }
            const bool exterior = objectExterior && colour == ink::BlankBackground;
            const int label = exterior ? Exterior : static_cast<int>(Found.size());
            Region region;
            region.Colour = colour;
            region.FirstX = x;
            region.FirstY = y;
            Labels[at] = label;
            stack.assign(1, {x, y});
            while (!stack.empty()) {
                const auto [px, py] = stack.back();
                stack.pop_back();
                ++region.Pixels;
                if (px == 0 || py == 0 || px == w - 1 || py == h - 1) region.TouchesBorder = true;
                for (int d = 0; d < 4; ++d) {
                    const int nx = px + StepX[d], ny = py + StepY[d];
                    if (!Source.Contains(nx, ny)) continue;
                    const std::size_t n = static_cast<std::size_t>(ny) * w + nx;
                    const std::uint8_t c = Source.At(nx, ny);
                    if (Labels[n] != Unset || c == ink::Outline) continue;
                    if (c != colour)
                        throw ArtError(At(Source, nx, ny) + ": fill leaks: colours " +
                                       std::to_string(colour) + " and " + std::to_string(c) +
                                       " touch without outline between them (outlines must be 8-connected, "
                                       "index 40)");
                    Labels[n] = label;
                    stack.push_back({nx, ny});
                }
            }
            if (exterior)
                ++exteriorCount;
            else
                Found.push_back(region);
        }
    (void)exteriorCount;
}

void LineArt::MeasureDepth() {
    const int w = Source.Width, h = Source.Height;
    Depths.assign(Labels.size(), -1);
    std::deque<std::pair<int, int>> queue;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * w + x;
            if (Labels[at] < 0) continue;
            bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            for (int d = 0; d < 4 && !edge; ++d)
                edge = Labels[static_cast<std::size_t>(y + StepY[d]) * w + x + StepX[d]] != Labels[at];
            if (edge) {
                Depths[at] = 0;
                queue.push_back({x, y});
            }
        }
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        const std::size_t at = static_cast<std::size_t>(y) * w + x;
        for (int d = 0; d < 4; ++d) {
            const int nx = x + StepX[d], ny = y + StepY[d];
            if (!Source.Contains(nx, ny)) continue;
            const std::size_t n = static_cast<std::size_t>(ny) * w + nx;
            if (Labels[n] != Labels[at] || Depths[n] >= 0) continue;
            Depths[n] = Depths[at] + 1;
            queue.push_back({nx, ny});
        }
    }
}

int LineArt::RegionAt(int x, int y) const {
    if (!Source.Contains(x, y)) return -1;
    const int label = Labels[static_cast<std::size_t>(y) * Source.Width + x];
    return label >= 0 ? label : -1;
}

int LineArt::Depth(int x, int y) const {
    return Depths[static_cast<std::size_t>(y) * Source.Width + x];
}

void LineArt::CheckRegions(int minPixels, bool mustBeClosed) const {
    for (const Region& r : Found) {
        if (r.Pixels < minPixels)
            throw ArtError(At(Source, r.FirstX, r.FirstY) + ": region of " + std::to_string(r.Pixels) +
                           " pixels is a speck (at least " + std::to_string(minPixels) + " needed)");
        if (mustBeClosed && r.TouchesBorder)
            throw ArtError(At(Source, r.FirstX, r.FirstY) +
                           ": region reaches the edge of the object (its outline is not closed)");
    }
}

void LineArt::PlaceSeeds(const std::function<bool(int, int, int)>& allowed) {
    for (Region& r : Found)
        r.SeedX = r.SeedY = -1;
    std::vector<int> best(Found.size(), -1);
    for (int y = 0; y < Source.Height; ++y)
        for (int x = 0; x < Source.Width; ++x) {
            const int r = RegionAt(x, y);
            if (r < 0 || Depth(x, y) <= best[static_cast<std::size_t>(r)] || !allowed(x, y, r)) continue;
            best[static_cast<std::size_t>(r)] = Depth(x, y);
            Found[static_cast<std::size_t>(r)].SeedX = x;
            Found[static_cast<std::size_t>(r)].SeedY = y;
        }
    for (const Region& r : Found)
        if (r.SeedX < 0)
            throw ArtError(At(Source, r.FirstX, r.FirstY) + ": no pixel of the region can hold its seed");
}
