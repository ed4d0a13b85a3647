#!/usr/bin/env bash
# Measures a title click that sorts the million-row table, against SQLite's own ORDER BY and
# QTableView over a sorting proxy, and writes its section of docs/performance.md.
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
prepare_benchmark bench_order
QT_QPA_PLATFORM=offscreen "$build_dir/benchmarks/bench_order" --db "$db" --repeats "$repeats" \
    --report docs/performance.md
