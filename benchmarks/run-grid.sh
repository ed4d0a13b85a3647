#!/usr/bin/env bash
# Measures the grid against QTableView over the million-row table and writes its
# section of docs/performance.md.
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
prepare_benchmark bench_grid
QT_QPA_PLATFORM=offscreen "$build_dir/benchmarks/bench_grid" --db "$db" --repeats "$repeats" \
    --report docs/performance.md
