#!/usr/bin/env bash
# Installs what is missing, builds Orvo and runs its main program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh --target orvo-sampledb
exec "${ORVO_BUILD_DIR:-build}/tools/sampledb/orvo-sampledb" "$@"
