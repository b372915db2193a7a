#!/bin/sh
# Stands in for the terminal a command starts: writes its arguments, one a line, and the
# folder it was started in to $PORTMAVEN_RECORDER_OUT, in one step. While the file
# $PORTMAVEN_RECORDER_HOLD exists it keeps running, as a terminal left open does.
out="${PORTMAVEN_RECORDER_OUT:?}"
{ pwd; printf '%s\n' "$@"; } > "$out.partial" && mv "$out.partial" "$out"
while [ -n "$PORTMAVEN_RECORDER_HOLD" ] && [ -e "$PORTMAVEN_RECORDER_HOLD" ]; do
    sleep 0.1
done
