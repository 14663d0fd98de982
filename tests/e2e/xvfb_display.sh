# The start both desktop-game stories share: the tools they need, a scratch folder that goes
# with every process started, a fail that shows the end of the game's log, a virtual X display
# of the given size, and the finder of a top-level window.
# Usage: source xvfb_display.sh WIDTHxHEIGHT [TOOL...]
size=$1
shift
for tool in Xvfb xdotool import xwininfo python3 "$@"; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: no $tool (tools/install-deps.sh)"; exit 77; }
done

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
  echo "FAILED: $*"
  tail -c 2000 "$work/log" 2>/dev/null
  exit 1
}

Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

# The id of the top-level window with this title, once it is there.
window_named() {
  for _ in $(seq 300); do
    xwininfo -root -tree 2>/dev/null | awk -v t="\"$1\":" 'index($0, t) {print $1; f=1; exit} END {exit !f}' &&
      return 0
    sleep 0.2
  done
  return 1
}
