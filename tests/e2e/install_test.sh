#!/usr/bin/env bash
# Installs the built game into a fresh prefix and starts the installed runner from elsewhere: it
# must find its data through its launcher and play to the end.
# Usage: install_test.sh BUILD_DIR CMAKE
set -uo pipefail
build=$(readlink -f "$1")
cmake=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
  echo "FAILED: $*"
  exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >"$prefix/install.log" 2>&1 ||
  fail "install: $(tail -5 "$prefix/install.log")"

for file in bin/ombrelix bin/ombrelix-headless share/ombrelix/data/levels/level.xml \
  share/ombrelix/data/texture/cokpit.tga share/ombrelix/data/texture/info.tga \
  share/applications/ombrelix.desktop share/icons/hicolor/scalable/apps/ombrelix.svg; do
  [ -e "$prefix/$file" ] || fail "$file was not installed"
done
[ -x "$prefix/bin/ombrelix" ] || fail "the launcher cannot be run"
find "$prefix/share/ombrelix" -name '.*' | grep -q . && fail "build stamps were installed"
grep -q '^Exec=ombrelix$' "$prefix/share/applications/ombrelix.desktop" || fail "desktop entry"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$prefix/share/applications/ombrelix.desktop" || fail "desktop entry"
fi

# Started from somewhere else, through a link, as a menu or a PATH would start it.
ln -s "$prefix/bin/ombrelix-headless" "$prefix/linked-runner"
cd / || fail "no root folder"
EGL_PLATFORM=surfaceless "$prefix/linked-runner" --frames 3 --dt 0.05 --seed 1 \
  >"$prefix/run.out" 2>"$prefix/run.log"
status=$?
[ $status -eq 0 ] || fail "the installed game ended with $status: $(tail -c 500 "$prefix/run.log")"
grep -q "WinMain(): cockpit texture loaded/created successfully." "$prefix/run.log" ||
  fail "the installed game did not find its data"
grep -q "done            ---------------------" "$prefix/run.log" || fail "no shutdown line"
echo "passed: installed under a fresh prefix, started from / and played"
