#include "engine/RoomKinds.h"

#include "engine/DiskOpsRoom.h"
#include "engine/Room.h"
#include "engine/TitleRoom.h"

#include <map>

namespace {
std::map<std::string, RoomFactory>& Kinds() {
    static std::map<std::string, RoomFactory> kinds = {
        {"", [](const std::string& id) { return std::make_unique<TRoom>(id); }},
        {"DISKOPS", [](const std::string& id) { return std::make_unique<TDiskOpsRoom>(id); }},
        {"TITLE", [](const std::string& id) { return std::make_unique<TTitleRoom>(id); }},
    };
    return kinds;
}
} // namespace

void RegisterRoomKind(const std::string& kind, RoomFactory factory) {
    Kinds()[kind] = std::move(factory);
}

std::unique_ptr<TRoom> CreateRoomOfKind(const std::string& kind, const std::string& id) {
    auto found = Kinds().find(kind);
    if (found == Kinds().end() || !found->second) return nullptr;
    return found->second(id);
}
