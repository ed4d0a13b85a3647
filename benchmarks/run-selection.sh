#!/usr/bin/env bash
# Measures selecting all rows of the million-row table and copying a large selection, and
# writes its section of docs/performance.md.
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
prepare_benchmark bench_selection
QT_QPA_PLATFORM=offscreen "$build_dir/benchmarks/bench_selection" --db "$db" --repeats "$repeats" \
    --report docs/performance.md
