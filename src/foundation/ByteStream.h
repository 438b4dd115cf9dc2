#pragma once
// The seekable byte stream that every reader and writer of the system works on.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Reads up to count bytes; returns how many were read (fewer at the end).
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Writes count bytes; raises FileOpenError-free KelException when the
    // medium refuses them, so a failed write is never silent.
    virtual void Write(const void* buffer, size_t count) = 0;
    virtual int64_t Position() const = 0;
    virtual void Seek(int64_t position) = 0;
    virtual int64_t Size() const = 0;

    int64_t Remaining() const { return Size() - Position(); }
};

class FileStream;

// A growable stream in memory.
class MemoryStream : public ByteStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : Bytes(std::move(bytes)) {}

    size_t Read(void* buffer, size_t count) override;
    void Write(const void* buffer, size_t count) override;
    int64_t Position() const override { return Pos; }
    void Seek(int64_t position) override;
    int64_t Size() const override { return static_cast<int64_t>(Bytes.size()); }

    const std::vector<uint8_t>& Data() const { return Bytes; }
    std::vector<uint8_t>& Data() { return Bytes; }
    void LoadFromFile(const std::string& path);
    // Takes in the whole of a file just opened.
    void LoadFrom(FileStream& file);
    void SaveToFile(const std::string& path) const;

private:
    std::vector<uint8_t> Bytes;
    int64_t Pos = 0;
};

// A stream over a file on disk.
class FileStream : public ByteStream {
public:
    enum class Mode { Read, Create, ReadWrite };
    // Raises FileOpenError naming the path when the file cannot be opened.
    FileStream(const std::string& path, Mode mode);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    void Write(const void* buffer, size_t count) override;
    int64_t Position() const override;
    void Seek(int64_t position) override;
    int64_t Size() const override;

    // Flushes and closes; raises KelException when buffered data could not be
    // written, so that a save never reports success on a full disk.
    void Close();
    const std::string& Path() const { return FilePath; }

private:
    // A file opened for reading only is read through a window of its own, so
    // that a seek is only a number: the image library moves between its
    // records hundreds of times at a start, and stdio gives every move a
    // system call and a fresh read of the block.
    size_t ReadThroughWindow(uint8_t* to, size_t count);

    std::FILE* File = nullptr;
    std::string FilePath;
    bool Writable;
    std::unique_ptr<uint8_t[]> Window;
    size_t WindowFill = 0;
    int64_t WindowStart = 0;
    int64_t Pos = 0;
    // Readers ask for the size before every record: a file opened for
    // reading only keeps the size it had when it was opened.
    int64_t OpenedSize = 0;
};

bool FileExists(const std::string& path);
