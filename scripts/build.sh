#!/usr/bin/env bash
# Configures and builds Orvo into build/ (or $ORVO_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${ORVO_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${ORVO_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" "$@"
