#!/usr/bin/env bash
# Installs what Orvo needs to build, test and run on Debian 12, and nothing
# when it is all there already (so the two top-level commands stay idempotent).
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config ccache lld
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
    libsqlite3-dev sqlite3
    xvfb xauth fonts-dejavu-core clang-format
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
