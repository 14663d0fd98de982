#!/usr/bin/env bash
# The real game on a virtual X display: answer the start question, fly a little, look at the
# screen, take the keyboard away to pause it until P, quit with Esc, and expect exit code 0.
# Usage: xvfb_game.sh GAME BUILD_DIR
set -uo pipefail
game=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
# A display of the game's own size, so the full-screen mode is there to switch to.
source "$here/xvfb_display.sh" 1024x768
# Keys held long enough for a frame to see them, as a player's fingers do.
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
# Waits up to 60 s for the game's log to hold the text.
logged() {
  for _ in $(seq 300); do grep -qF "$1" "$work/log" 2>/dev/null && return 0; sleep 0.2; done
  return 1
}
# The player's progress goes to a folder of the test's own.
export XDG_DATA_HOME=$work/share

cd "$2" || fail "no build folder $2"
# The developer's log goes to a file; the player's terminal stays quiet.
OMBRELIX_LOG="$work/log" "$game" >"$work/out" 2>"$work/err" &
game_pid=$!
pids+=($game_pid)
box=$(window_named "Start FullScreen?") || fail "the start question did not appear"
xdotool windowfocus "$box"; sleep 0.3; xdotool key Return # Yes: full screen
screen=$(window_named "Ombrelix") || fail "the game window did not appear"
xdotool windowfocus "$screen"; sleep 2
hold i 1.0; hold s 0.6; hold u 0.5; sleep 1.5

import -window root "$work/shot.png" && convert "$work/shot.png" "ppm:$work/shot.ppm" || fail "no screenshot"
python3 - "$work/shot.ppm" "$here" <<'PY' || fail "the screenshot does not show the game"
import sys
sys.path.insert(0, sys.argv[2])
from runner_e2e import Picture, is_green
p = Picture(sys.argv[1])
assert (p.width, p.height) == (1024, 768), "screen %dx%d" % (p.width, p.height)
# The world through the canopy in many colours, the green crosshair, dashboard and energy bar.
assert len({p.pixel(x, y) for y in range(200, 560, 3) for x in range(150, 880, 3)}) > 40
arms = [p.pixel(512, 419), p.pixel(512, 349), p.pixel(547, 384), p.pixel(477, 384)]
assert all(a[1] > 90 and a[1] > a[0] + 40 for a in arms), "crosshair: %s" % arms
assert sum(p.pixel(60, 20)) > 60 and is_green(p.pixel(508, 80)), "cockpit"
PY

# The keyboard taken away (to the root window) pauses; given back, P goes on. (That nothing but P
# goes on is the runner's pause story.)
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
logged "WinMain(): paused" || fail "losing the keyboard did not pause"
xdotool windowfocus "$screen"
sleep 0.5
hold p 0.3
logged "WinMain(): going on" || fail "P did not go on"

hold Escape 0.6
for _ in $(seq 150); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$game_pid" 2>/dev/null && fail "Esc did not end the game"
wait "$game_pid"
status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
grep -q "done            ---------------------" "$work/log" || fail "no shutdown line"
[ -s "$work/err" ] && fail "the terminal was not quiet: $(head -c 500 "$work/err")"
echo "passed: the desktop game opened full screen, flew, paused without the keyboard and quit with 0"
