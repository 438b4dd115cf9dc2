#pragma once
// The scrambled script container: a sequence of line records (one length
// byte, then that many ISO 8859-1 bytes), padded with zero bytes to a whole
// number of blocks, and scrambled by a chained XOR of its blocks.

#include "foundation/ByteStream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The block count for a file of size bytes: 4, or more so that no block is
// longer than 65,280 bytes.
size_t ObfBlockCount(size_t size);

// Chains every block with its successor and the last one with the new first
// one. Bytes beyond the last whole block are left alone.
void ObfScramble(std::vector<uint8_t>& bytes);
// The inverse of ObfScramble. Returns false, leaving the bytes untouched,
// when the size is not a whole multiple of its block count (such a file was
// not made by MakeFile).
bool ObfUnscramble(std::vector<uint8_t>& bytes);

// A length byte that is never a line: the reader ends the text there.
constexpr uint8_t ObfStopMark = 255;
// The longest line record; longer lines are split into continuation records
// that begin with "+".
constexpr size_t ObfMaxRecord = 254;

// The largest script file, in either form, that is read at all. The shipped
// script holds a few kilobytes; a file beyond this is damaged, and refusing it
// keeps a runaway file from being read whole into memory.
constexpr uint64_t ObfMaxFileSize = 1u << 20;

// The records of one line (ISO 8859-1 bytes) as the converter writes them:
// lines longer than ObfMaxRecord are split at the last space that leaves a
// record short enough, or at a space inserted after ObfMaxRecord bytes, and
// each continuation begins with "+" where that space stood.
std::vector<std::string> ObfSplitLine(std::string line);

class TObfText {
public:
    // Receives a line, may rewrite it, and answers whether to keep it.
    using LineFilter = std::function<bool(std::string&)>;

    // Loads the whole file and unscrambles it; a missing file is an empty text.
    // A file larger than ObfMaxFileSize raises a KelException.
    explicit TObfText(const std::string& fileName);
    // Reads the container from bytes already in memory (still scrambled).
    explicit TObfText(std::vector<uint8_t> scrambled);

    // The next line record as UTF-8; the empty line at the end of the text,
    // at a stop mark, and for the zero records of the padding.
    void ReadLine(std::string& line);
    std::string ReadLine();
    // True once every record has been read or a stop mark was met.
    bool AtEnd() const;
    // False for an empty text and for bytes whose size MakeFile never writes
    // (a file cut short, say), which are read as they stand.
    bool Intact() const { return Unscrambled; }

    // Converts the text file source into the container dest (created or
    // overwritten). Without a filter lines are trimmed and empty ones dropped;
    // with one, the filter alone decides. Raises FileOpenError when either
    // file cannot be opened, and a KelException when the source is larger
    // than ObfMaxFileSize, before anything is written.
    static void MakeFile(const std::string& sourceName, const std::string& destName,
                         const LineFilter& filter = {});
    // The plain (unscrambled, padded) container for the text lines of source,
    // read up to its end; a read failure ends the text as the end would.
    static std::vector<uint8_t> MakePlain(ByteStream& source, const LineFilter& filter = {});

private:
    void Unscramble();

    MemoryStream Text;
    bool Stopped = false;
    bool Unscrambled = false;
};
