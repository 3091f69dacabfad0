#!/usr/bin/env bash
# Installs a build into a scratch prefix, checks what a desktop needs is
# there and valid, and runs the installed game headless for 300 frames with
# a fresh player folder and a data set it may not write.
#   installed_game.sh BUILD_DIR
set -euo pipefail
build="$1"
scratch="$(mktemp -d)"
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"

fail() { echo "installed game: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/tessaly share/tessaly/Data/texts.dat share/applications/tessaly.desktop \
            share/metainfo/io.github.tessaly.tessaly.metainfo.xml share/man/man6/tessaly.6; do
  [ -e "$prefix/$file" ] || fail "$file is not installed"
done
for size in 16 32 48 64 128 256 512; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/tessaly.png"
  [ -s "$icon" ] || fail "no ${size}x${size} icon"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/tessaly.desktop" || fail "the desktop file is not valid"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/io.github.tessaly.tessaly.metainfo.xml" \
    >"$scratch/appstream.txt" 2>&1 || { cat "$scratch/appstream.txt" >&2; fail "the metainfo is not valid"; }
fi
if command -v man >/dev/null; then
  MANWIDTH=80 man -l "$prefix/share/man/man6/tessaly.6" >/dev/null 2>"$scratch/man.txt" || fail "the manual page does not format"
  [ ! -s "$scratch/man.txt" ] || { cat "$scratch/man.txt" >&2; fail "the manual page has warnings"; }
fi

"$prefix/bin/tessaly" --version | grep -q '^Tessaly [0-9]' || fail "--version"

# An installed data set is read-only: the game must run without writing it.
chmod -R a-w "$prefix/share/tessaly"
mkdir -p "$scratch/runtime" "$scratch/home"
chmod 700 "$scratch/runtime"
(cd "$scratch" && XDG_RUNTIME_DIR="$scratch/runtime" XDG_DATA_HOME="$scratch/home" \
  SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" \
  "$prefix/bin/tessaly" --windowed --fixed-step 16 --seed 1 --frames 300 --dump-state "$scratch/state.json") \
  || fail "the installed game did not run"
grep -q '"loadedBytes":[1-9]' "$scratch/state.json" || fail "the installed game loaded no data"
grep -q "\"folder\":\"$scratch/home/tessaly\"" "$scratch/state.json" || fail "player data is not in XDG_DATA_HOME"
[ -f "$scratch/home/tessaly/settings.dat" ] || fail "no settings saved in the player-data folder"
echo "installed game: ok"
