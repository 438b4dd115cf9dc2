# Sourced by the benchmarks of this folder: a temporary home with the
# program's settings folder (splash SETTING writes the about box setting), and
# an Xvfb of SCREEN (WxHxD) on a free display, both gone when the script
# ends. Sets work, xvfb (the server's process) and DISPLAY.
work=$(mktemp -d)
mkdir -p "$work/config/KEL! Software" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
splash() { printf '[General]\nSplashScreen=%s\n' "$1" > "$work/config/KEL! Software/Vorel.conf"; }
splash false
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 "${SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
