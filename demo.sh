#!/usr/bin/env bash
# Installs what is missing, builds Orvo's first demo program and the sample database
# tool, and runs the demo. On first start the demo makes the sample database in the
# user's data folder; the tool lists it, or makes it anew with --reset.
set -euo pipefail
cd "$(dirname "$0")"
build_dir=${ORVO_BUILD_DIR:-build}
scripts/install-deps.sh
scripts/build.sh --target OrvoDemo1 orvo-sampledb
echo "Sample database tool: $build_dir/tools/sampledb/orvo-sampledb (--reset makes the sample database anew)"
exec "$build_dir/demo1/OrvoDemo1" "$@"
