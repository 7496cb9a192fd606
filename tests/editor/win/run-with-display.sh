#!/usr/bin/env bash
# run-with-display.sh <wine-run.sh> <program> [args...]
# Runs a Windows test program that opens windows. Wine needs an X display
# for that, so a private Xvfb is started on a free display number for this
# run only, with a Wine prefix of its own (a Wine session keeps the display
# it started with, so it must not be shared with the other tests'), and both
# are stopped afterwards.
set -euo pipefail
wine_run="$1"; shift
exe="$1"; shift

prefix_dir="$(cd "$(dirname "$exe")" && pwd)/wine-display"
mkdir -p "$prefix_dir"
display_file=$(mktemp)
xvfb_pid=""
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo true)
cleanup() {
  WINEPREFIX="$prefix_dir/wineprefix" "$wineserver" -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -f "$display_file"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number to the descriptor.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "run-with-display: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$display_file" ] || { echo "run-with-display: Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$display_file")"

export TARVO_WINE_BUILD_DIR="$prefix_dir"
# Windows open inside one virtual desktop window: with no window manager on
# the display, Wine would otherwise wait seconds for each top-level window
# to be withdrawn.
if [ ! -f "$prefix_dir/.virtual-desktop" ]; then
  "$wine_run" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  "$wine_run" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null
  # The session that ran these started its desktop without the setting.
  WINEPREFIX="$prefix_dir/wineprefix" "$wineserver" -w 2>/dev/null || true
  touch "$prefix_dir/.virtual-desktop"
fi
"$wine_run" "$exe" "$@"
