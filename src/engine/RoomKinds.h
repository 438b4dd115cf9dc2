#pragma once
// The room kinds that the start-up script can declare ("<kind>ROOM <ID>"),
// by kind name. "" (a plain room), "DISKOPS" and "TITLE" are known from the
// start; other subsystems add their own kinds before the script is read.

#include <functional>
#include <memory>
#include <string>

class TRoom;

using RoomFactory = std::function<std::unique_ptr<TRoom>(const std::string& id)>;

// Adds a kind, or replaces the factory of a kind already known.
void RegisterRoomKind(const std::string& kind, RoomFactory factory);
// A new room of that kind with that ID; nullptr when the kind is unknown.
// Errors of the room's constructor pass on.
std::unique_ptr<TRoom> CreateRoomOfKind(const std::string& kind, const std::string& id);
