#include "engine/RoomStack.h"

#include "engine/EngineHub.h"
#include "engine/Room.h"
#include "engine/TypedNodeReader.h"
#include "foundation/LoadSave.h"

TRoomStackNode::TRoomStackNode(TRoom* room) : Room(room) {
    ClassId = ClassIdValue;
}

void TRoomStackNode::LoadFromStream(ByteStream& stream) {
    std::string id = ReadVersionedString(stream);
    Room = Engine() ? Engine()->FindRoom(id) : nullptr;
}

void TRoomStackNode::SaveToStream(ByteStream& stream) const {
    TKelNode::SaveToStream(stream);
    WriteString(stream, Room ? Room->GetID() : std::string());
}

void TRoomStack::Push(TRoom* room) {
    AddTail(std::make_unique<TRoomStackNode>(room));
    while (Count() > Limit)
        RemoveHead();
}

TRoom* TRoomStack::Pop() {
    std::unique_ptr<TRoomStackNode> node = RemoveTail();
    return node ? node->Room : nullptr;
}

void TRoomStack::SaveToStream(ByteStream& stream) {
    uint16_t count = 0;
    for (TRoomStackNode* node : *this)
        if (node->Room) ++count;
    WriteWord(stream, count);
    for (TRoomStackNode* node : *this)
        if (node->Room) node->SaveToStream(stream);
}

void TRoomStack::LoadFromStream(ByteStream& stream) {
    LoadTypedList<TRoomStackNode>(*this, stream, "ReadGame: record of class %d is not a room-stack entry");
}
