#!/usr/bin/env bash
# Tarvo's editor in a real host's window: Ardour 7's GUI, on an Xvfb display
# of its own, opens a session (made headless first with ardour7-lua) that
# has Tarvo's window open. The editor must show exactly what tarvo-snapshot
# draws for the same state; a drag on the Angle knob must reach Ardour (the
# value Ardour saves changes); and Ardour must quit cleanly with the editor
# open.
#
#   tests/hosts/ardour-editor.sh BUNDLE.vst3 TARVO_SNAPSHOT WORK_DIR
#
# Needs ardour, Xvfb, xdotool, xwininfo and ImageMagick (scripts/install-deps).
set -uo pipefail

bundle=$(realpath "$1")
snapshot_tool=$(realpath "$2")
work=$(realpath -m "$3")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scripts="$here/ardour"
scanner=/usr/lib/ardour7/ardour-vst3-scanner

# Ardour itself now and then crashes, or is slow to show a window on a
# loaded machine: such a run is tried again (exit status 75 asks for that),
# a wrong result never is.
if [ -z "${TARVO_EDITOR_ATTEMPT:-}" ]; then
  for attempt in 1 2 3; do
    TARVO_EDITOR_ATTEMPT=$attempt "${BASH_SOURCE[0]}" "$@"
    status=$?
    [ "$status" = 75 ] || exit "$status"
    echo "ardour-editor: attempt $attempt failed for a reason outside Tarvo; trying again" >&2
  done
  exit 1
fi

report_failure() {
  echo "ardour-editor: $*" >&2
  # What the display showed, for a failure once Ardour runs.
  [ -n "${DISPLAY:-}" ] && import -window root "$work/screen.png" 2>/dev/null
  echo "ardour-editor: logs and pictures stay in $work" >&2
}
fail() { report_failure "$@"; exit 1; }
flake() { report_failure "$@"; exit 75; }

for tool in ardour ardour7-lua Xvfb xdotool xwininfo import compare; do
  command -v "$tool" >/dev/null || fail "$tool not found; scripts/install-deps installs it"
done
[ -x "$scanner" ] || fail "$scanner not found"
[ -f "$bundle/Contents/Resources/moduleinfo.json" ] || fail "$bundle is not a built bundle"

unset DISPLAY
rm -rf "$work"
mkdir -p "$work/home" "$work/vst3"
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
export VST3_PATH="$work/vst3"
config="$XDG_CONFIG_HOME/ardour7"
mkdir -p "$config" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
cp -a "$bundle" "$VST3_PATH/Tarvo.vst3"
LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -q -f "$VST3_PATH/Tarvo.vst3" || fail "Ardour's VST 3 scanner refused the bundle"

# Ardour's first start asks for a user set-up and an audio system: marked as
# done, with the Dummy backend (hidden unless asked for) started on its own.
touch "$config/.a7"
cat >"$config/config" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
    <Option name="try-autostart-engine" value="1"/>
  </Config>
  <Extra>
    <AudioMIDISetup>
      <EngineStates>
        <State backend="None (Dummy)" driver="Normal Speed" device="Silence" input-device="" output-device="" sample-rate="48000" buffer-size="1024" n-periods="0" input-latency="0" output-latency="0" lm-input="" lm-output="" active="1" use-buffered-io="0" midi-option="" lru="1">
          <MIDIDevices/>
        </State>
      </EngineStates>
    </AudioMIDISetup>
  </Extra>
</Ardour>
XML

# The session, with Tarvo's window marked open so that Ardour opens it.
session="$work/session"
ARDOUR_LOG="$work/session.log"
timeout 300 ardour7-lua "$scripts/editor-session.lua" "$scripts" "$session" </dev/null >"$ARDOUR_LOG" 2>&1 ||
  flake "the session could not be made; $(tail -n 5 "$ARDOUR_LOG")"
window=$(sed -n 's/^window //p' "$ARDOUR_LOG")
[ -n "$window" ] || fail "the session script named no plug-in window"
grep '^Angle is' "$ARDOUR_LOG" | sed 's/^/  [session] /'
sed -i "s|</Session>|  <Extra><UI><Window name=\"$window\" visible=\"1\" x-off=\"0\" y-off=\"0\" x-size=\"-1\" y-size=\"-1\" custom-ui=\"1\"/></UI></Extra>\n</Session>|" \
  "$session/editor.ardour"

"$snapshot_tool" --ticks 250 -o "$work/snapshot.png" || fail "tarvo-snapshot failed"
size=$(identify -format '%wx%h' "$work/snapshot.png")

# A display of our own; Xvfb reports its number once it takes clients.
report="$work/display"
Xvfb -displayfd 3 -screen 0 1400x900x24 -nolisten tcp 3>"$report" >"$work/xvfb.log" 2>&1 &
xvfb=$!
ardour_pid=
cleanup() {
  [ -n "$ardour_pid" ] && kill -KILL "$ardour_pid" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT INT TERM
for _ in $(seq 1 200); do
  [ -s "$report" ] && break
  kill -0 "$xvfb" 2>/dev/null || fail "Xvfb did not start"
  sleep 0.05
done
[ -s "$report" ] || flake "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$report")"

ARDOUR_TRY_AUTOSTART_ENGINE=1 ardour -n -a "$session/editor.ardour" </dev/null >"$work/ardour.log" 2>&1 &
ardour_pid=$!

# Ardour's main window, then the plug-in's, then the editor window in it:
# the plug-in window's descendant of the editor's size.
main=$(timeout 90 xdotool search --sync --name '^editor - Ardour$' | head -n 1)
[ -n "$main" ] || flake "Ardour's main window did not appear; $(tail -n 5 "$work/ardour.log")"
top=$(timeout 90 xdotool search --sync --name 'Tarvo.*VST3' | head -n 1)
[ -n "$top" ] || flake "Tarvo's window did not open with the session"
editor=
for _ in $(seq 1 50); do
  editor=$(xwininfo -tree -id "$top" | awk -v s="$size+0+0" 'index($0, s) { print $1; exit }')
  [ -n "$editor" ] && break
  sleep 0.2
done
[ -n "$editor" ] || fail "no $size editor window inside Tarvo's window: $(xwininfo -tree -id "$top")"
echo "ardour-editor: the editor window $editor ($size) is open"

# The picture: equal to the snapshot once the opening banner has run.
differ=unknown
for _ in $(seq 1 60); do
  import -window "$editor" "$work/editor.png" 2>/dev/null
  differ=$(compare -metric AE "$work/editor.png" "$work/snapshot.png" "$work/difference.png" 2>&1)
  [ "$differ" = 0 ] && break
  sleep 0.5
done
[ "$differ" = 0 ] || fail "the editor shows $differ pixels other than tarvo-snapshot draws (editor.png, difference.png)"
echo "ardour-editor: the editor shows tarvo-snapshot's picture, pixel for pixel"

# A drag on the Angle knob (its centre at 241, 95), upwards in small steps.
read -r ex ey < <(xwininfo -id "$editor" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')
xdotool mousemove $((ex + 241)) $((ey + 95))
sleep 0.2
xdotool mousedown 1
for _ in $(seq 1 15); do
  xdotool mousemove_relative -- 0 -4
  sleep 0.03
done
xdotool mouseup 1
sleep 0.5
import -window "$editor" "$work/dragged.png" 2>/dev/null
moved=$(compare -metric AE "$work/dragged.png" "$work/editor.png" null: 2>&1)
[ "$moved" != 0 ] || fail "the editor did not change under the drag"

# Saved by Ardour: the Angle it keeps must have moved from the opening value.
angle_of() { grep -o '<Controllable name="Angle"[^>]*value="[^"]*"' "$session/editor.ardour" | sed 's/.*value="//; s/"$//'; }
before=$(angle_of)
xdotool mousemove 10 10
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s
after=$before
for _ in $(seq 1 50); do
  after=$(angle_of)
  [ "$after" != "$before" ] && break
  sleep 0.2
done
echo "ardour-editor: Ardour's Angle was $before, after the drag $after"
[ "$after" != "$before" ] || fail "Ardour's Angle did not follow the drag"

# Quitting with the editor open ends Ardour cleanly.
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+q
status=timeout
for _ in $(seq 1 150); do
  if ! kill -0 "$ardour_pid" 2>/dev/null; then
    wait "$ardour_pid"
    status=$?
    ardour_pid=
    break
  fi
  sleep 0.2
done
[ "$status" != timeout ] && [ "$status" -ge 128 ] && flake "Ardour crashed on quitting (status $status); $(tail -n 5 "$work/ardour.log")"
[ "$status" = 0 ] || fail "Ardour did not quit cleanly (status $status); $(tail -n 5 "$work/ardour.log")"
echo "ardour-editor: Ardour quit with the editor open (status 0)"
