#pragma once
// The seam between the core and the desktop: the least the core needs of the
// platform, implemented by the Qt shell and, in the tests, by a recording fake.
// Every call comes from the user-interface thread.

#include "foundation/Paths.h"
#include "platform/CursorKind.h"
#include "platform/ShiftState.h"
#include "platform/SoundCue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class MessageKind { Error, Warning, Confirmation, Plain };
enum class MessageButtons { Ok, YesNo };
enum class MessageResult { Ok, Yes, No };

// The cursor shown over the whole screen: normal, or the hourglass while busy.
enum class ScreenCursor { Default, Hourglass };

class Platform {
public:
    virtual ~Platform() = default;

    // The per-user application-data folder (without a trailing delimiter), or
    // nothing when the desktop cannot tell it.
    virtual std::optional<std::string> CommonDataFolder() const = 0;
    // The folder of the running program's shipped data (the program's own
    // folder in a build tree), without a trailing delimiter.
    virtual std::string ProgramFolder() const = 0;
    // The command-line arguments after the program's own name.
    virtual std::vector<std::string> Arguments() const = 0;
    // The three above together, as the folder computation takes them.
    PathFacts Facts() const { return {CommonDataFolder(), ProgramFolder(), Arguments()}; }

    // Shows a modal message box with the application's title and waits for
    // the answer. Ok buttons answer Ok; Yes/No buttons answer Yes or No
    // (closing the box counts as No).
    virtual MessageResult ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons) = 0;

    // Key states as they are now (not as a queued event saw them).
    virtual bool IsShiftDown() const = 0;
    virtual bool IsCtrlDown() const = 0;
    virtual bool IsCapsLockOn() const = 0;

    // A monotonic millisecond counter; it may wrap around.
    virtual uint32_t Milliseconds() const = 0;

    // Lets the desktop handle pending events (paints, timers, input) and
    // returns; handlers may therefore run re-entrantly inside the caller.
    virtual void ProcessPendingMessages() = 0;

    virtual void SetScreenCursor(ScreenCursor cursor) = 0;
    // The cursor shown while the pointer is over the play area.
    virtual void SetPlayAreaCursor(CursorKind kind) = 0;
    // Puts the pointer where it already is, so that the desktop asks again
    // which cursor to show under it.
    virtual void RefreshPointer() = 0;

    // Opens a web address in the desktop's browser; false when nothing could.
    virtual bool OpenUrl(const std::string& url) = 0;

    // Starts a short sound and returns at once, never waiting for a device;
    // silence where there is no sound or it is switched off.
    virtual void PlaySound(SoundCue) {}
};

// MessageBox in one call for the common OK box.
inline void ShowOk(Platform& platform, const std::string& text, MessageKind kind) {
    platform.ShowMessage(text, kind, MessageButtons::Ok);
}
inline bool AskYesNo(Platform& platform, const std::string& text, MessageKind kind) {
    return platform.ShowMessage(text, kind, MessageButtons::YesNo) == MessageResult::Yes;
}

// The program's folders from what this platform tells (see foundation/Paths.h).
inline void SetPaths(const Platform& platform, const std::string& productOverride = "") {
    SetPaths(platform.Facts(), productOverride);
}
inline void EnsurePaths(const Platform& platform, bool force = false, const std::string& productOverride = "") {
    EnsurePaths(platform.Facts(), force, productOverride);
}
