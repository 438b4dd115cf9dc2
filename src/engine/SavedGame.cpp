#include "engine/SavedGame.h"

#include "engine/Room.h"
#include "foundation/ByteStream.h"
#include "foundation/DiskSync.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/ScopeGuard.h"
#include "foundation/Paths.h"

#include <array>
#include <cstring>
#include <filesystem>

namespace {
constexpr std::array<uint16_t, 4> HeaderWords{0x0050, 0x0059, 0x0058, CurrentDataFormatVersion};
// Written last, so that a reader finds the trailer from the end of the file.
constexpr char TrailerMagic[4] = {'V', 'r', 'l', 'T'};
constexpr int64_t TrailerTailSize = 8; // trailer length, magic
constexpr int64_t HeaderSize = 8;

void Fold(uint32_t& hash, const std::string& text) {
    // FNV-1a over the text and a terminating zero.
    for (unsigned char c : text)
        hash = (hash ^ c) * 16777619u;
    hash = (hash ^ 0u) * 16777619u;
}
} // namespace

std::string SaveFileName(char slot) {
    return GamePath + "PYX" + "_sg" + slot + ".dat";
}

void WriteSaveHeader(ByteStream& stream) {
    for (uint16_t word : HeaderWords)
        WriteWord(stream, word);
}

bool CheckSaveHeader(ByteStream& stream) {
    DataFormatVersion = CurrentDataFormatVersion;
    bool valid = true;
    for (size_t i = 0; i < HeaderWords.size(); ++i) {
        uint16_t word = ReadWord(stream);
        if (i == 3 && word < CurrentDataFormatVersion)
            DataFormatVersion = static_cast<uint8_t>(word);
        else if (word != HeaderWords[i])
            valid = false;
    }
    return valid;
}

bool IsSavedRoom(const TRoom& room) {
    return room.KeptInSavedGames();
}

uint32_t RoomsFingerprint(const TRoomList& rooms) {
    uint32_t hash = 2166136261u;
    for (TRoom* room : rooms) {
        if (!IsSavedRoom(*room)) continue;
        Fold(hash, room->GetID());
        Fold(hash, room->KindName());
        for (TFrameSet* frameSet : room->FrameSets)
            Fold(hash, frameSet->GetID());
        Fold(hash, "");
    }
    return hash;
}

void WriteSaveTrailer(ByteStream& stream, const TSaveTrailer& trailer) {
    bool withPicture = trailer.Thumbnail.size() == SaveThumbBytes;
    WriteCardinal(stream, trailer.Fingerprint);
    WriteBoolean(stream, withPicture);
    if (withPicture) stream.Write(trailer.Thumbnail.data(), trailer.Thumbnail.size());
    WriteCardinal(stream, static_cast<uint32_t>(5 + (withPicture ? SaveThumbBytes : 0)));
    stream.Write(TrailerMagic, sizeof TrailerMagic);
}

std::optional<std::pair<int64_t, TSaveTrailer>> FindSaveTrailer(ByteStream& stream) {
    const ScopeGuard keepPosition([&stream, at = stream.Position()] { stream.Seek(at); });
    int64_t size = stream.Size();
    if (size < HeaderSize + TrailerTailSize) return std::nullopt;
    stream.Seek(size - TrailerTailSize);
    uint32_t length = ReadCardinal(stream);
    char magic[4];
    ReadExactly(stream, magic, sizeof magic, "ReadGame");
    if (std::memcmp(magic, TrailerMagic, sizeof magic) != 0) return std::nullopt;
    bool lengthFits = length == 5 || length == 5 + SaveThumbBytes;
    if (!lengthFits || length > size - HeaderSize - TrailerTailSize)
        throw KelException("ReadGame: the saved game's trailer is damaged");
    int64_t start = size - TrailerTailSize - length;
    stream.Seek(start);
    TSaveTrailer trailer;
    trailer.Fingerprint = ReadCardinal(stream);
    bool withPicture = ReadBoolean(stream);
    if (withPicture != (length != 5)) throw KelException("ReadGame: the saved game's trailer is damaged");
    if (withPicture) {
        trailer.Thumbnail.resize(SaveThumbBytes);
        ReadExactly(stream, trailer.Thumbnail.data(), SaveThumbBytes, "ReadGame");
    }
    return std::make_pair(start, std::move(trailer));
}

void SaveFileAtomically(const std::string& path, const std::function<void(ByteStream&)>& write) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string fresh = path + ".new";
    std::error_code ignored;
    try {
        fs::create_directories(folder);
        // Saved pictures are the child's own: no other user reads them.
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ignored);
        FileStream out(fresh, FileStream::Mode::Create);
        fs::permissions(fresh, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
        write(out);
        out.Close();
        // The bytes reach the disk before the name does, so that a power cut
        // leaves either the old file or the whole new one, never an empty one.
        if (!SyncToDisk(fresh)) throw KelException("the file could not be put on the disk");
        fs::rename(fresh, target);
        SyncToDisk(folder.string());
    } catch (const std::exception& e) {
        fs::remove(fresh, ignored);
        const std::string detail = dynamic_cast<const KelException*>(&e)
                                       ? std::string(e.what())
                                       : "SaveGame: could not write \"" + path + "\": " + e.what();
        // Said for a parent first; the technical reason follows for whoever helps.
        throw KelException("The pictures could not be saved in \"" + path +
                           "\". What was saved there before is kept as it was. The disk may be full.\r\n\r\n(" +
                           detail + ")");
    }
}

std::string KeepDamagedFile(const std::string& path, std::error_code& error) {
    namespace fs = std::filesystem;
    std::string kept = path + ".damaged";
    for (int n = 2; fs::exists(kept, error); ++n)
        kept = path + ".damaged" + std::to_string(n);
    fs::rename(path, kept, error);
    return kept;
}

TSlotInfo InspectSaveFile(const std::string& path) {
    uint8_t version = DataFormatVersion;
    TSlotInfo info;
    try {
        FileStream in(path, FileStream::Mode::Read);
        if (in.Size() <= MaxSaveFileSize && CheckSaveHeader(in) && DataFormatVersion != 0) {
            auto trailer = FindSaveTrailer(in);
            info.Valid = true;
            if (trailer) info.Thumbnail = std::move(trailer->second.Thumbnail);
        }
    } catch (const std::exception&) {
        info = {}; // missing, short or damaged: the slot is free
    }
    DataFormatVersion = version;
    return info;
}
