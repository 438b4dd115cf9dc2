#!/bin/sh
# Makes the seed corpora in fuzz/corpus/ from a build's data files and from
# saved games the real program writes under Xvfb (a fresh game, and one after
# a few clicks). Usage: fuzz/make-corpus.sh BIN_DIR
set -eu
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
corpus="$here/corpus"
mkdir -p "$corpus/library" "$corpus/record" "$corpus/container" "$corpus/script" "$corpus/regionmap" \
         "$corpus/savedgame" "$corpus/readnode"
cp "$bin/vorel.zq5" "$corpus/library/vorel.zq5"
"$bin/fuzz_zq5" --seed "$corpus/record/small.zq5"
cp "$corpus/record/small.zq5" "$corpus/library/small.zq5"
cp "$bin/dat/pyx_init.dat" "$corpus/container/pyx_init.dat"
"$bin/vorel-tool" obf decode "$bin/dat/pyx_init.dat" > "$corpus/script/pyx_init.txt"
cp "$bin/dat/vorelmap.dat" "$corpus/regionmap/vorelmap.dat"

work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/config/KEL! Software" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
printf '[General]\nSplashScreen=false\n' > "$work/config/KEL! Software/Vorel.conf"
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
save="$work/data/Tamblin Games/Vimo's Quilo Vorel/PYX_sg1.dat"

# One session: start, run the clicks (screen points at scale 2), end with SIGTERM.
session() {
  name="$1"; shift
  "$bin/vorel" >/dev/null 2>&1 &
  pid=$!
  window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --classname vorel 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  xdotool windowsize --sync "$window" 1200 1000 2>/dev/null || true
  sleep 1
  for point in "$@"; do
    xdotool mousemove $point click 1
    sleep 0.5
  done
  kill -TERM $pid
  wait $pid || true
  cp "$save" "$corpus/savedgame/$name.dat"
  cp "$save" "$corpus/readnode/$name.dat"
}
session fresh
# Picture 1, object button 5 twice, colour 3, a fill in the sky and on the object.
session coloured "207 840" "940 345" "940 345" "402 675" "168 223" "506 243"
echo "corpora written to $corpus"
