#!/usr/bin/env bash
# Builds Portmaven.exe and runs it under Wine.
# With a display (DISPLAY set) the tray icon appears on it. Without one, Portmaven runs on a
# virtual display with a few simulated serial ports, its tray menu is opened, and a screenshot
# is saved; the script prints where.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --run
cmake --preset default >/dev/null
cmake --build --preset default
exec build/windows/run-portmaven.sh "$@"
