#!/usr/bin/env bash
# Builds the release artefacts into dist/ and lists their checksums in dist/SHA256SUMS:
#   Portmaven-<version>-win64.zip      the portable Windows program: Portmaven.exe, README.txt,
#                                      LICENSE.txt
#   Portmaven-<version>-setup.exe      the per-user Windows installer
#   portmaven_<version>_amd64.deb      the Linux program's Debian package
# Each kind of artefact is one function below that builds in a release tree of its own and
# copies its files into dist/; another kind is one more function and one more line in the list.
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

# CPack's DEB generator (cmake/DebianPackage.cmake), dependencies from dpkg-shlibdeps; a
# package lintian finds errors in is not released.
debian_package() {
    local tree=build/package-deb
    cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DPORTMAVEN_WITH_WINDOWS=OFF -DPORTMAVEN_WITH_FUZZ=OFF >/dev/null
    cmake --build "$tree" --target portmaven
    rm -f "$tree"/deb/portmaven_*.deb
    (cd "$tree" && cpack -G DEB >/dev/null)
    local deb
    deb=$(find "$tree/deb" -maxdepth 1 -name 'portmaven_*_amd64.deb')
    lintian --fail-on error "$deb"
    cp "$deb" "$dist/"
}

builders=(windows_artefacts debian_package)

rm -rf "$dist"
mkdir -p "$dist"
for build in "${builders[@]}"; do
    "$build"
done
(cd "$dist" && find . -maxdepth 1 -type f ! -name SHA256SUMS -printf '%f\n' | sort |
    xargs sha256sum >SHA256SUMS)
echo "Artefacts in $dist:"
ls -l "$dist"
