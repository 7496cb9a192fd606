#!/bin/sh
# Runs a program against a private Xvfb display. Xvfb picks a display number
# no other server uses and reports it once it accepts clients; the program
# runs with DISPLAY set to it, and the server is stopped afterwards.
# Usage: [XVFB_ARGS="-extension MIT-SHM"] RunWithXvfb.sh program [arguments...]
# XVFB_ARGS adds server options (the example starts one without shared
# memory).
set -u

report=$(mktemp)
# shellcheck disable=SC2086
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset ${XVFB_ARGS:-} 3>"$report" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$report"' EXIT INT TERM

tries=0
until [ -s "$report" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 200 ] || ! kill -0 "$server" 2>/dev/null; then
    echo "RunWithXvfb: Xvfb did not start" >&2
    exit 1
  fi
  sleep 0.05
done
number=$(head -n 1 "$report")

DISPLAY=":${number}" "$@"
