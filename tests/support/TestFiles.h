#pragma once
// Temporary folders and byte helpers for tests.

#include "foundation/ByteStream.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return Root; }
    // The folder as text with a trailing delimiter.
    std::string Folder() const { return Root.string() + "/"; }
    std::string File(const std::string& name) const { return (Root / name).string(); }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    void Write(const std::string& name, const std::string& text) const;
    std::vector<uint8_t> Read(const std::string& name) const;

private:
    std::filesystem::path Root;
};

// Parses "01 02 ff" into bytes.
std::vector<uint8_t> Hex(const std::string& text);

// A memory stream that refuses to grow past a limit, like a full disk.
class FailingStream : public MemoryStream {
public:
    explicit FailingStream(size_t limit) : Limit(limit) {}
    void Write(const void* buffer, size_t count) override;

private:
    size_t Limit;
};
