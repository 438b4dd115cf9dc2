#include "shell/CapsLock.h"

#include <QGuiApplication>

#if __has_include(<X11/XKBlib.h>) && defined(VOREL_HAVE_X11)
#include <QtGui/qguiapplication_platform.h>

#include <X11/XKBlib.h>

std::optional<bool> QueryCapsLock() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return std::nullopt;
    unsigned int state = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) != 0) return std::nullopt;
    return (state & 0x01u) != 0; // the first indicator is Caps Lock
}
#else
std::optional<bool> QueryCapsLock() {
    return std::nullopt;
}
#endif
