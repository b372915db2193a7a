#!/usr/bin/env bash
# Builds the release artefacts into dist/ and lists their checksums in dist/SHA256SUMS:
#   Portmaven-<version>-win64.zip      the portable Windows program: Portmaven.exe, README.txt,
#                                      LICENSE.txt
#   Portmaven-<version>-setup.exe      the per-user Windows installer
#   portmaven_<version>_amd64.deb      the Linux program's Debian package
# Each kind of artefact is one workflow preset in CMakePresets.json (configure, build and, for
# the .deb, CPack in a release tree of its own) and one function below that runs it and copies
# its files into dist/; another kind is one more of each and one more line in the list.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

dist="$PWD/dist"

# The Windows tree builds its artefacts with every build (cmake/Packaging.cmake).
windows_artefacts() {
    local tree=build/package-windows
    cmake --workflow --preset package-windows
    cp "$tree"/dist/Portmaven-*-win64.zip "$tree"/dist/Portmaven-*-setup.exe "$dist/"
}

# CPack's DEB generator (cmake/DebianPackage.cmake), dependencies from dpkg-shlibdeps; a
# package lintian finds errors in is not released.
debian_package() {
    local tree=build/package-deb
    rm -f "$tree"/deb/portmaven_*.deb
    cmake --workflow --preset package-deb
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
