#include "activity/ActivityRoomKinds.h"

#include "activity/VorelRoom.h"
#include "engine/RoomKinds.h"

void RegisterActivityRoomKinds() {
    RegisterRoomKind("VOREL", [](const std::string& id) { return std::make_unique<TVorelRoom>(id); });
}
