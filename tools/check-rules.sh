#!/usr/bin/env bash
# House rules a machine can check: formatting, SDL/EGL only behind platform/ and OpenAL only in
# audio/ (tests may use either).
set -uo pipefail
cd "$(dirname "$0")/.."
status=0

files=$(git ls-files '*.h' '*.cpp' 2>/dev/null; git ls-files --others --exclude-standard '*.h' '*.cpp' 2>/dev/null)
if command -v clang-format >/dev/null 2>&1; then
  if ! echo "$files" | xargs -r clang-format --dry-run --Werror 2>/tmp/ombrelix-format.log; then
    echo "Formatting differs from .clang-format (run 'make format'):"
    grep -E '^[^ ].*(warning|error)' /tmp/ombrelix-format.log | cut -d: -f1 | sort -u | head -20
    status=1
  fi
else
  echo "clang-format not installed; formatting not checked"
fi

leaks=$(echo "$files" | grep -v -E '^(platform|tests)/' | xargs -r grep -n -E '#include[[:space:]]*[<"](SDL2?/|SDL\.h|EGL/)' 2>/dev/null)
if [ -n "$leaks" ]; then
  echo "SDL or EGL included outside platform/ and tests/:"
  echo "$leaks"
  status=1
fi

al_leaks=$(echo "$files" | grep -v -E '^(audio|tests)/' | xargs -r grep -n -E '#include[[:space:]]*[<"](AL/|al\.h|alc\.h|alext\.h)' 2>/dev/null)
if [ -n "$al_leaks" ]; then
  echo "OpenAL included outside audio/ and tests/:"
  echo "$al_leaks"
  status=1
fi

[ $status -eq 0 ] && echo "House rules: formatting, platform and audio boundaries OK"
exit $status
