#!/usr/bin/env bash
# Installs the missing Debian packages, then configures and builds with the given preset.
# Usage: scripts/setup.sh <preset>
set -euo pipefail
preset="${1:-default}"
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-multimedia-dev libqt6opengl6-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    libcairo2-dev libpixman-1-dev libpng-dev libjpeg-dev zlib1g-dev libmp3lame-dev
    nlohmann-json3-dev libgtest-dev
    xvfb xauth fonts-dejavu-core poppler-utils
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing missing packages: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo -n"; fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
