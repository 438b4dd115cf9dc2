#pragma once
// Durable writes: the one place where the core asks the operating system, not
// just the C library, to put bytes on the disk.

#include <string>

// Waits until the file's bytes (for a folder: its entries, such as a rename)
// are on the disk. False when the system refused; a missing path is false.
bool SyncToDisk(const std::string& path);
