#pragma once
// The Caps Lock toggle as the X server holds it, or nothing when the
// desktop is not X11 (offscreen, Wayland) and cannot tell.

#include <optional>

std::optional<bool> QueryCapsLock();
