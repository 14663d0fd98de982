#!/usr/bin/env bash
# Prints how big the tests are against the rest of the code: non-blank lines of tracked source
# (C/C++, Python, shell, CMake, Makefiles; level data and documents left out). Informational only.
set -uo pipefail
cd "$(dirname "$0")/.."

# Tracked source files; extensionless scripts count when they start with a shell or Python line.
source_files() {
  git ls-files 2>/dev/null | while IFS= read -r f; do
    [ -f "$f" ] || continue
    case "$f" in
      *.h | *.hpp | *.c | *.cc | *.cpp | *.py | *.sh | *.sh.in | *.cmake | */CMakeLists.txt | \
        CMakeLists.txt | Makefile | */Makefile) echo "$f" ;;
      */*.* | *.*) ;;
      *) head -c 64 "$f" | grep -q -E '^#!.*(sh|python)' && echo "$f" ;;
    esac
  done
}

nonblank() { xargs -r cat -- 2>/dev/null | grep -c -v -E '^[[:space:]]*$'; }

files=$(source_files)
tests=$(echo "$files" | grep -E '^tests/' | nonblank)
code=$(echo "$files" | grep -v -E '^tests/' | nonblank)
percent=$(awk -v t="$tests" -v c="$code" 'BEGIN { if (c > 0) printf "%.1f", 100 * t / c; else print "0" }')
echo "Test ratio: ${tests} non-blank test lines against ${code} lines of code (${percent}%)"
