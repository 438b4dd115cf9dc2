#include "engine/ObfText.h"

#include "foundation/Text.h"

#include "foundation/KelException.h"

#include <exception>
#include <filesystem>

namespace {
constexpr size_t MaxBlockLength = 65280;

void RefuseOversized(const std::string& fileName) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(fileName, error);
    if (!error && size > ObfMaxFileSize)
        throw KelException("The script \"" + fileName + "\" holds " + std::to_string(size) +
                           " bytes, more than the " + std::to_string(ObfMaxFileSize) + " a script may hold");
}

// Block k of bytes ^= block from, for blocks of length len.
void XorBlock(std::vector<uint8_t>& bytes, size_t k, size_t from, size_t len) {
    uint8_t* target = bytes.data() + k * len;
    const uint8_t* source = bytes.data() + from * len;
    for (size_t i = 0; i < len; ++i)
        target[i] ^= source[i];
}

void AppendRecords(const std::string& line, std::vector<uint8_t>& out) {
    for (const std::string& record : ObfSplitLine(line)) {
        out.push_back(static_cast<uint8_t>(record.size()));
        out.insert(out.end(), record.begin(), record.end());
    }
}

// The padded size is the smallest size above the lines' total that is a
// whole multiple of its own block count. Up to 261,120 bytes that is 1 to 4
// zero bytes up to the next multiple of 4. Counting the blocks of the padded
// size, not of the total, keeps a container whose padding crosses into the
// next block count readable: scrambling and reading see the same count.
void AppendPadding(std::vector<uint8_t>& out) {
    size_t padded = out.size() + 1;
    while (padded % ObfBlockCount(padded) != 0)
        ++padded;
    out.resize(padded, 0);
}
} // namespace

std::vector<std::string> ObfSplitLine(std::string line) {
    std::vector<std::string> records;
    const size_t splitAt = ObfMaxRecord + 1; // 1-based position of the split space
    while (line.size() > ObfMaxRecord) {
        size_t space = line.rfind(' ', splitAt - 1);
        if (space == std::string::npos) {
            line.insert(splitAt - 1, 1, ' ');
            space = splitAt - 1;
        }
        records.push_back(line.substr(0, space));
        line.erase(0, space);
        line[0] = '+';
    }
    records.push_back(std::move(line));
    return records;
}

size_t ObfBlockCount(size_t size) {
    size_t blocks = 4;
    while (size / blocks > MaxBlockLength)
        ++blocks;
    return blocks;
}

void ObfScramble(std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return;
    const size_t blocks = ObfBlockCount(bytes.size());
    const size_t len = bytes.size() / blocks;
    // Each block takes its successor while the successor is still plain; the
    // last block then takes the already scrambled first one.
    for (size_t k = 0; k + 1 < blocks; ++k)
        XorBlock(bytes, k, k + 1, len);
    XorBlock(bytes, blocks - 1, 0, len);
}

bool ObfUnscramble(std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return false;
    const size_t blocks = ObfBlockCount(bytes.size());
    if (bytes.size() % blocks != 0) return false;
    const size_t len = bytes.size() / blocks;
    XorBlock(bytes, blocks - 1, 0, len);
    for (size_t k = blocks - 1; k-- > 0;)
        XorBlock(bytes, k, k + 1, len);
    return true;
}

TObfText::TObfText(const std::string& fileName) {
    RefuseOversized(fileName);
    if (FileExists(fileName)) Text.LoadFromFile(fileName);
    Unscramble();
}

TObfText::TObfText(std::vector<uint8_t> scrambled) : Text(std::move(scrambled)) {
    Unscramble();
}

void TObfText::Unscramble() {
    Unscrambled = ObfUnscramble(Text.Data());
    Text.Seek(0);
}

void TObfText::ReadLine(std::string& line) {
    line.clear();
    if (Stopped) return;
    uint8_t length = 0;
    if (Text.Read(&length, 1) < 1) return;
    if (length == ObfStopMark) {
        // The mark stays where it is and ends the text, so a reading loop
        // that waits for AtEnd always finishes.
        Text.Seek(Text.Position() - 1);
        Stopped = true;
        return;
    }
    std::string bytes(length, '\0');
    bytes.resize(Text.Read(bytes.data(), length));
    line = Latin1ToUtf8(bytes);
}

std::string TObfText::ReadLine() {
    std::string line;
    ReadLine(line);
    return line;
}

bool TObfText::AtEnd() const {
    return Stopped || Text.Position() >= Text.Size();
}

std::vector<uint8_t> TObfText::MakePlain(ByteStream& source, const LineFilter& filter) {
    std::vector<uint8_t> out;
    for (;;) {
        std::string line;
        try {
            ::ReadLine(source, true, line);
        } catch (const std::exception&) {
            // The end of the source (SilentAbort) or a failing source ends the
            // text; what was read so far is still written.
            break;
        }
        if (filter) {
            if (!filter(line)) continue;
        } else {
            line = Trim(line);
            if (line.empty()) continue;
        }
        AppendRecords(Utf8ToLatin1(line), out);
    }
    AppendPadding(out);
    return out;
}

void TObfText::MakeFile(const std::string& sourceName, const std::string& destName,
                        const LineFilter& filter) {
    RefuseOversized(sourceName);
    FileStream source(sourceName, FileStream::Mode::Read);
    // Creating the destination before reading, so that a destination that
    // cannot be made fails before any work and leaves nothing half written.
    FileStream dest(destName, FileStream::Mode::Create);
    std::vector<uint8_t> bytes = MakePlain(source, filter);
    ObfScramble(bytes);
    dest.Write(bytes.data(), bytes.size());
    dest.Close();
}
