#pragma once
// The saved-game file: header, room records, room stack, world flags, and a
// trailer that older readers never reach: a check of the rooms it was written
// for and a small picture of the game for the load-and-save room.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

class ByteStream;
class TRoomList;

// A saved game of this program holds some ten kilobytes; a file beyond this
// bound is not one, and is refused before anything of it is read.
constexpr int64_t MaxSaveFileSize = 16 << 20;

constexpr int32_t SaveThumbWidth = 102;
constexpr int32_t SaveThumbHeight = 64;
constexpr size_t SaveThumbBytes = static_cast<size_t>(SaveThumbWidth) * SaveThumbHeight;

// GamePath + "PYX_sg" + slot + ".dat".
std::string SaveFileName(char slot);

void WriteSaveHeader(ByteStream& stream);
// Reads the four header words. Sets DataFormatVersion to 2, or to the fourth
// word when that is below 2; false when any word does not match.
bool CheckSaveHeader(ByteStream& stream);

// Whether the room is written to saved games (load-and-save rooms are not).
class TRoom;
bool IsSavedRoom(const TRoom& room);

// A fingerprint of the saved rooms: their IDs, kinds and frame-set IDs in order.
uint32_t RoomsFingerprint(const TRoomList& rooms);

struct TSaveTrailer {
    uint32_t Fingerprint = 0;
    std::vector<uint8_t> Thumbnail; // empty or SaveThumbBytes indices, top line first
};

// Appends the trailer at the stream's position.
void WriteSaveTrailer(ByteStream& stream, const TSaveTrailer& trailer);
// Looks for a trailer at the end of the stream. Returns its start offset and
// contents, or nothing for a file without one; the position is restored.
// A trailer whose frame is inconsistent raises KelException.
std::optional<std::pair<int64_t, TSaveTrailer>> FindSaveTrailer(ByteStream& stream);

// Moves a saved game that cannot be read out of the way, to "<path>.damaged"
// or, when that is taken, "<path>.damaged2", "...3" and so on, so that an
// earlier kept file is never overwritten. Returns the name it now has; on
// failure error is set and the file stays where it was.
std::string KeepDamagedFile(const std::string& path, std::error_code& error);

// Writes path through a new file beside it, renamed over the old one only when
// write and the close succeed; otherwise the new file is removed, the old one
// is left as it was, and a KelException worded for a parent passes on, with
// the technical reason in brackets at its end. The new file is on the disk
// before the rename. Creates the folder when missing; the folder is private to
// the user (0700) and so is the file (0600).
void SaveFileAtomically(const std::string& path, const std::function<void(ByteStream&)>& write);

// What the load-and-save room knows of a slot file without reading it whole.
struct TSlotInfo {
    bool Valid = false;             // the header is a saved game's
    std::vector<uint8_t> Thumbnail; // empty for older files
};
TSlotInfo InspectSaveFile(const std::string& path);
