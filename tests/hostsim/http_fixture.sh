#!/bin/sh
# Starts or stops the local HTTP server of the download tests.
# Usage: http_fixture.sh start FOLDER STATE_DIR | http_fixture.sh stop STATE_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
case "$1" in
  start)
    mkdir -p "$3"
    rm -f "$3/port" "$3/pid"
    python3 "$here/serve.py" "$2" "$3/port" "$3/pid" </dev/null >/dev/null 2>&1 &
    for _ in $(seq 50); do
      [ -s "$3/port" ] && exit 0
      sleep 0.1
    done
    echo "the HTTP server did not start" >&2
    exit 1 ;;
  stop)
    [ -s "$2/pid" ] && kill "$(cat "$2/pid")" 2>/dev/null || true
    rm -f "$2/pid" "$2/port" ;;
esac
