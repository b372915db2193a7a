#!/usr/bin/env bash
# Builds Portmaven and runs it.
#   scripts/run.sh            the native Linux tray program (portmaven). With a display
#                             (DISPLAY set) its icon appears in that desktop's tray. Without
#                             one it runs on a virtual display (Xvfb, trayer as the tray) with
#                             mocked serial ports (umockdev), opens the tray menu, saves a
#                             screenshot cropped to the menu and prints where it is.
#   scripts/run.sh --windows  Portmaven.exe under Wine, as before (a screenshot without a
#                             display as well).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--windows" ]; then
    shift
    scripts/setup.sh --run
    cmake --preset default >/dev/null
    cmake --build --preset default
    exec build/windows/run-portmaven.sh "$@"
fi

scripts/setup.sh --run
cmake --preset native >/dev/null
cmake --build --preset native --target portmaven
portmaven=build/native-only/bin/portmaven
if [ -n "${DISPLAY:-}" ]; then
    exec "$portmaven" "$@"
fi
exec python3 scripts/linux_tray_demo.py "$portmaven" docs/linux-tray-menu.png
