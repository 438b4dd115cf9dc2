#!/bin/sh
# Takes the README's screenshots of the real program under Xvfb (no window
# manager): the title, a picture with objects pushed to every edge, the
# load-and-save room with three saves, and the instructions beside the
# window, each at scale 1 and 2. Needs Xvfb, xdotool and imagemagick.
# Usage: scripts/screenshots.sh [BIN_DIR] [OUTPUT_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bin="${1:-$root/build/bin}"; out="${2:-$root/docs/screenshots}"
mkdir -p "$out"
. "$root/tests/shell/xvfb_common.sh"
work=$(mktemp -d)
xvfb_pid=""; vorel_pid=""
trap 'xvfb_stop_vorel; xvfb_stop; rm -rf "$work"' EXIT
stop_vorel() { xvfb_stop_vorel; }

# Starts the program; sets window, its origin wx, wy and the scale s.
start_vorel() { # SCALE
  s=$1
  "$bin/vorel" --scale "$s" >>"$work/vorel.log" 2>&1 &
  vorel_pid=$!
  xvfb_wait_window || { echo "no window"; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$window")"
  wx=$X; wy=$Y
  xdotool windowfocus "$window" 2>/dev/null || true
  sleep 1
}

# Screen point of a play-area point: the play area lies 19 block pixels in.
# (never left of or above the screen: xdotool takes a minus for an option).
px() { v=$((wx + (19 + $1) * s)); echo $((v < 0 ? 0 : v)); }
py() { v=$((wy + (19 + $1) * s)); echo $((v < 0 ? 0 : v)); }
click() { xdotool mousemove "$(px "$1")" "$(py "$2")" click 1; sleep 0.3; }
drag() { # FROMX FROMY TOX TOY (play-area points; the target may lie outside)
  xdotool mousemove "$(px "$1")" "$(py "$2")" mousedown 1
  sleep 0.2
  xdotool mousemove "$(px $(( ($1 + $3) / 2 )))" "$(py $(( ($2 + $4) / 2 )))"
  sleep 0.2
  xdotool mousemove "$(px "$3")" "$(py "$4")"
  sleep 0.2
  xdotool mouseup 1
  sleep 0.3
}
thumbnail() { # 1..4: the thumbnails lie under the play area
  xdotool mousemove $((wx + (25 + ($1 - 1) * 131 + 60) * s)) $((wy + (370 + 40) * s)) click 1
  sleep 0.5
}
shot_window() { import -window "$window" "$out/$1.png"; }
# The title's disk button, the load-and-save room's buttons (play-area points).
to_disk_room() { click 455 275; sleep 0.5; }
save_button() { click 70 270; sleep 0.5; }
object_button() { # 5..12
  k=$(($1 - 5)); col=$((k % 2)); row=$((k / 2))
  click $((405 + 46 * col + 20)) $((112 + 43 * row + 20))
}

take_set() { # SCALE SCREEN_FOR_THE_INSTRUCTIONS
  scale=$1; roomy_screen=$2
  xvfb_start 1280x1024
  xvfb_fresh_home
  start_vorel "$scale"
  sleep 7 # the title fades in
  shot_window "title-$scale"

  # Picture 1 with objects pushed to every edge.
  thumbnail 1
  click 60 60 # colour the background's first area
  for target in "-400 110" "700 110" "190 -300" "190 500"; do
    object_button 5
    set -- $target
    drag 203 127 "$1" "$2"
  done
  object_button 9
  drag 203 127 -400 -300
  shot_window "picture-edges-$scale"
  stop_vorel

  # Three saves, each of a different state of the pictures.
  for picture in 2 3 4; do
    start_vorel "$scale"
    to_disk_room
    save_button
    click 420 270 # return to the title
    thumbnail "$picture"
    object_button $((4 + picture))
    click 30 30
    stop_vorel
  done
  start_vorel "$scale"
  to_disk_room
  shot_window "load-save-$scale"
  stop_vorel

  # The instructions beside the window, on a screen with room for them.
  xvfb_start "$roomy_screen"
  start_vorel "$scale"
  xdotool key --window "$window" F1
  sleep 0.7
  import -window root "$work/root.png"
  help=$(xdotool search --onlyvisible --name "Instructions" | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$help")"
  hx=$X; hy=$Y; hw=$WIDTH; hh=$HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window")"
  left=$(( X < hx ? X : hx )); top=$(( Y < hy ? Y : hy ))
  right=$(( X + WIDTH > hx + hw ? X + WIDTH : hx + hw ))
  bottom=$(( Y + HEIGHT > hy + hh ? Y + HEIGHT : hy + hh ))
  convert "$work/root.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$out/instructions-$scale.png"
  stop_vorel
}

take_set 1 1280x1024
take_set 2 2560x1440
ls -l "$out"
