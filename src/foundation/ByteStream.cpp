#include "foundation/ByteStream.h"

#include "foundation/KelException.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

size_t MemoryStream::Read(void* buffer, size_t count) {
    if (Pos >= Size()) return 0;
    size_t n = std::min(count, static_cast<size_t>(Size() - Pos));
    std::memcpy(buffer, Bytes.data() + Pos, n);
    Pos += static_cast<int64_t>(n);
    return n;
}

void MemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) return;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    const size_t at = static_cast<size_t>(Pos);
    // Records are written a byte or a few at a time, at the end: those grow
    // the vector in place, without resizing it first.
    if (at == Bytes.size() && count <= 8) {
        for (size_t k = 0; k < count; ++k)
            Bytes.push_back(bytes[k]);
    } else {
        if (at + count > Bytes.size()) Bytes.resize(at + count);
        std::memcpy(Bytes.data() + at, bytes, count);
    }
    Pos = static_cast<int64_t>(at + count);
}

void MemoryStream::Seek(int64_t position) {
    Pos = std::max<int64_t>(0, position);
}

void MemoryStream::LoadFromFile(const std::string& path) {
    FileStream file(path, FileStream::Mode::Read);
    LoadFrom(file);
}

void MemoryStream::LoadFrom(FileStream& file) {
    Bytes.resize(static_cast<size_t>(file.Size()));
    size_t got = Bytes.empty() ? 0 : file.Read(Bytes.data(), Bytes.size());
    Bytes.resize(got);
    Pos = 0;
}

void MemoryStream::SaveToFile(const std::string& path) const {
    FileStream file(path, FileStream::Mode::Create);
    if (!Bytes.empty()) file.Write(Bytes.data(), Bytes.size());
    file.Close();
}

FileStream::FileStream(const std::string& path, Mode mode) : FilePath(path), Writable(mode != Mode::Read) {
    const char* how = mode == Mode::Read ? "rb" : mode == Mode::Create ? "wb+" : "rb+";
    File = std::fopen(path.c_str(), how);
    if (!File) {
        const char* verb = mode == Mode::Create ? "create" : "open";
        throw FileOpenError("Cannot " + std::string(verb) + " file \"" + path + "\". " +
                            std::strerror(errno));
    }
    struct stat info {};
    if (!Writable && fstat(fileno(File), &info) == 0) OpenedSize = static_cast<int64_t>(info.st_size);
}

FileStream::~FileStream() {
    if (File) std::fclose(File);
}

namespace {
constexpr size_t WindowBytes = 16 * 1024;

// Up to count bytes from offset on; fewer only at the end or on an error.
size_t ReadAt(int descriptor, uint8_t* to, size_t count, int64_t offset) {
    size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(descriptor, to + done, count - done, static_cast<off_t>(offset) + done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}
} // namespace

size_t FileStream::Read(void* buffer, size_t count) {
    if (!File) return 0;
    if (Writable) return std::fread(buffer, 1, count, File);
    return ReadThroughWindow(static_cast<uint8_t*>(buffer), count);
}

size_t FileStream::ReadThroughWindow(uint8_t* to, size_t count) {
    size_t done = 0;
    while (done < count) {
        const int64_t windowEnd = WindowStart + static_cast<int64_t>(WindowFill);
        if (Pos >= WindowStart && Pos < windowEnd) {
            const size_t n = std::min(count - done, static_cast<size_t>(windowEnd - Pos));
            std::memcpy(to + done, Window.get() + (Pos - WindowStart), n);
            done += n;
            Pos += static_cast<int64_t>(n);
        } else if (count - done >= WindowBytes) {
            // Straight into the caller's memory: a band, a whole file.
            const size_t got = ReadAt(fileno(File), to + done, count - done, Pos);
            done += got;
            Pos += static_cast<int64_t>(got);
            break;
        } else {
            if (!Window) Window = std::make_unique_for_overwrite<uint8_t[]>(WindowBytes);
            WindowStart = Pos;
            WindowFill = ReadAt(fileno(File), Window.get(), WindowBytes, Pos);
            if (WindowFill == 0) break;
        }
    }
    return done;
}

void FileStream::Write(const void* buffer, size_t count) {
    if (count == 0) return;
    if (!File || std::fwrite(buffer, 1, count, File) != count)
        throw KelException("Write: cannot write to \"" + FilePath + "\"");
}

int64_t FileStream::Position() const {
    if (!File) return 0;
    return Writable ? static_cast<int64_t>(std::ftell(File)) : Pos;
}

void FileStream::Seek(int64_t position) {
    if (!File) return;
    if (Writable)
        std::fseek(File, static_cast<long>(position), SEEK_SET);
    else
        Pos = std::max<int64_t>(0, position);
}

int64_t FileStream::Size() const {
    if (!File) return 0;
    if (!Writable) return OpenedSize;
    long here = std::ftell(File);
    std::fseek(File, 0, SEEK_END);
    long size = std::ftell(File);
    std::fseek(File, here, SEEK_SET);
    return size;
}

void FileStream::Close() {
    if (!File) return;
    bool flushed = std::fflush(File) == 0;
    bool closed = std::fclose(File) == 0;
    File = nullptr;
    if (!flushed || !closed) throw KelException("Close: cannot write \"" + FilePath + "\"");
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}
