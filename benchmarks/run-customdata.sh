#!/usr/bin/env bash
# Measures the dataset over an indexed source against a plain vector and QStandardItemModel
# and writes its section of docs/performance.md. It needs no database.
#   ORVO_BUILD_DIR (default build), ORVO_BENCH_ROWS (1000000), ORVO_BENCH_MODEL_ROWS (100000)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${ORVO_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${ORVO_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build_dir" --parallel 2 --target bench_customdata
"$build_dir/benchmarks/bench_customdata" --rows "${ORVO_BENCH_ROWS:-1000000}" \
    --model-rows "${ORVO_BENCH_MODEL_ROWS:-100000}" --report docs/performance.md
