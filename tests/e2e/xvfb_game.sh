#!/usr/bin/env bash
# The real game on a virtual X display: answer the start question, fly a little, look at the
# screen, quit with Esc, and expect exit code 0.
# Usage: xvfb_game.sh GAME BUILD_DIR
set -uo pipefail
game=$(readlink -f "$1")
build=$2
here=$(cd "$(dirname "$0")" && pwd)
skip=77

for tool in Xvfb xdotool import xwininfo python3; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (tools/install-deps.sh brings it)"
    exit $skip
  fi
done

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  echo "--- game log (end) ---"
  tail -c 2000 "$work/log" 2>/dev/null
  exit 1
}

# A display of the game's own size, so the full-screen mode is there to switch to.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

# The id of the top-level window with this title, once it is there.
window_named() {
  local title=$1
  for _ in $(seq 300); do
    local id
    id=$(xwininfo -root -tree 2>/dev/null | awk -v t="\"$title\":" 'index($0, t) {print $1; exit}')
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# Keys held long enough for a frame to see them, as a player's fingers do.
hold() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}

cd "$build" || fail "no build folder $build"
# The developer's log goes to a file; the player's terminal stays quiet.
OMBRELIX_LOG="$work/log" "$game" >"$work/out" 2>"$work/err" &
game_pid=$!

box=$(window_named "Start FullScreen?") || fail "the start question did not appear"
xdotool windowfocus "$box"
sleep 0.3
xdotool key Return # Yes: full screen

screen=$(window_named "Ombrelix") || fail "the game window did not appear"
xdotool windowfocus "$screen"
sleep 2
hold i 1.0
hold s 0.6
hold u 0.5
sleep 1.5

import -window root "$work/shot.png" || fail "no screenshot"
python3 - "$work/shot.png" "$here" <<'PY' || fail "the screenshot does not show the game"
import subprocess, sys
sys.path.insert(0, sys.argv[2])
from runner_e2e import Picture, is_green
ppm = sys.argv[1] + ".ppm"
subprocess.run(["convert", sys.argv[1], "ppm:" + ppm], check=True)
p = Picture(ppm)
assert (p.width, p.height) == (1024, 768), "screen %dx%d" % (p.width, p.height)
# The world through the canopy: stars and objects in many colours, not a black hole.
view = {p.pixel(x, y) for y in range(200, 560, 3) for x in range(150, 880, 3)}
assert len(view) > 40, "only %d colours in the view" % len(view)
# The crosshair: green triangles around the middle.
arms = [p.pixel(512, 384 + 35), p.pixel(512, 384 - 35), p.pixel(512 + 35, 384),
        p.pixel(512 - 35, 384)]
assert all(a[1] > 90 and a[1] > a[0] + 40 for a in arms), "crosshair: %s" % arms
# The cockpit: the dashboard at the bottom, the energy bar in its slot.
assert sum(p.pixel(60, 20)) > 60, "dashboard: %s" % (p.pixel(60, 20),)
assert is_green(p.pixel(508, 80)), "energy bar: %s" % (p.pixel(508, 80),)
print("screen shows the world, the crosshair and the cockpit")
PY

hold Escape 0.6
for _ in $(seq 150); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$game_pid" 2>/dev/null && fail "Esc did not end the game"
wait "$game_pid"
status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "exit code $status"
grep -q "done            ---------------------" "$work/log" || fail "no shutdown line"
[ -s "$work/err" ] && fail "the terminal was not quiet: $(head -c 500 "$work/err")"
echo "passed: the desktop game opened full screen, flew and quit with 0"
