#!/usr/bin/env bash
# Installs what Tabulet needs to build and, with --test, to run every test.
# Quick when everything is already there: it only asks dpkg what is missing.
set -euo pipefail

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-qpa-plugins libxkbcommon-dev
    fonts-liberation fonts-dejavu-core)
test_packages=(xvfb xauth xdotool x11-utils poppler-utils imagemagick
    clang libclang-rt-14-dev appstream desktop-file-utils
    shared-mime-info dpkg-dev file openbox dbus-daemon at-spi2-core python3-pyatspi
    socat ckermit gkermit lrzsz)

wanted=("${build_packages[@]}")
if [[ "${1:-}" == "--test" ]]; then
    wanted+=("${test_packages[@]}")
fi

if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "setup: this script installs packages with apt-get (Debian 12 or Ubuntu)." >&2
    echo "setup: on other systems install CMake, Ninja, a C++20 compiler and Qt 6 by hand." >&2
    exit 1
fi

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null 2>&1 || { echo "setup: need root or sudo to install packages" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
