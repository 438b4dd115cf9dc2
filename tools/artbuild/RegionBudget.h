#pragma once
// How the regions of the region map are shared out between the images. Read back from the map
// file's bytes, so the printout shows exactly what the toy will load.

#include <cstdint>
#include <string>
#include <vector>

// One line per background and per object sheet, each image with its region count, then the
// total against the 606 regions the map's block holds. Raises when the bytes are no region map.
std::string RegionBudgetReport(const std::vector<std::uint8_t>& mapBytes);
