#!/usr/bin/env bash
# Measures the grid's totals over the million-row table against SQLite's own aggregate
# statement, and writes its section of docs/performance.md.
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
prepare_benchmark bench_totals
QT_QPA_PLATFORM=offscreen "$build_dir/benchmarks/bench_totals" --db "$db" --repeats "$repeats" \
    --report docs/performance.md
