#!/usr/bin/env bash
# Runs clang-tidy over the project's sources: the portable core against the native build tree,
# the Win32 layer against the Windows tree (clang told about the mingw target and headers).
# Build first (scripts/test.sh or cmake --build --preset default).
set -euo pipefail
cd "$(dirname "$0")/.."
gcc_dir=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
mingw_args=(
    --extra-arg=--target=x86_64-w64-mingw32
    "--extra-arg=-isystem$gcc_dir/include/c++"
    "--extra-arg=-isystem$gcc_dir/include/c++/x86_64-w64-mingw32"
    --extra-arg=-isystem/usr/x86_64-w64-mingw32/include
)
mapfile -t portable < <(git ls-files 'src/*.cpp' | grep -v '/win/')
mapfile -t win32 < <(git ls-files 'src/*.cpp' | grep '/win/')
status=0
clang-tidy --quiet -p build "${portable[@]}" 2>/dev/null | grep -E -A3 'warning:|error:' || true
clang-tidy --quiet -p build/windows "${mingw_args[@]}" "${win32[@]}" 2>/dev/null |
    grep -E -A3 'warning:|error:' || true
exit $status
