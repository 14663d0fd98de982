#!/usr/bin/env bash
# Installs the built game into a fresh prefix: the launchers, the data and the desktop entry.
# (Playing the installed game from elsewhere is shell_e2e.py's installed_level.)
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

echo "passed: installed under a fresh prefix"
