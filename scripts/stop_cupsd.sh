#!/usr/bin/env bash
# Stops the private CUPS scheduler that scripts/start_cupsd.sh started in FOLDER.
# Usage: scripts/stop_cupsd.sh FOLDER
set -euo pipefail
DIR="${1:?usage: stop_cupsd.sh FOLDER}"
PID_FILE="$DIR/cupsd.pid"
[[ -f "$PID_FILE" ]] || exit 0
PID="$(cat "$PID_FILE")"
if kill -0 "$PID" 2>/dev/null; then
  kill "$PID"
  for _ in $(seq 1 50); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$PID" 2>/dev/null && kill -9 "$PID"
fi
rm -f "$PID_FILE" "$DIR/cups.sock"
