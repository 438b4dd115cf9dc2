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

. "$here/../tests/shell/xvfb_common.sh"
xvfb_session 1280x1024 || { echo "Xvfb did not start"; exit 1; }
save="$work/data/Tamblin Games/Vimo's Quilo Vorel/PYX_sg1.dat"

# One session: start, run the clicks (screen points at scale 2), end with SIGTERM.
session() {
  name="$1"; shift
  "$bin/vorel" >/dev/null 2>&1 &
  vorel_pid=$!
  xvfb_wait_window || true
  xdotool windowsize --sync "$window" 1200 1000 2>/dev/null || true
  sleep 1
  for point in "$@"; do
    xdotool mousemove $point click 1
    sleep 0.5
  done
  xvfb_stop_vorel
  cp "$save" "$corpus/savedgame/$name.dat"
  cp "$save" "$corpus/readnode/$name.dat"
}
session fresh
# Picture 1, object button 5 twice, colour 3, a fill in the sky and on the object.
session coloured "207 840" "940 345" "940 345" "402 675" "168 223" "506 243"
echo "corpora written to $corpus"
