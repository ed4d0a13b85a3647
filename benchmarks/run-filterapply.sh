#!/usr/bin/env bash
# Measures a checked value list applied to the grid over the million-row table against
# SQLite's own count of the same rows, and writes its section of docs/performance.md.
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
prepare_benchmark bench_filterapply
QT_QPA_PLATFORM=offscreen "$build_dir/benchmarks/bench_filterapply" --db "$db" --repeats "$repeats" \
    --report docs/performance.md
