#!/usr/bin/env bash
# Installs what is missing, builds Orvo and runs its first demo program. On first start
# the demo makes the sample database in the user's data folder.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh --target OrvoDemo1
exec "${ORVO_BUILD_DIR:-build}/demo1/OrvoDemo1" "$@"
