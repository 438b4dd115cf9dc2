#pragma once
// The Caps Lock toggle, followed from the events the desktop sends instead of
// asked for on every tick (a round trip to the X server each time). Under X11
// the keyboard's state notifications carry the locked modifiers; they reach
// every client that selected them (Qt does), whatever window has the focus.
// The X server is asked once, when tracking starts. Where there is no X11
// (offscreen, Wayland) the Caps Lock key's own presses toggle the state.

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <functional>
#include <optional>

class QKeyEvent;

// The Caps Lock state carried by a raw X event, when it is the keyboard
// extension's state notification; eventBase is that extension's first event
// code on the connection.
std::optional<bool> CapsLockFromXkbEvent(const uint8_t* event, int eventBase);

class CapsLockTracker : public QAbstractNativeEventFilter {
public:
    // Installs itself on the application (when there is one) for as long as it lives.
    CapsLockTracker();
    ~CapsLockTracker() override;
    CapsLockTracker(const CapsLockTracker&) = delete;
    CapsLockTracker& operator=(const CapsLockTracker&) = delete;

    bool On() const { return State; }
    // True when the state comes from the X server's notifications.
    bool FollowsServer() const { return XkbEventBase >= 0; }
    // Every key event the application sees.
    void NoticeKey(const QKeyEvent& key);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // Called after the state has changed.
    std::function<void()> OnChange;

private:
    void Set(bool on);
    bool State = false;
    int XkbEventBase = -1;
};
