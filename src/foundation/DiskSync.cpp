#include "foundation/DiskSync.h"

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>

bool SyncToDisk(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
#else
// Without POSIX the C library's flush on close is all there is.
bool SyncToDisk(const std::string&) {
    return true;
}
#endif
