#!/usr/bin/env bash
# `make bench`: the world's per-frame passes under Google Benchmark, then the timedemo: the
# headless runner flies a fixed session through the shipped level on each drawing path, with the
# drawing shortcuts and without them (--plain-drawing), and each shortcut alone switched off. The
# runs take turns, several rounds, so a busy machine weighs on all of them alike; every figure is
# the median over the rounds. Each run measures its own floor frame (clear, the full-screen
# cockpit overlay, swap, finish) in the same process. Last, the sound's cost per frame with the
# source pool full.
# Usage: bench/run-bench.sh [BUILD_DIR]
#   OMBRELIX_TIMEDEMO_FRAMES (600) frames per run, OMBRELIX_BENCH_ROUNDS (3) rounds.
set -euo pipefail
build=$(readlink -f "${1:-build}")
frames=${OMBRELIX_TIMEDEMO_FRAMES:-600}
rounds=${OMBRELIX_BENCH_ROUNDS:-3}
goal_lists=2.3
goal_others=2.6
goal_allocations=300
shortcuts="dust culling text cockpit lists wires effects overlay"

cmake --build "$build" --target world_bench audio_bench ombrelix-headless data level_data >/dev/null
cd "$build"

echo "== World update and collision (Google Benchmark) =="
if [ -x bench/world_bench ]; then
  bench/world_bench --benchmark_counters_tabular=true 2>/dev/null
else
  echo "world_bench was not built (Google Benchmark missing)"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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
} >"$work/flight"

toggles() {
  case $1 in
    lists) ;;
    arrays) printf '0 down F4\n1 up F4\n2 down F5\n3 up F5\n' ;;
    immediate) printf '0 down F4\n1 up F4\n' ;;
  esac
}

# One run: path, plain-drawing list ("none" = every shortcut on), round. Leaves
# "median p95 floor ratio allocations compiles shots" in $work/<path>.<plain>.<round>.
run() {
  local path=$1 plain=$2 round=$3 out="$work/$1.$2.$3"
  { toggles "$path"; cat "$work/flight"; } >"$work/script.$path"
  ./ombrelix-headless --frames "$frames" --dt 0.05 --seed 1 --script "$work/script.$path" \
    --report --plain-drawing "$plain" --screenshot "$out.ppm" 2>/dev/null >"$out.report"
  # frames N median M ms mean A ms p95 P ms floor F ms ratio R
  # allocations per steady frame median A p95 B list compiles C shots S
  awk '/^frames/ { printf "%s %s %s %s ", $4, $10, $13, $16 }
       /^allocations per/ { printf "%s %s %s", $6, $11, $13 }
       /^allocations not/ { printf "- - -" }' "$out.report" >"$out"
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2];
                                      else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Column n of every round of one variant, as their median.
figure() {
  local path=$1 plain=$2 column=$3
  for r in $(seq "$rounds"); do awk -v c="$column" '{ print $c }' "$work/$path.$plain.$r"; done |
    grep -v '^-$' | median
}

# Pixels of the last frame that differ between two variants of the first round.
pixels() {
  python3 - "$work/$1.1.ppm" "$work/$2.1.ppm" <<'PY' 2>/dev/null || echo "-"
import re, sys
def load(p):
    d = open(p, "rb").read()
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", d)
    return d[m.end():]
a, b = load(sys.argv[1]), load(sys.argv[2])
n = sum(1 for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3])
print("%d (%.3f%%)" % (n, 100.0 * n / (len(a) // 3)))
PY
}

echo
echo "== Timedemo: $frames frames through the shipped level, 1/20 s per frame, $rounds rounds =="
echo "Each run: ombrelix-headless --frames $frames --dt 0.05 --seed 1 --script FLIGHT --report"
echo "          --plain-drawing none|all|<one shortcut>   (F4, F5 at the start of FLIGHT pick the path)"
variants="none all"
for s in $shortcuts; do variants="$variants $s"; done
for r in $(seq "$rounds"); do
  for path in lists arrays immediate; do
    for plain in $variants; do
      # Each shortcut alone is timed on the default path only.
      if [ "$path" != lists ] && [ "$plain" != none ] && [ "$plain" != all ]; then continue; fi
      run "$path" "$plain" "$r"
    done
  done
done

name() {
  case $1 in lists) echo "display lists" ;; arrays) echo "vertex arrays" ;; *) echo "immediate mode" ;; esac
}

echo
echo "Every drawing path, plain drawing (before) and with the shortcuts (after); median of $rounds runs."
printf '%-15s %-7s %10s %10s %10s %7s %13s %9s %6s\n' \
  path drawing "median ms" "p95 ms" "floor ms" ratio "allocs/frame" compiles shots
verdict=""
for path in lists arrays immediate; do
  for plain in all none; do
    label=$([ "$plain" = all ] && echo plain || echo fast)
    printf '%-15s %-7s %10s %10s %10s %7s %13s %9s %6s\n' "$(name $path)" "$label" \
      "$(figure $path $plain 1)" "$(figure $path $plain 2)" "$(figure $path $plain 3)" \
      "$(figure $path $plain 4)" "$(figure $path $plain 5)" "$(figure $path $plain 6)" \
      "$(figure $path $plain 7)"
  done
  goal=$([ "$path" = lists ] && echo $goal_lists || echo $goal_others)
  ratio=$(figure $path none 4)
  if awk -v r="$ratio" -v g="$goal" 'BEGIN { exit !(r <= g) }'; then
    verdict="$verdict$(name $path): ${ratio}x the floor frame, within the ${goal}x goal\n"
  else
    verdict="$verdict$(name $path): ${ratio}x the floor frame, above the ${goal}x goal\n"
  fi
  echo "  picture: $(pixels $path.all $path.none) pixels of the last frame differ"
done

echo
echo "Each shortcut on the default path: switched off alone (before) and with all (after)."
printf '%-9s %10s %10s %10s %10s %12s %12s %18s\n' shortcut "median bef" "median aft" \
  "p95 bef" "p95 aft" "allocs bef" "allocs aft" "pixels differing"
for s in $shortcuts; do
  printf '%-9s %10s %10s %10s %10s %12s %12s %18s\n' "$s" "$(figure lists $s 1)" \
    "$(figure lists none 1)" "$(figure lists $s 2)" "$(figure lists none 2)" \
    "$(figure lists $s 5)" "$(figure lists none 5)" "$(pixels lists.$s lists.none)"
done

echo
printf "%b" "$verdict"
allocations=$(figure lists none 5)
shots=$(figure lists none 7)
compiles=$(figure lists none 6)
if [ "$allocations" = "-" ]; then
  echo "heap allocations: not counted by this build"
elif awk -v a="$allocations" -v g="$goal_allocations" 'BEGIN { exit !(a < g) }'; then
  echo "heap allocations: $allocations in a steady frame (median), below the goal of $goal_allocations"
else
  echo "heap allocations: $allocations in a steady frame (median), not below the goal of $goal_allocations"
fi
echo "display-list compiles in steady play: $compiles for $shots shots"

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
