#include "activity/LibraryCheckNote.h"

#include "foundation/ByteStream.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

#include <sys/stat.h>

namespace {
uint64_t HashBytes(const std::vector<uint8_t>& bytes, size_t count) {
    std::string_view view(reinterpret_cast<const char*>(bytes.data()), count);
    return std::hash<std::string_view>{}(view);
}
} // namespace

LibraryCheckNote::LibraryCheckNote(const std::string& libraryPath, const std::string& noteFolder)
    : Path(NotePath(noteFolder)), Expected(Fingerprint(libraryPath)) {}

std::string LibraryCheckNote::NotePath(const std::string& noteFolder) {
    return noteFolder + "vorel.zq5.checked";
}

std::string LibraryCheckNote::Fingerprint(const std::string& libraryPath) {
    // The program that walks: another build or version of it walks again,
    // even over the same library, in case its walk refuses more.
    struct stat program {};
    if (::stat("/proc/self/exe", &program) != 0) return "";
    try {
        FileStream file(libraryPath, FileStream::Mode::Read);
        std::vector<uint8_t> chunk(64 * 1024);
        uint64_t fingerprint = 0;
        int64_t total = 0;
        size_t got = 0;
        while ((got = file.Read(chunk.data(), chunk.size())) > 0) {
            fingerprint = (fingerprint ^ HashBytes(chunk, got)) * 0x100000001B3ULL;
            total += static_cast<int64_t>(got);
        }
        char text[160];
        std::snprintf(text, sizeof text, "program %lld bytes at %lld.%09ld, library %lld bytes, %016llx",
                      static_cast<long long>(program.st_size), static_cast<long long>(program.st_mtim.tv_sec),
                      static_cast<long>(program.st_mtim.tv_nsec), static_cast<long long>(total),
                      static_cast<unsigned long long>(fingerprint));
        return text;
    } catch (const std::exception&) {
        return "";
    }
}

bool LibraryCheckNote::PassedBefore() const {
    if (Expected.empty()) return false;
    try {
        MemoryStream note;
        note.LoadFromFile(Path);
        const std::vector<uint8_t>& bytes = note.Data();
        std::string text(bytes.begin(), bytes.end());
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return text == Expected;
    } catch (const std::exception&) {
        return false;
    }
}

void LibraryCheckNote::RecordPass() const {
    if (Expected.empty()) return;
    // Written aside and then renamed, so that a reader never meets half a note.
    const std::string fresh = Path + ".new";
    try {
        const std::string text = Expected + '\n';
        MemoryStream(std::vector<uint8_t>(text.begin(), text.end())).SaveToFile(fresh);
    } catch (const std::exception&) {
        std::remove(fresh.c_str());
        return;
    }
    if (std::rename(fresh.c_str(), Path.c_str()) != 0) std::remove(fresh.c_str());
}
