#!/usr/bin/env bash
# Checks the Debian package: desktop entry, AppStream metadata, lintian (errors fail, warnings
# are listed), then unpacks it into a temporary folder and plays the game inside it headless.
# Usage: check-package.sh DEB_BUILD_DIR
set -uo pipefail
deb=$(ls "$1"/ombrelix_*_amd64.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || { echo "FAILED: no ombrelix_*_amd64.deb in $1 (make package)"; exit 1; }
deb=$(readlink -f "$deb")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAILED: $*"
  exit 1
}

dpkg -x "$deb" "$work/root" || fail "dpkg -x"
root=$work/root
for file in usr/games/ombrelix usr/games/ombrelix-headless usr/lib/games/ombrelix/ombrelix \
  usr/share/games/ombrelix/data/levels/level.xml usr/share/games/ombrelix/data/texture/cokpit.tga \
  usr/share/games/ombrelix/data/levels/campaign.xml usr/share/games/ombrelix/data/levels/first-flight.xml \
  usr/share/games/ombrelix/data/texture/campaign.tga \
  usr/share/applications/ombrelix.desktop usr/share/icons/hicolor/scalable/apps/ombrelix.svg \
  usr/share/metainfo/org.example.ombrelix.metainfo.xml usr/share/man/man6/ombrelix.6.gz \
  usr/share/doc/ombrelix/copyright usr/share/doc/ombrelix/changelog.gz; do
  [ -e "$root/$file" ] || fail "$file is not in the package"
done
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "no library dependencies worked out"

desktop-file-validate "$root/usr/share/applications/ombrelix.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.ombrelix.metainfo.xml" ||
  fail "AppStream metadata"
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$work/lintian.txt"
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian found errors"

# The unpacked game, started from elsewhere through its launcher, with a level of the player's
# named relative to where the player is.
"$root/usr/games/ombrelix" --version | grep -q '^ombrelix [0-9]' || fail "--version"
mkdir "$work/player" && cp "$root/usr/share/games/ombrelix/data/levels/level.xml" "$work/player/mine.xml"
cd "$work/player" || fail "no player folder"
EGL_PLATFORM=surfaceless "$root/usr/games/ombrelix-headless" --frames 3 --dt 0.05 --seed 1 \
  --level mine.xml >"$work/run.out" 2>"$work/run.log"
status=$?
[ $status -eq 0 ] || fail "the packaged game ended with $status: $(tail -c 500 "$work/run.log")"
grep -q "WinMain(): cockpit texture loaded/created successfully." "$work/run.log" ||
  fail "the packaged game did not find its data"
grep -q "Iterating level Elements" "$work/run.log" || fail "the player's level was not read"
grep -q "done            ---------------------" "$work/run.log" || fail "no shutdown line"

# The installed campaign's first level, as the desktop entry's first action starts it.
data=$root/usr/share/games/ombrelix/data
EGL_PLATFORM=surfaceless "$root/usr/games/ombrelix-headless" --frames 80 --dt 0.05 --seed 1 \
  --campaign "$data/levels/campaign.xml" --campaign-level 1 --progress "$work/progress.ini" \
  >"$work/campaign.out" 2>"$work/campaign.log" || fail "the packaged campaign ended with $?"
grep -q "WinMain(): campaign level 1 of 6: First Flight (first-flight)" "$work/campaign.log" ||
  fail "the packaged campaign did not start at its first level"
[ "$(grep -c "ElementContainer::loadFromXMLFile(): OBJECT" "$work/campaign.log")" -eq 74 ] ||
  fail "the first level's objects were not all read"
echo "passed: package $(basename "$deb") validated, unpacked and played ($(grep -c '^W:' "$work/lintian.txt") lintian warnings)"
