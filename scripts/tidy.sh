#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the project's sources and fails on any finding: the
# portable code against a native build tree, the Win32 code against a Windows build tree (clang
# told about the mingw target and headers). ctest runs it as lint.tidy after the build.
#   scripts/tidy.sh --native BUILD_DIR [--windows BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
native=""
windows=""
while [ $# -gt 0 ]; do
    case "$1" in
    --native) native="$2"; shift 2 ;;
    --windows) windows="$2"; shift 2 ;;
    *) echo "usage: $0 --native BUILD_DIR [--windows BUILD_DIR]" >&2; exit 2 ;;
    esac
done
[ -n "$native" ] || { echo "usage: $0 --native BUILD_DIR [--windows BUILD_DIR]" >&2; exit 2; }

# Findings are errors, so that clang-tidy's exit status says whether there were any.
tidy=(clang-tidy --quiet --warnings-as-errors='*')
# clang-tidy counts what it suppresses in system headers; only findings are worth reading.
quiet() { grep -v '^[0-9]* warnings\? generated\.$' || true; }
status=0
mapfile -t portable < <(git ls-files 'src/*.cpp' | grep -Ev '/(win|linux)/')
"${tidy[@]}" -p "$native" "${portable[@]}" 2>&1 | quiet || status=1

if [ -n "$windows" ]; then
    gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
    mapfile -t win32 < <(git ls-files 'src/*.cpp' | grep '/win/')
    "${tidy[@]}" -p "$windows" --extra-arg=--target=x86_64-w64-mingw32 \
        "--extra-arg=-isystem$gcc_dir/include/c++" \
        "--extra-arg=-isystem$gcc_dir/include/c++/x86_64-w64-mingw32" \
        --extra-arg=-isystem/usr/x86_64-w64-mingw32/include "${win32[@]}" 2>&1 | quiet || status=1
fi
exit $status
