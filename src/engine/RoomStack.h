#pragma once
// The history of rooms left, newest last, at most 10 entries.

#include "foundation/KelList.h"

#include <cstdint>

class TRoom;

class TRoomStackNode : public TKelNode {
public:
    static constexpr uint8_t ClassIdValue = 13;
    explicit TRoomStackNode(TRoom* room = nullptr);

    // The room's ID as a string record; reading looks it up with the world's
    // FindRoom, so an ID without a room gives an entry without a room.
    void LoadFromStream(ByteStream& stream) override;
    void SaveToStream(ByteStream& stream) const override;

    TRoom* Room; // not owned
};

class TRoomStack : public TKelListOf<TRoomStackNode> {
public:
    static constexpr int32_t Limit = 10;

    // Appends; drops the oldest entry beyond Limit.
    void Push(TRoom* room);
    // Removes the newest entry and returns its room; nullptr when empty (or
    // when the entry had no room).
    TRoom* Pop();

    // Entries without a room are not written (their ID is unknown).
    void SaveToStream(ByteStream& stream) override;
    // A record of any class but 13 is refused as corrupt.
    void LoadFromStream(ByteStream& stream) override;
};
