#!/usr/bin/env bash
# The real game on a 16:9 virtual X display with a window manager, as a laptop player meets it:
# --fullscreen covers the whole 1920 x 1080 screen without a question, Alt+Enter switches to a
# window and back without restarting the finished level, Esc quits with 0; and with
# fullscreen_mode = 1024x768 the display's refusal of that mode is asked about as before.
# Usage: xvfb_screens.sh GAME BUILD_DIR
set -uo pipefail
game=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_display.sh" 1920x1080 openbox
# Full screen is the window manager's to grant, as on every desktop.
HOME="$work" openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1

# A window's size as "WxH".
size_of() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
# Waits until the window has (or, with "!", has left) the size.
wait_size() {
  for _ in $(seq 50); do
    local now
    now=$(size_of "$1")
    if [ "${3:-}" = "!" ]; then [ "$now" != "$2" ] && return 0; else [ "$now" = "$2" ] && return 0; fi
    sleep 0.2
  done
  return 1
}
# Keys held long enough for a frame to see them, as a player's fingers do.
press() {
  xdotool windowfocus --sync "$1" 2>/dev/null
  sleep 0.3
  xdotool keydown "$2"
  sleep 0.5
  xdotool keyup "$2"
}
ended() {
  local pid=$1
  for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  ! kill -0 "$pid" 2>/dev/null
}

cd "$2" || fail "no build folder $2"
# The level's target sits on the ship: LEVEL COMPLETE within the first frames.
cat >"$work/won.xml" <<'XML'
<?xml version="1.0"?>
<LEVEL><OBJECT type="OBJ3D_ASTEROID" objid="goal"><TRIGGER cause="death" event="endlevel"/></OBJECT></LEVEL>
XML

OMBRELIX_LOG="$work/log" "$game" --fullscreen --level "$work/won.xml" >"$work/out" 2>"$work/err" &
game_pid=$!
pids+=($game_pid)
screen=$(window_named "Ombrelix") || fail "the game window did not appear"
wait_size "$screen" 1920x1080 || fail "full screen is $(size_of "$screen"), not the screen's 1920x1080"
sleep 2
grep -q "Start FullScreen?\|Kavi GL" "$work/log" && fail "a question was asked"
import -window root "$work/shot.png" && convert "$work/shot.png" "ppm:$work/shot.ppm" || fail "no screenshot"
python3 - "$work/shot.ppm" "$here" <<'PY' || fail "the screenshot does not show the game over the whole screen"
import sys
sys.path.insert(0, sys.argv[2])
from runner_e2e import Picture, is_level_end_colour
p = Picture(sys.argv[1])
assert (p.width, p.height) == (1920, 1080), "screen %dx%d" % (p.width, p.height)
# The dashboard reaches both edges of the screen, the top bar spans it, the level is won.
for x in (5, 1914):
    assert 25 < sum(p.pixel(x, 60)) < 400 and 25 < sum(p.pixel(x, 1075)) < 400, "edge %d" % x
assert p.count((240, 560, 1680, 1000), is_level_end_colour, 4) > 500, "LEVEL COMPLETE"
PY

press "$screen" alt+Return
wait_size "$screen" 1920x1080 ! || fail "Alt+Enter did not leave full screen"
press "$screen" alt+Return
wait_size "$screen" 1920x1080 || fail "Alt+Enter did not go back to full screen"
sleep 1
grep -q "level started again" "$work/log" && fail "Alt+Enter played the level again"
press "$screen" Escape
ended "$game_pid" || fail "Esc did not end the game"
wait "$game_pid"
status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
[ -s "$work/err" ] && fail "the terminal was not quiet: $(head -c 500 "$work/err")"

# The game's own mode on a display that has only its own: the question of old.
printf '[game]\nfullscreen = yes\nfullscreen_mode = 1024x768\n' >"$work/settings.ini"
OMBRELIX_LOG="$work/log" "$game" --settings "$work/settings.ini" >"$work/out" 2>"$work/err" &
game_pid=$!
pids+=($game_pid)
box=$(window_named "Kavi GL") || fail "the refusal question did not appear"
press "$box" Return # Yes: a window instead
screen=$(window_named "Ombrelix") || fail "no window after Yes"
sleep 2
press "$screen" Escape
ended "$game_pid" || fail "Esc did not end the windowed game"
wait "$game_pid" || fail "the windowed game ended with $?"
echo "passed: full screen at 1920x1080 without a question, Alt+Enter both ways, the refusal of 1024x768"
