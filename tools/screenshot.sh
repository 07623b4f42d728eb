#!/usr/bin/env bash
# A screenshot of what the player sees on the demo mission: builds the game,
# writes the demo mission into a fresh run directory, starts the game on a
# virtual X screen (xvfb-run) with the start-up clicks made for it
# (tools/kdrshot.cpp), and takes the picture of the whole screen with
# ImageMagick's import once the map is shown.
#
# Usage: tools/screenshot.sh [OUTPUT.png] [ZOOM_STEPS]
#   OUTPUT.png   default: build/screenshot.png
#   ZOOM_STEPS   zoom levels to step in (positive) or out (negative) after
#                the mission opens; default 0 (the level the view
#                properties of the run directory give, "Normal" when new)
# Needs: xvfb-run (package xvfb); import (package imagemagick) when there,
# else the game saves the picture of its own main window.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="$(realpath -m "${1:-$ROOT/build/screenshot.png}")"
ZOOM="${2:-0}"
BUILD="$ROOT/build/release"
SCREEN="1920x1080x24"
WAIT_SECONDS=60

command -v xvfb-run >/dev/null || { echo "screenshot.sh: xvfb-run is missing" >&2; exit 1; }
SELF_SHOT=""
command -v import >/dev/null || SELF_SHOT=1

if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKDR_TESTS=OFF
fi
cmake --build "$BUILD" --target kedravin kdrdemo kdrshot

RUN="$(mktemp -d "${TMPDIR:-/tmp}/kdr-shot-XXXXXX")"
trap 'rm -rf "$RUN"' EXIT
"$BUILD/kdrdemo" "$RUN"
mkdir -p "$(dirname "$OUT")"

# Inside the virtual screen: start the game, wait for the map, take the
# picture, then end the game this script started.
export RUN OUT ZOOM BUILD WAIT_SECONDS SELF_SHOT
xvfb-run -a -s "-screen 0 $SCREEN" bash -c '
  set -u
  cd "$RUN"
  if [ -n "$SELF_SHOT" ]; then
    "$BUILD/kdrshot" "$ZOOM" "$OUT" >"$RUN/shot.log" 2>&1 &
  else
    "$BUILD/kdrshot" "$ZOOM" >"$RUN/shot.log" 2>&1 &
  fi
  game=$!
  for _ in $(seq $((WAIT_SECONDS * 5))); do
    grep -q "^ready" "$RUN/shot.log" && break
    kill -0 "$game" 2>/dev/null || break
    sleep 0.2
  done
  status=1
  if grep -q "^ready" "$RUN/shot.log" && [ -n "$SELF_SHOT" ]; then
    wait "$game" 2>/dev/null
    [ -s "$OUT" ] && status=0
  elif grep -q "^ready" "$RUN/shot.log"; then
    import -window root "$OUT" && status=0
  else
    echo "screenshot.sh: the game did not show the map" >&2
  fi
  kill "$game" 2>/dev/null
  wait "$game" 2>/dev/null
  grep -v "^ready" "$RUN/shot.log" >&2 || true
  exit $status
'
echo "screenshot: $OUT"
