#include "RegionBudget.h"

#include "ArtError.h"
#include "ArtRules.h"
#include "ObjectTable.h"
#include "activity/RegionMap.h"

#include <exception>
#include <memory>
#include <sstream>

namespace {
int CountOf(const TRegionMap& map, int mapIndex) {
    return static_cast<int>(map.GetEntry(static_cast<std::uint8_t>(mapIndex))->Regions.size());
}
} // namespace

std::string RegionBudgetReport(const std::vector<std::uint8_t>& mapBytes) {
    std::unique_ptr<TRegionMap> map;
    try {
        map = TRegionMap::Parse(mapBytes, "region map");
    } catch (const std::exception& error) {
        throw ArtError(std::string("region budget: ") + error.what());
    }
    std::ostringstream out;
    int total = 0;
    int subtotal = 0;
    out << "regions per image\n  backgrounds:";
    for (int i = 0; i < objects::BackgroundCount; ++i) {
        const int n = CountOf(*map, i);
        out << " " << objects::BackgroundName(i, false) << " " << n;
        subtotal += n;
    }
    out << " (" << subtotal << ")\n";
    total += subtotal;
    for (int bank = 0; bank < 4; ++bank) {
        subtotal = 0;
        out << "  " << objects::FullSheet(bank) << ":";
        for (const ObjectPlace& p : objects::Table())
            if (objects::BankOf(p.MapIndex) == bank) {
                const int n = CountOf(*map, p.MapIndex);
                out << " " << p.MapIndex << ":" << n;
                subtotal += n;
            }
        out << " (" << subtotal << ")\n";
        total += subtotal;
    }
    out << "  total " << total << " of " << rules::MaxRegions << ", " << rules::MaxRegions - total
        << " to spare\n";
    return out.str();
}
