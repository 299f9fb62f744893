#!/usr/bin/env bash
# Installs what building, running and testing Scopella need on Debian or
# Ubuntu: the MinGW-w64 cross compilers, Wine, a virtual X display and the
# tools the tests drive it with (a window manager and a compositor among
# them), and what installing and packaging use. Packages already present are
# left alone.
set -euo pipefail

packages=(
    cmake ninja-build make python3 python3-xlib
    mingw-w64 googletest
    wine wine64
    xvfb xdotool xclip x11-utils x11-xserver-utils imagemagick
    openbox xcompmgr desktop-file-utils nsis zip unzip
)
# The X server with two monitors of the two-monitor tests, without what it
# recommends (a login manager and 3D drivers it does not use there).
lean=(xserver-xorg-core xserver-xorg-video-dummy)

absent() {
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}
mapfile -t missing < <(absent "${packages[@]}")
mapfile -t missing_lean < <(absent "${lean[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing_lean[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]} ${missing_lean[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]} ${missing_lean[*]}" >&2; exit 1; }
    sudo=sudo
fi
$sudo apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
if [ ${#missing_lean[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing_lean[@]}"
fi
