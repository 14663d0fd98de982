#!/usr/bin/env bash
# `make bench`: the world's per-frame passes under Google Benchmark, then the timedemo: the
# headless runner flies a fixed session through the shipped level for 600 frames on each drawing
# path and compares the median frame with the floor frame (clear, cockpit overlay, swap) measured
# in the same process; last, the sound's cost per frame with the source pool full.
# Usage: bench/run-bench.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(readlink -f "${1:-build}")
frames=${OMBRELIX_TIMEDEMO_FRAMES:-600}
goal=1.5

cmake --build "$build" --target world_bench audio_bench ombrelix-headless data level_data >/dev/null
cd "$build"

echo "== World update and collision (Google Benchmark) =="
if [ -x bench/world_bench ]; then
  bench/world_bench --benchmark_counters_tabular=true 2>/dev/null
else
  echo "world_bench was not built (Google Benchmark missing)"
fi

session=$(mktemp)
trap 'rm -f "$session" "$session".*' EXIT
# Full thrust down the level, a shot every second, a few turns: the same session every time.
{
  echo "4 down I"
  for f in $(seq 20 20 580); do
    echo "$f down U"
    echo "$((f + 1)) up U"
  done
  echo "100 down S"; echo "130 up S"
  echo "200 down F"; echo "260 up F"
  echo "300 down E"; echo "320 up E"
  echo "330 down D"; echo "350 up D"
  echo "400 down R"; echo "430 up R"
} >"$session.flight"

echo
echo "== Timedemo: $frames frames through the shipped level, 1/20 s per frame =="
printf '%-16s %12s %12s %12s %12s %8s\n' "path" "median ms" "mean ms" "p95 ms" "floor ms" "ratio"
for path in "display lists" "vertex arrays" "immediate mode"; do
  case $path in
    "display lists") toggles="" ;;
    "vertex arrays") toggles=$'0 down F4\n1 up F4\n2 down F5\n3 up F5' ;;
    "immediate mode") toggles=$'0 down F4\n1 up F4' ;;
  esac
  { [ -n "$toggles" ] && echo "$toggles"; cat "$session.flight"; } >"$session"
  line=$(./ombrelix-headless --frames "$frames" --dt 0.05 --seed 1 --script "$session" --report \
    2>/dev/null | tail -n1)
  # frames N median M ms mean A ms p95 P ms floor F ms ratio R
  read -r _ _ _ median _ _ mean _ _ p95 _ _ floor _ _ ratio <<<"$line"
  printf '%-16s %12s %12s %12s %12s %8s\n' "$path" "$median" "$mean" "$p95" "$floor" "$ratio"
  if [ "$path" = "display lists" ]; then
    default_ratio=$ratio
  fi
done
echo
if awk -v r="$default_ratio" -v g="$goal" 'BEGIN { exit !(r <= g) }'; then
  echo "default path (display lists): ${default_ratio}x the floor frame, within the ${goal}x goal"
else
  echo "default path (display lists): ${default_ratio}x the floor frame, above the ${goal}x goal"
fi

echo
echo "== Sound: one frame with 32 one-shots and both loops playing (Google Benchmark) =="
audio_goal_us=100
if [ -x bench/audio_bench ]; then
  audio=$(bench/audio_bench 2>/dev/null)
  echo "$audio"
  # audioUpdateOnDevice  TIME us  CPU us  ITERATIONS playing=N
  device_us=$(awk '$1 == "audioUpdateOnDevice" && $3 == "us" { print $2 }' <<<"$audio")
  if [ -z "$device_us" ]; then
    echo "sound update: not measured (no OpenAL null device)"
  elif awk -v t="$device_us" -v g="$audio_goal_us" 'BEGIN { exit !(t < g) }'; then
    echo "sound update on a device: ${device_us} us a frame, under the 0.1 ms goal"
  else
    echo "sound update on a device: ${device_us} us a frame, above the 0.1 ms goal"
  fi
else
  echo "audio_bench was not built (Google Benchmark missing)"
fi
