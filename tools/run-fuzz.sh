#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers, the level reader and the settings file (clang,
# AddressSanitizer and UBSan) and runs each one over a corpus seeded from the generated game data,
# the generator's small seed files and the seeds in tests/fuzz. Prints executions, executions a
# second and peak memory per target; exits non-zero on a crash.
#   FUZZ_SECONDS  seconds per target (20); all targets run at once, as `make test` runs them
#   FUZZ_RUNS     executions per target instead of a time, FUZZ_JOBS targets at a time (the long run)
#   FUZZ_BUILD    build folder (build-fuzz), so that a long run keeps binaries no one rebuilds
#   FUZZ_TARGETS  which targets, slowest first (all six)
set -uo pipefail
cd "$(dirname "$0")/.."

BUILD=${FUZZ_BUILD:-build-fuzz}
DATA_BUILD=${FUZZ_DATA_BUILD:-build} # the run directory whose generated data seeds the corpus
SECONDS_PER_TARGET=${FUZZ_SECONDS:-20}
RUNS_PER_TARGET=${FUZZ_RUNS:-}
# Slowest first, so that a limited pool ends together; FUZZ_TARGETS picks some ("level settings").
read -r -a TARGETS <<<"${FUZZ_TARGETS:-level settings bmp tga jpeg ms3d}"
if [ -n "$RUNS_PER_TARGET" ]; then
  JOBS=${FUZZ_JOBS:-$(nproc)}
else
  JOBS=${#TARGETS[@]}
fi
MAX_SEED_BYTES=16384 # bigger seeds slow every mutation down for little gain

extensions_of() {
  case "$1" in
    bmp) echo "bmp" ;;
    tga) echo "tga" ;;
    jpeg) echo "jpg jpeg" ;;
    ms3d) echo "ms3d" ;;
    level) echo "xml" ;;
    settings) echo "ini" ;;
  esac
}

options_of() {
  case "$1" in
    level) echo "-dict=tests/fuzz/level.dict" ;;
    settings) echo "-dict=tests/fuzz/settings.dict" ;;
  esac
}

if ! command -v clang++ >/dev/null 2>&1; then
  echo "run-fuzz: clang++ is needed for libFuzzer" >&2
  exit 1
fi
# A build folder left over from another compiler cannot be switched to clang in place.
if [ -f "$BUILD/CMakeCache.txt" ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' "$BUILD/CMakeCache.txt"; then
  rm -rf "$BUILD/CMakeCache.txt" "$BUILD/CMakeFiles"
fi
mkdir -p "$BUILD/logs"
if ! CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DOMBRELIX_FUZZ=ON \
     -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$BUILD/logs/configure.log" 2>&1; then
  cat "$BUILD/logs/configure.log"
  echo "run-fuzz: configuring $BUILD failed" >&2
  exit 1
fi
if ! cmake --build "$BUILD" -j "$(nproc)" >"$BUILD/logs/build.log" 2>&1; then
  cat "$BUILD/logs/build.log"
  echo "run-fuzz: building the fuzz targets failed" >&2
  exit 1
fi

# Seeds: the data generator's small files of every format and the game data it made (so each
# fuzzer starts from real structure), then the shared corpus where it is present.
if [ ! -d "$DATA_BUILD/fuzz-seeds" ]; then
  echo "run-fuzz: no seeds in $DATA_BUILD/fuzz-seeds; build the game data first (make build)" >&2
  exit 1
fi
add_seed() { # file, corpus dir: named by content, as libFuzzer names its own finds
  local size
  size=$(stat -c %s "$1" 2>/dev/null || echo 0)
  if [ "$size" -gt 0 ] && [ "$size" -le "$MAX_SEED_BYTES" ]; then
    cp "$1" "$2/seed-$(sha1sum "$1" | cut -c1-16)"
  fi
}
for target in "${TARGETS[@]}"; do
  corpus="$BUILD/corpus/$target"
  mkdir -p "$corpus" "$BUILD/artifacts/$target"
  if [ -d "$DATA_BUILD/data" ]; then
    for ext in $(extensions_of "$target"); do
      while IFS= read -r -d '' file; do
        add_seed "$file" "$corpus"
      done < <(find "$DATA_BUILD/data" -type f -iname "*.$ext" -print0)
    done
  fi
  for seeds in "$DATA_BUILD/fuzz-seeds/$target" "tests/fuzz/$target-seeds"; do
    if [ -d "$seeds" ]; then
      while IFS= read -r -d '' file; do
        add_seed "$file" "$corpus"
      done < <(find "$seeds" -type f -print0)
    fi
  done
  if [ -f ../shared/corpora/manifest.tsv ]; then
    while IFS= read -r path; do
      add_seed "../shared/corpora/$path" "$corpus"
    done < <(awk -F'\t' -v format="$target" 'NR > 1 && $2 == format { print $1 }' \
               ../shared/corpora/manifest.tsv)
  fi
done

if [ -n "$RUNS_PER_TARGET" ]; then
  echo "Fuzzing each reader for $RUNS_PER_TARGET executions, $JOBS at a time..."
  limit=(-runs="$RUNS_PER_TARGET")
else
  echo "Fuzzing each reader for $SECONDS_PER_TARGET s..."
  limit=(-max_total_time="$SECONDS_PER_TARGET")
fi
declare -A pid_of
started=$(date +%s)
for target in "${TARGETS[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$JOBS" ]; do
    wait -n
  done
  # shellcheck disable=SC2046 # the options are words
  "$BUILD/fuzz_$target" "$BUILD/corpus/$target" $(options_of "$target") "${limit[@]}" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$BUILD/artifacts/$target/" >"$BUILD/logs/fuzz_$target.log" 2>&1 &
  pid_of[$target]=$!
done

stat_of() { # log, libFuzzer's final statistic
  grep -o "stat::$2: *[0-9]*" "$1" | tail -1 | grep -o '[0-9]*$'
}
status=0
for target in "${TARGETS[@]}"; do
  wait "${pid_of[$target]}"
  code=$?
  log="$BUILD/logs/fuzz_$target.log"
  execs=$(stat_of "$log" number_of_executed_units)
  if [ -z "$execs" ]; then
    execs=$(grep -o 'Done [0-9]* runs' "$log" | tail -1 | grep -o '[0-9]*')
  fi
  rate=$(stat_of "$log" average_exec_per_sec)
  rss=$(stat_of "$log" peak_rss_mb)
  corpus_size=$(find "$BUILD/corpus/$target" -type f | wc -l)
  if [ "$code" -eq 0 ]; then
    printf 'fuzz_%-8s %10s executions, %6s a second, peak %4s MB, corpus %5s files, no crash\n' \
      "$target" "${execs:-?}" "${rate:-?}" "${rss:-?}" "$corpus_size"
  else
    status=1
    reason=$(grep -m1 -E 'ERROR: (libFuzzer|AddressSanitizer|UndefinedBehaviorSanitizer)|runtime error|deadly signal' "$log")
    printf 'fuzz_%-8s %10s executions, CRASHED (exit %s): %s\n' "$target" "${execs:-?}" "$code" "$reason"
    echo "              log: $log; reproducer in $BUILD/artifacts/$target/"
  fi
done
echo "Fuzzing took $(($(date +%s) - started)) s"
exit $status
