#!/usr/bin/env bash
# Builds the release artefacts into dist/ and lists their checksums in dist/SHA256SUMS:
#   Portmaven-<version>-win64.zip   the portable program: Portmaven.exe, README.txt, LICENSE.txt
#   Portmaven-<version>-setup.exe   the per-user installer
# Each kind of artefact is one function below that builds in its own tree and copies its
# files into dist/; another kind is one more function and one more line in the list.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

dist="$PWD/dist"

# The Windows tree builds its artefacts with every build (cmake/Packaging.cmake).
windows_artefacts() {
    local tree=build/package-windows
    cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw64.cmake" >/dev/null
    cmake --build "$tree" --target portmaven_artefacts
    cp "$tree"/dist/Portmaven-*-win64.zip "$tree"/dist/Portmaven-*-setup.exe "$dist/"
}

builders=(windows_artefacts)

rm -rf "$dist"
mkdir -p "$dist"
for build in "${builders[@]}"; do
    "$build"
done
(cd "$dist" && find . -maxdepth 1 -type f ! -name SHA256SUMS -printf '%f\n' | sort |
    xargs sha256sum >SHA256SUMS)
echo "Artefacts in $dist:"
ls -l "$dist"
