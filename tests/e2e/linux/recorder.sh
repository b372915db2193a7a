#!/bin/sh
# Stands in for the terminal a command starts: writes its arguments, one a line, and the
# folder it was started in to $PORTMAVEN_RECORDER_OUT, in one step.
out="${PORTMAVEN_RECORDER_OUT:?}"
{ pwd; printf '%s\n' "$@"; } > "$out.partial" && mv "$out.partial" "$out"
