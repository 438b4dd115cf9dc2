#pragma once
// What the desktop tells the windowed and the headless platform alike.

#include <cstdint>
#include <optional>
#include <string>

// The per-user data folder (GenericDataLocation), or nothing.
std::optional<std::string> DesktopDataFolder();
// The folder of the running program.
std::string ExecutableFolder();
// The folder of the data that ships with the running program (see
// ShippedDataFolder): what the platform calls the program folder.
std::string ProgramDataFolder();
// The monotonic clock in milliseconds, cut to 32 bits (it wraps).
uint32_t MonotonicMilliseconds();
