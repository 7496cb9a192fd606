#!/usr/bin/env bash
# Tarvo in a real host: headless Ardour 7 (ardour7-lua, Dummy backend) loads
# the bundle, a second track feeds Tarvo's sidechain, "Ext Sidechain" is
# switched on in the running session, and exports must show the sidechain
# changing the output; the saved session, reopened, must export the same.
#
#   tests/hosts/ardour-sidechain.sh BUNDLE.vst3 WORK_DIR
#
# Ardour's headless export crashes now and then on its own: a run that ends
# by a signal (exit status >= 128) is repeated, up to TARVO_ARDOUR_ATTEMPTS
# times (default 6). A wrong result is never repeated.
set -uo pipefail

bundle=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scripts="$here/ardour"
attempts="${TARVO_ARDOUR_ATTEMPTS:-6}"
lua=$(command -v ardour7-lua || true)
scanner=/usr/lib/ardour7/ardour-vst3-scanner

if [ -z "$lua" ] || [ ! -x "$scanner" ]; then
  echo "ardour-sidechain: ardour7-lua or $scanner not found; scripts/install-deps installs Debian's ardour package" >&2
  exit 1
fi
[ -f "$bundle/Contents/Resources/moduleinfo.json" ] || { echo "ardour-sidechain: $bundle is not a built bundle" >&2; exit 1; }

# Everything private to the work folder: Ardour's configuration, caches,
# the plug-in folder it scans and the session.
rm -rf "$work"
mkdir -p "$work/home" "$work/vst3" "$work/exports"
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
export VST3_PATH="$work/vst3"
mkdir -p "$XDG_CONFIG_HOME/ardour7/scripts" "$XDG_CONFIG_HOME/ardour7/export" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
# Copied with its times: Ardour rescans (and, headless, skips) a module
# that is not older than its cache entry.
cp -a "$bundle" "$VST3_PATH/Tarvo.vst3"
cp "$scripts/check-tone.lua" "$XDG_CONFIG_HOME/ardour7/scripts/"
cp "$scripts/float-wav.format" "$scripts/float-wav.preset" "$XDG_CONFIG_HOME/ardour7/export/"

# Ardour loads only plug-ins its scanner has indexed.
if ! LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -q -f "$VST3_PATH/Tarvo.vst3"; then
  echo "ardour-sidechain: Ardour's VST 3 scanner refused the bundle" >&2
  exit 1
fi

# run_phase NAME SCRIPT: runs one session script, repeating crashes. The
# session folder is restored before each repeat from what the phase started
# with, so a crash cannot leave half a session behind.
run_phase() {
  local name=$1 script=$2 status=0 log=
  local session="$work/session" start="$work/session.before-$name"
  rm -rf "$start"
  [ -d "$session" ] && cp -a "$session" "$start"
  for ((attempt = 1; attempt <= attempts; attempt++)); do
    rm -rf "$session"
    [ -d "$start" ] && cp -a "$start" "$session"
    rm -f "$work/exports/$name.wav"
    local t0=$SECONDS
    log="$work/$name.$attempt.log"
    timeout 600 "$lua" "$scripts/$script" "$scripts" "$session" "$work/exports" </dev/null >"$log" 2>&1
    status=$?
    grep -E '^(exported|Ext Sidechain)|Error|assert' "$log" | sed "s/^/  [$name] /"
    echo "ardour-sidechain: $name attempt $attempt: exit status $status after $((SECONDS - t0)) s"
    if [ "$status" -lt 128 ]; then
      break
    fi
  done
  if [ "$status" -ne 0 ]; then
    echo "ardour-sidechain: the $name phase failed (exit status $status); its log:" >&2
    tail -n 30 "$log" >&2
    # What the saved session holds, for a failure after reopening.
    if [ -d "$start" ]; then
      echo "ardour-sidechain: the session it started from stores:" >&2
      grep -ho 'Controllable name="Ext Sidechain"[^>]*' "$start"/*.ardour >&2 || true
    fi
    echo "ardour-sidechain: the session and logs stay in $work" >&2
    return 1
  fi
}

run_phase live sidechain-live.lua || exit 1
run_phase reopened sidechain-reopen.lua || exit 1
echo "ardour-sidechain: comparing the exports"
"$lua" "$scripts/compare-exports.lua" "$work/exports" </dev/null 2>&1 | grep -v '^\[' 
exit "${PIPESTATUS[0]}"
