#!/usr/bin/env bash
# Measures a column's distinct values for the auto-filter list over the million-row table
# against SQLite's own SELECT DISTINCT, and writes its section of docs/performance.md.
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
prepare_benchmark bench_filtervalues
QT_QPA_PLATFORM=offscreen "$build_dir/benchmarks/bench_filtervalues" --db "$db" --repeats "$repeats" \
    --report docs/performance.md
