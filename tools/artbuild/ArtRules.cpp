#include "ArtRules.h"

#include "ArtError.h"

#include <map>
#include <string>

namespace rules {
namespace {
std::string Size(int w, int h) {
    return std::to_string(w) + "x" + std::to_string(h);
}
std::string Point(int x, int y) {
    return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
}
} // namespace

void CheckSize(const IndexedImage& image, int width, int height) {
    if (image.Width != width || image.Height != height)
        throw ArtError("image " + image.Name + ": size " + Size(image.Width, image.Height) + ", must be " +
                       Size(width, height));
}

void CheckFrames(const IndexedImage& image, int frames) {
    if (frames <= 0 || image.Height % frames != 0)
        throw ArtError("image " + image.Name + ": height " + std::to_string(image.Height) +
                       " does not split into " + std::to_string(frames) + " frames");
}

void CheckOpaque(const IndexedImage& image) {
    if (image.Transparent >= 0) throw ArtError("image " + image.Name + ": must not be marked transparent");
}

void CheckBackground(const IndexedImage& image) {
    CheckSize(image, objects::PictureWidth, objects::PictureHeight);
    CheckOpaque(image);
}

void CheckNoChartValues(const LineArt& art, const IndexedImage& image) {
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            if (image.At(x, y) <= ink::HighestChartValue && art.RegionAt(x, y) < 0)
                throw ArtError("image " + image.Name + " at " + Point(x, y) + ": index " +
                               std::to_string(image.At(x, y)) +
                               " outside every region (0..15 would name an item on the chart)");
}

void CheckSeeds(const LineArt& art, const IndexedImage& shipped, std::uint8_t recorded) {
    int i = 0;
    for (const Region& r : art.Regions()) {
        if (art.RegionAt(r.SeedX, r.SeedY) != i || !shipped.Contains(r.SeedX, r.SeedY) ||
            shipped.At(r.SeedX, r.SeedY) != recorded)
            throw ArtError("image " + shipped.Name + ": seed " + Point(r.SeedX, r.SeedY) + " of region " +
                           std::to_string(i) + " is not inside it");
        ++i;
    }
}

void CheckObjectSheet(const IndexedImage& sheet, int bank, bool half) {
    CheckOpaque(sheet);
    std::vector<bool> inside(sheet.Pixels.size(), false);
    for (const ObjectPlace& p : objects::Table()) {
        if (objects::BankOf(p.MapIndex) != bank) continue;
        const int l = half ? p.Left / 2 : p.Left, t = half ? p.Top / 2 : p.Top;
        const int r = half ? p.Right / 2 : p.Right, b = half ? p.Bottom / 2 : p.Bottom;
        if (r > sheet.Width || b > sheet.Height)
            throw ArtError("image " + sheet.Name + ": object " + std::to_string(p.MapIndex) +
                           " lies outside the sheet");
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                inside[static_cast<std::size_t>(y) * sheet.Width + x] = true;
    }
    for (int y = 0; y < sheet.Height; ++y)
        for (int x = 0; x < sheet.Width; ++x)
            if (!inside[static_cast<std::size_t>(y) * sheet.Width + x] &&
                sheet.At(x, y) != ink::BlankBackground)
                throw ArtError("image " + sheet.Name + " at " + Point(x, y) +
                               ": outside the objects the sheet must be 217");
}

void CheckThumbnailFrame(const IndexedImage& image) {
    CheckSize(image, 129, 79);
    if (image.Transparent < 0)
        throw ArtError("image " + image.Name + ": thumbnail frame must be transparent");
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const bool window = x >= 2 && y >= 2 && x < 127 && y < 77;
            if (window != (image.At(x, y) == image.Transparent))
                throw ArtError("image " + image.Name + " at " + Point(x, y) + ": must be " +
                               (window ? "transparent (the miniature shows there)" : "opaque (frame)"));
        }
}

std::vector<int> MatchHalfRegions(const LineArt& full, const LineArt& half) {
    const std::size_t n = full.Regions().size();
    std::vector<std::map<int, int>> votes(n);
    for (int y = 0; y < full.Image().Height; ++y)
        for (int x = 0; x < full.Image().Width; ++x) {
            const int r = full.RegionAt(x, y);
            if (r >= 0) ++votes[static_cast<std::size_t>(r)][half.RegionAt(x / 2, y / 2)];
        }
    std::vector<int> match(n, -1);
    std::map<int, int> owner;
    for (std::size_t r = 0; r < n; ++r) {
        int bestCount = 0;
        for (const auto& [h, count] : votes[r])
            if (h >= 0 && count > bestCount) {
                bestCount = count;
                match[r] = h;
            }
        const Region& region = full.Regions()[r];
        const std::string where =
            "image " + half.Image().Name + ": region at " + Point(region.FirstX, region.FirstY);
        if (match[r] < 0) throw ArtError(where + " of the full-size object vanishes at half size");
        if (half.Regions()[static_cast<std::size_t>(match[r])].Colour != region.Colour)
            throw ArtError(where + " changes colour at half size");
        const auto [it, fresh] = owner.emplace(match[r], static_cast<int>(r));
        if (!fresh) {
            const Region& other = full.Regions()[static_cast<std::size_t>(it->second)];
            throw ArtError(where + " and region at " + Point(other.FirstX, other.FirstY) +
                           " merge into one half-size region");
        }
    }
    for (std::size_t h = 0; h < half.Regions().size(); ++h)
        if (!owner.count(static_cast<int>(h))) {
            const Region& r = half.Regions()[h];
            throw ArtError("image " + half.Image().Name + ": half-size region at " +
                           Point(r.FirstX, r.FirstY) + " matches no full-size region");
        }
    return match;
}

void CheckHalfSeeds(const LineArt& full, const LineArt& half, const std::vector<int>& match) {
    for (std::size_t r = 0; r < full.Regions().size(); ++r) {
        const Region& region = full.Regions()[r];
        if (half.RegionAt(region.SeedX / 2, region.SeedY / 2) != match[r])
            throw ArtError("image " + half.Image().Name + ": seed " + Point(region.SeedX, region.SeedY) +
                           " halved lies outside its half-size region");
    }
}
} // namespace rules
