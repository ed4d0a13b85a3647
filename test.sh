#!/usr/bin/env bash
# Installs what is missing, builds Orvo and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${ORVO_BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)"
