#!/usr/bin/env bash
# Builds the Linux program's Debian package, portmaven_<version>_amd64.deb, in a release tree
# of its own, checks it with lintian, copies it into dist/ and puts its line into
# dist/SHA256SUMS (in place of an older line for the same file). The release script runs it
# beside the Windows artefacts; it also runs alone:
#   scripts/package-deb.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

tree=build/package-deb
dist="$PWD/dist"

cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPORTMAVEN_WITH_WINDOWS=OFF -DPORTMAVEN_WITH_FUZZ=OFF >/dev/null
cmake --build "$tree" --target portmaven
rm -f "$tree"/deb/portmaven_*.deb
(cd "$tree" && cpack -G DEB >/dev/null)
deb=$(find "$tree/deb" -maxdepth 1 -name 'portmaven_*_amd64.deb')
name=$(basename "$deb")
lintian --fail-on error "$deb"

mkdir -p "$dist"
cp "$deb" "$dist/"
cd "$dist"
{
    if [ -f SHA256SUMS ]; then
        grep -v "  $name\$" SHA256SUMS || true
    fi
    sha256sum "$name"
} | sort -k 2 >SHA256SUMS.new
mv SHA256SUMS.new SHA256SUMS
echo "Debian package: $dist/$name"
