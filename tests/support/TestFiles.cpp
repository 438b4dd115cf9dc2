#include "support/TestFiles.h"

#include "foundation/KelException.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device random;
    Root =
        std::filesystem::temp_directory_path() / ("vorel-test-" + std::to_string(::getpid()) + "-" +
                                                  std::to_string(counter++) + "-" + std::to_string(random()));
    std::filesystem::create_directories(Root);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
}

void TempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::filesystem::create_directories((Root / name).parent_path());
    std::ofstream out(Root / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void TempDir::Write(const std::string& name, const std::string& text) const {
    Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> TempDir::Read(const std::string& name) const {
    std::ifstream in(Root / name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> Hex(const std::string& text) {
    std::istringstream in(text);
    std::vector<uint8_t> bytes;
    std::string word;
    while (in >> word)
        bytes.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
    return bytes;
}

void FailingStream::Write(const void* buffer, size_t count) {
    if (static_cast<size_t>(Position()) + count > Limit) throw KelException("Write: disk full");
    MemoryStream::Write(buffer, count);
}
