#!/usr/bin/env bash
# Installs the Debian packages the build needs (when any is missing), then
# configures and builds everything into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake g++ ninja-build
    qt6-base-dev qt6-svg-dev
    libgtest-dev libbenchmark-dev nlohmann-json3-dev
    fonts-liberation fonts-urw-base35 fonts-dejavu-core
    emf2svg libemf2svg-dev libuemf-dev
    xvfb xauth xdotool imagemagick poppler-utils
    clang libclang-rt-14-dev
    desktop-file-utils appstream shared-mime-info dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
