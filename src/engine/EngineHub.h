#pragma once
// What the engine's parts (rooms, hit boxes, timer scripts, the room stack)
// need of the world, so that they depend on this much and not on the world's
// whole header. The world is the one implementation; while it lives, Engine()
// gives it, as the program-wide `World` does.

#include <cstdint>
#include <string>

class MainWindowServices;
class Platform;
class TRoom;
class TZQ5ImageData;
class TZQ5Library;

// World flags.
enum : uint16_t {
    wfQuit = 0x0004,          // the main window closes after the tick that sees it
    wfBusy = 0x0008,          // hourglass; presses and moves are ignored
    wfCursorRefresh = 0x0010, // the next tick re-sets the pointer
    wfLeavingMarked = 0x0020, // during a change away from an rfMarked room
    wfIdle = 0x0040,          // set by the shell's idle handler, cleared by the tick
    wfShift = 0x0080,
    wfCtrl = 0x0100,
};

class TEngineHub {
public:
    // Leaves the current room for the named one; errors are reported as the
    // world's handlers report them (see World.h).
    virtual void GoRoom(const std::string& name) = 0;
    // Back to the newest room on the room stack, if any.
    virtual void GoBack() = 0;
    virtual TRoom* FindRoom(const std::string& name) const = 0;
    virtual TRoom* CurrentRoom() const = 0;

    virtual Platform& GetPlatform() const = 0;
    virtual MainWindowServices& MainWindow() const = 0;
    // nullptr once the library has been destroyed.
    virtual TZQ5Library* Library() const = 0;
    // The play area's surface, or nullptr before start-up.
    virtual TZQ5ImageData* Screen() const = 0;
    virtual int32_t TickCount() const = 0;

    virtual bool HasFlag(uint16_t flag) const = 0;
    virtual void SetFlag(uint16_t flag, bool on) = 0;

protected:
    ~TEngineHub() = default;
};

// The world as the engine's parts see it, or nullptr when there is none.
TEngineHub* Engine();
