#include "foundation/ByteStream.h"

#include "foundation/KelException.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>

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
}

FileStream::~FileStream() {
    if (File) std::fclose(File);
}

size_t FileStream::Read(void* buffer, size_t count) {
    return File ? std::fread(buffer, 1, count, File) : 0;
}

void FileStream::Write(const void* buffer, size_t count) {
    if (count == 0) return;
    if (!File || std::fwrite(buffer, 1, count, File) != count)
        throw KelException("Write: cannot write to \"" + FilePath + "\"");
}

int64_t FileStream::Position() const {
    return File ? static_cast<int64_t>(std::ftell(File)) : 0;
}

void FileStream::Seek(int64_t position) {
    if (File) std::fseek(File, static_cast<long>(position), SEEK_SET);
}

int64_t FileStream::Size() const {
    if (!File) return 0;
    // Moving to the end would throw away what the stream has buffered, and
    // readers ask for the size before every record: a file opened for
    // reading only has the size the system gives.
    struct stat info {};
    if (!Writable && fstat(fileno(File), &info) == 0) return static_cast<int64_t>(info.st_size);
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
