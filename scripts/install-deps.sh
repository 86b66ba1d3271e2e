#!/usr/bin/env bash
# Installs the Debian packages Ostrel needs to build, test and run, when any
# are missing. Idempotent and non-interactive; does nothing when all are there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    clang libclang-rt-14-dev
    googletest libgtest-dev libbenchmark-dev
    qtbase5-dev qtbase5-dev-tools
    libasound2-dev libjack-jackd2-dev jackd2
    qemu-system-x86 linux-image-amd64 busybox-static cpio
    xvfb xdotool fonts-dejavu-core x11vnc iproute2 python3
    desktop-file-utils libxml2-utils shared-mime-info man-db appstream dpkg-dev
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "== Dependencies: all ${#packages[@]} packages present"
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "== Dependencies: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
