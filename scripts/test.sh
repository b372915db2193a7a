#!/usr/bin/env bash
# Builds everything (native core, Windows cross build, fuzzers) and runs every test from one
# ctest invocation: native unit tests, Win32 tests and end-to-end tests under Wine, and a
# bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default -j "$(nproc)" "$@"
