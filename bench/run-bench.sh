#!/usr/bin/env bash
# `make bench`: the world's per-frame passes under Google Benchmark, then the timedemo
# (bench/timedemo.py): the headless runner replays the scenes of bench/scenes/ on each drawing
# path, with and without the far models, beside another build when one is named, and the start
# view at 1920 x 1080 beside 1024 x 768; the runs take turns over several rounds. Each run
# measures its own floor frame (clear, the cockpit texture on one quad over the whole surface with
# the alpha test, finish, swap) at its own size in the same process. Last, the sound's cost per
# frame with the source pool full, and the scale table (bench/scale.py): what a level's size costs
# to load and per frame, in view and out of it, and the far-model scene.
# Usage: bench/run-bench.sh [BUILD_DIR]
#   OMBRELIX_BENCH_ROUNDS (3) rounds; OMBRELIX_BENCH_BEFORE a build folder to compare with;
#   LP_NUM_THREADS (2) llvmpipe's rasteriser threads; OMBRELIX_SCALE_ROUNDS (1) rounds of the
#   scale table.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$(readlink -f "${1:-build}")
rounds=${OMBRELIX_BENCH_ROUNDS:-3}

cmake --build "$build" --target world_bench audio_bench ombrelix-headless data level_data >/dev/null
cd "$build"

echo "== World update and collision (Google Benchmark) =="
if [ -x bench/world_bench ]; then
  bench/world_bench --benchmark_counters_tabular=true 2>/dev/null
else
  echo "world_bench was not built (Google Benchmark missing)"
fi

# The llvmpipe rasteriser runs this many threads beside the game's; fixed, so runs compare.
export LP_NUM_THREADS=${LP_NUM_THREADS:-2}
echo
echo "== Timedemo: the scenes of bench/scenes/ on every drawing path, $rounds rounds =="
before=()
if [ -n "${OMBRELIX_BENCH_BEFORE:-}" ]; then
  before=(--before "$(readlink -f "$OMBRELIX_BENCH_BEFORE")")
fi
python3 "$here/timedemo.py" --build "$build" --rounds "$rounds" "${before[@]}"

echo
echo "== Scale: levels of many objects, CPU time with LP_NUM_THREADS=0 =="
python3 "$here/scale.py" --build "$build" --rounds "${OMBRELIX_SCALE_ROUNDS:-1}"

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
