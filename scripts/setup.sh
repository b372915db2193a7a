#!/usr/bin/env bash
# Installs what building and testing Portmaven needs from Debian's packages. Quiet and quick
# when everything is already there.
#   scripts/setup.sh          build and test dependencies
#   scripts/setup.sh --run    also what scripts/run.sh needs to take a screenshot
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-tidy libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev googletest
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 xvfb x11-utils xdotool
    python3 qt6-base-dev libudev-dev umockdev libumockdev-dev pkg-config
    trayer imagemagick nsis zip unzip dpkg-dev fakeroot file lintian
    libxcb1-dev dbus-daemon dbus-bin python3-dbus python3-gi weston qt6-wayland
    xfce4-panel xfwm4
)
if [ "${1:-}" = "--run" ]; then
    packages+=(imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo_cmd=(sudo)
    fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi
