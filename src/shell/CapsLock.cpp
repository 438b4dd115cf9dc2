#include "shell/CapsLock.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {
// The keyboard extension's StateNotify as it comes over the wire: byte 0 the
// event code (bit 7 set when sent by a client), byte 1 the extension's own
// event kind, byte 12 the locked modifiers.
constexpr uint8_t XkbStateNotifyKind = 2;
constexpr size_t LockedModsOffset = 12;
constexpr uint8_t LockModifier = 0x02;

struct ServerKeyboard {
    int EventBase;
    bool CapsLock;
};
// The extension's first event code and the Caps Lock state, asked of the X
// server; nothing where there is none. (Defined last: Xlib's macros clash
// with Qt's names.)
std::optional<ServerKeyboard> AskServerKeyboard();
} // namespace

std::optional<bool> CapsLockFromXkbEvent(const uint8_t* event, int eventBase) {
    if (!event || eventBase < 0) return std::nullopt;
    if ((event[0] & 0x7F) != eventBase || event[1] != XkbStateNotifyKind) return std::nullopt;
    return (event[LockedModsOffset] & LockModifier) != 0;
}

CapsLockTracker::CapsLockTracker() {
    std::optional<ServerKeyboard> keyboard = AskServerKeyboard();
    if (!keyboard || !QCoreApplication::instance()) return;
    State = keyboard->CapsLock;
    XkbEventBase = keyboard->EventBase;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

CapsLockTracker::~CapsLockTracker() {
    if (XkbEventBase >= 0 && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void CapsLockTracker::NoticeKey(const QKeyEvent& key) {
    // Under X11 the key event arrives after the notification that already
    // told the new state: toggling again would undo it.
    if (FollowsServer()) return;
    if (key.type() == QEvent::KeyPress && key.key() == Qt::Key_CapsLock && !key.isAutoRepeat()) Set(!State);
}

void CapsLockTracker::Set(bool on) {
    if (State == on) return;
    State = on;
    if (OnChange) OnChange();
}

bool CapsLockTracker::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    if (std::optional<bool> state = CapsLockFromXkbEvent(static_cast<const uint8_t*>(message), XkbEventBase))
        Set(*state);
    return false; // Qt's own keyboard handling needs the event as well
}

#if __has_include(<X11/XKBlib.h>) && defined(VOREL_HAVE_X11)
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/XKBlib.h>

namespace {
std::optional<ServerKeyboard> AskServerKeyboard() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    int opcode = 0, eventBase = 0, errorBase = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!display || !XkbQueryExtension(display, &opcode, &eventBase, &errorBase, &major, &minor))
        return std::nullopt;
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return std::nullopt;
    return ServerKeyboard{eventBase, (state.locked_mods & LockModifier) != 0};
}
} // namespace
#else
namespace {
std::optional<ServerKeyboard> AskServerKeyboard() {
    return std::nullopt;
}
} // namespace
#endif
