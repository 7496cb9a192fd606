#!/usr/bin/env bash
# Runs a Windows program under Wine with a prefix private to the build tree,
# so test runs never touch the user's own Wine setup. The prefix is created
# once, under a lock, because several tests may start at the same time.
set -euo pipefail
exe="$1"; shift
build_dir="${TARVO_WINE_BUILD_DIR:-$(cd "$(dirname "$exe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)}"
export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
mkdir -p "$build_dir"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.tarvo-ready" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w 2>/dev/null || wineserver -w 2>/dev/null || true
    touch "$WINEPREFIX/.tarvo-ready"
  fi
) 9>"$build_dir/.wineprefix.lock"
exec "$wine" "$exe" "$@"
